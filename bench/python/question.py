# A typical question: two draws, a sum, a branch, the texts and the answers
# (as scripts/question.txt).
import random
import sys


def run():
    title = "Sums of two numbers"
    category = "Addition"
    description = "Adds two two-digit numbers."
    a = round(random.random() * 89 + 10)
    b = round(random.random() * 89 + 10)
    c = a + b
    d = c % 10
    if c >= 100:
        question = "Carry over a hundred.\r\n"
    else:
        question = "No carry.\r\n"
    q = f"{a} + {b}"
    question += f"{q} = ?"
    if d == 0:
        question += "\r\n(ends in 0)"
    answer = f"{c}_{c}.0"
    return title, category, description, question, answer


for _ in range(int(sys.argv[1]) if len(sys.argv) > 1 else 1):
    print(run()[3])
