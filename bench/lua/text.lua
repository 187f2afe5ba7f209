-- Appending to a text and to the question in a loop (as scripts/text.txt).
local function run()
  local t = ""
  local question = ""
  for k = 1, 2000 do
    t = t .. "x"
    question = question .. k .. " "
  end
  return question .. "\r\n" .. t
end

for _ = 1, tonumber(arg[1]) or 1 do
  print(run())
end
