#!/usr/bin/env python3
"""Fills a folder with empty command files named like the benchmark's own (fast, outside Wine).
Usage: make_texts.py <folder> [count]"""
import os
import random
import sys

PARTS = ["calc", "Calendar", "memo", "Mail", "web", "Search", "note", "メモ", "計算", "ブラウザ", "drive", "Photo",
         "ｆｕｌｌ", "x"]

def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(12345)
    for i in range(count):
        name = rng.choice(PARTS)
        if rng.random() < 0.5:
            name += rng.choice(["-", "-", " "]) + rng.choice(PARTS)
        open(os.path.join(folder, f"{name}{i}.txt"), "wb").close()

if __name__ == "__main__":
    main()
