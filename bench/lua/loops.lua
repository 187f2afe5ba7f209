-- Nested counting loops around an addition and a remainder (as scripts/loops.txt).
local function run()
  local s, m = 0, 0
  for i = 1, 500 do
    for j = 1, 1000 do
      s = i + j
      m = s % 7
    end
  end
  return s .. " " .. m
end

for _ = 1, tonumber(arg[1]) or 1 do
  print(run())
end
