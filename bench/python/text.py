# Appending to a text and to the question in a loop (as scripts/text.txt).
import sys


def run():
    t = ""
    question = ""
    for k in range(1, 2001):
        t = t + "x"
        question += f"{k} "
    question += "\r\n" + t
    return question


for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
    print(run())
