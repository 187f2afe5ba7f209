# Filling a 1001-element array by index, then summing it in a while loop
# (as scripts/arrays.txt).
import sys


def run():
    a = [0] * 1001
    for i in range(0, 1000):
        a[i] = i * 2
    s = 0
    i = 0
    while i <= 999:
        s = a[i] + s
        s = s % 997
        i = i + 1
    return str(s)


for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
    print(run())
