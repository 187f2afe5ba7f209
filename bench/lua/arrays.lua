-- Filling a 1001-element array by index, then summing it in a while loop
-- (as scripts/arrays.txt).
local function run()
  local a = {}
  for i = 0, 1000 do
    a[i] = 0
  end
  for i = 0, 999 do
    a[i] = i * 2
  end
  local s = 0
  local i = 0
  while i <= 999 do
    s = a[i] + s
    s = s % 997
    i = i + 1
  end
  return tostring(s)
end

for _ = 1, tonumber(arg[1]) or 1 do
  print(run())
end
