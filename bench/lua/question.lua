-- A typical question: two draws, a sum, a branch, the texts and the answers
-- (as scripts/question.txt).
local function run()
  local title = "Sums of two numbers"
  local category = "Addition"
  local description = "Adds two two-digit numbers."
  local a = math.floor(math.random() * 89 + 10 + 0.5)
  local b = math.floor(math.random() * 89 + 10 + 0.5)
  local c = a + b
  local d = c % 10
  local question
  if c >= 100 then
    question = "Carry over a hundred.\r\n"
  else
    question = "No carry.\r\n"
  end
  local q = a .. " + " .. b
  question = question .. q .. " = ?"
  if d == 0 then
    question = question .. "\r\n(ends in 0)"
  end
  local answer = c .. "_" .. c .. ".0"
  return title, category, description, question, answer
end

for _ = 1, tonumber(arg[1]) or 1 do
  print((select(4, run())))
end
