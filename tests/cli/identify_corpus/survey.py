"""Surveys identify on files found on this machine, beyond the corpus: the start of each
file listed on stdin is split by kestrum-cli into the six layouts of evaluate.py, handed to
identify in a shuffled order, and the printed merge run; each outcome is right (the image
rebuilt byte for byte), undetermined, or WRONG. Prints one line per file and the totals.

    find /usr/lib /usr/share -type f -size +16k | shuf -n 1000 |
        python3 survey.py PROGRAM [BYTES] > survey.txt
"""
import os
import random
import shlex
import subprocess
import sys
import tempfile

program = sys.argv[1]
size = int(sys.argv[2], 0) if len(sys.argv) > 2 else 0x10000
KINDS = [("2 bytes", 2, []), ("4 bytes", 4, []), ("2 words", 2, ["--width", "2"]),
         ("2 words swapped", 2, ["--width", "2", "--swap"]), ("4 words", 4, ["--width", "2"]),
         ("4 words swapped", 4, ["--width", "2", "--swap"])]
shuffle = random.Random(1)
totals = {}
with tempfile.TemporaryDirectory() as work:
    source, rebuilt = os.path.join(work, "image.bin"), os.path.join(work, "rebuilt.bin")
    for path in sys.stdin.read().split("\n"):
        try:
            with open(path, "rb") as file:
                image = file.read(size)
        except OSError:
            continue
        if len(image) < size:
            continue
        with open(source, "wb") as file:
            file.write(image)
        outcomes = []
        for name, count, options in KINDS:
            parts = [os.path.join(work, f"u{k + 1}.bin") for k in range(count)]
            subprocess.run([program, "split", *options, source, *parts], check=True)
            shuffle.shuffle(parts)
            run = subprocess.run([program, "identify", *parts], capture_output=True, text=True)
            if run.returncode == 3:
                outcome = "undetermined"
            else:
                merge = shlex.split(run.stdout.split("\n")[0])[1:]
                merge = [rebuilt if word == "IMAGE" else word for word in merge]
                right = subprocess.run([program, *merge], capture_output=True).returncode == 0
                if right:
                    with open(rebuilt, "rb") as file:
                        right = file.read()[:len(image)] == image
                outcome = "right" if right else "WRONG: " + run.stdout.split("\n")[0]
            outcomes.append(outcome)
            kind = outcome.split(":")[0]
            totals[kind] = totals.get(kind, 0) + 1
        print(path + ": " + ", ".join(f"{k[0]} {o}" for k, o in zip(KINDS, outcomes)), flush=True)
print("Totals: " + ", ".join(f"{k} {v}" for k, v in sorted(totals.items())))
