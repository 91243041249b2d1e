"""Splits every image of the corpus into each layout, hands the parts to identify in a
shuffled order, and writes the table of outcomes: decided right, undetermined, or wrong.

    python3 evaluate.py PROGRAM [DIR [right|wrong]] > results.md

DIR holds other images, named after the --cpu of their code (make_evaluation.sh); given
"right", identify is told that CPU, given "wrong" another one.
"""
import os
import subprocess
import sys
import tempfile

program = sys.argv[1:2]
here = sys.argv[2] if len(sys.argv) > 2 else os.path.dirname(os.path.abspath(__file__))
hint = sys.argv[3] if len(sys.argv) > 3 else ""

# name, parts, width, swap, shuffle: shuffle[k] is the original lane handed over as part k.
KINDS = [
    ("2 bytes", 2, 1, False, [1, 0]),
    ("4 bytes", 4, 1, False, [2, 0, 3, 1]),
    ("2 words", 2, 2, False, [1, 0]),
    ("2 words swapped", 2, 2, True, [0, 1]),
    ("4 words", 4, 2, False, [3, 1, 0, 2]),
    ("4 words swapped", 4, 2, True, [1, 3, 2, 0]),
]


def split(image, parts, width, swap):
    lanes = [bytearray() for _ in range(parts)]
    for unit in range(len(image) // width):
        lanes[unit % parts] += image[unit * width:(unit + 1) * width]
    if swap:
        for lane in lanes:
            lane[0::2], lane[1::2] = lane[1::2], lane[0::2]
    return lanes


def merge(command, files):
    words = command.split()
    width = 2 if "--width" in words else 1
    swap = "--swap" in words
    paths = words[words.index("IMAGE") + 1:]
    lanes = [bytearray(files[p]) for p in paths]
    if swap:
        for lane in lanes:
            lane[0::2], lane[1::2] = lane[1::2], lane[0::2]
    image = bytearray()
    for unit in range(len(lanes[0]) // width):
        for lane in lanes:
            image += lane[unit * width:(unit + 1) * width]
    return bytes(image)


def outcome(image, kind, folder, cpu):
    name, parts, width, swap, shuffle = kind
    lanes = split(image, parts, width, swap)
    files = {}
    paths = []
    for k in range(parts):
        path = os.path.join(folder, f"u{k + 1}.bin")
        files[path] = bytes(lanes[shuffle[k]])
        with open(path, "wb") as f:
            f.write(files[path])
        paths.append(path)
    cpu = {"right": cpu, "wrong": "mips" if cpu == "68000" else "68000"}.get(hint)
    run = subprocess.run(program + ["identify"] + ["--cpu", cpu] * bool(cpu) + paths,
                         capture_output=True, text=True)
    first = run.stdout.splitlines()[0] if run.stdout else ""
    if run.returncode == 3:
        return "undetermined", run.stdout
    if run.returncode != 0:
        return f"error {run.returncode}: {run.stderr.strip()}", run.stdout
    decider = [l for l in run.stdout.splitlines() if "decided by" in l]
    by = decider[0].split("decided by ")[1].split(";")[0] if decider else "?"
    if merge(first, files) == image:
        return "right (" + by + ")", run.stdout
    return "WRONG (" + by + ")", run.stdout


def main():
    images = sorted(f for f in os.listdir(here) if f.endswith(".bin"))
    print("| image | bytes | " + " | ".join(k[0] for k in KINDS) + " |")
    print("|---|---|" + "---|" * len(KINDS))
    totals = {}
    with tempfile.TemporaryDirectory() as folder:
        for name in images:
            image = open(os.path.join(here, name), "rb").read()
            cells = []
            for kind in KINDS:
                result, _ = outcome(image, kind, folder, name.split(".")[0])
                cells.append(result)
                key = result.split(" ")[0]
                totals[key] = totals.get(key, 0) + 1
            print(f"| {name} | {len(image)} | " + " | ".join(cells) + " |")
    print()
    print("Totals: " + ", ".join(f"{k} {v}" for k, v in sorted(totals.items())))


main()
