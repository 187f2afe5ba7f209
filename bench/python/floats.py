# A sine rounded to four places, then the arithmetic of scripts/floats.txt.
import math
import sys


def run():
    pi = 3.14159265358979
    y = 0.0
    for k in range(1, 20001):
        x = round(math.sin(pi / 180 * k) * 10000) / 10000
        y = x * 1.5
        y = y + 0.25
    return f"{y:.7G}"


for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
    print(run())
