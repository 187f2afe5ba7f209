# Nested counting loops around an addition and a remainder (as scripts/loops.txt).
import sys


def run():
    s = m = 0
    for i in range(1, 501):
        for j in range(1, 1001):
            s = i + j
            m = s % 7
    return f"{s} {m}"


for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
    print(run())
