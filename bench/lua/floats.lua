-- A sine rounded to four places, then the arithmetic of scripts/floats.txt.
local function run()
  local pi = 3.14159265358979
  local y = 0.0
  for k = 1, 20000 do
    local x = math.floor(math.sin(pi / 180 * k) * 10000 + 0.5) / 10000
    y = x * 1.5
    y = y + 0.25
  end
  return string.format("%.7G", y)
end

for _ = 1, tonumber(arg[1]) or 1 do
  print(run())
end
