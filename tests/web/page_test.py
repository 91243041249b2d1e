#!/usr/bin/python3
"""kestrum.html in headless Chromium, driven over the DevTools protocol as a user drives it:
files put into its inputs, real mouse clicks, and the downloads the browser saves compared
byte for byte with what kestrum-cli writes for the same input, or the page's refusal with
the program's. Chromium and python3-websocket are installed with the rest, so a machine
without them fails: the page is never reported as tested where it was not.

usage: page_test.py kestrum.html kestrum-cli"""
import io
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
try:
    from devtools import CHROMIUM, Browser
except ImportError:
    sys.exit("python3-websocket is not installed (use /usr/bin/python3)")
if not CHROMIUM:
    sys.exit("chromium is not installed")
PAGE, CLI = (os.path.abspath(path) for path in sys.argv[1:3])
CORPUS = os.path.join(os.path.dirname(__file__), "..", "cli", "identify_corpus")

# Each case: the files given, the page's control settings, the button clicked (None: the
# parts' own identify), the outputs as the page names them, and the kestrum-cli command for
# the same, OUT standing for the outputs. Merges give the parts out of order, for the page's
# identify to set.
CASES = [
    (["game.bin"], {"count": "2"}, "split", ["game-1.bin", "game-2.bin"], ["split", "game.bin", "OUT"]),
    (["game.bin"], {"count": "4", "width": "2", "swap": True, "fill-to": "256K", "fill": "0"}, "split",
     [f"game-{k}.bin" for k in range(1, 5)],
     ["split", "--width", "2", "--swap", "--fill-to", "256K", "--fill", "0", "game.bin", "OUT"]),
    (["chip"], {"count": "4", "width": "1", "swap": False, "fill-to": "12K", "mirror": True}, "split",
     [f"chip-{k}" for k in range(1, 5)], ["split", "--fill-to", "12K", "--mirror", "chip", "OUT"]),
    (["game.bin"], {"count": "2", "fill-to": "48K", "mirror": True}, "split",
     ["game-1.bin", "game-2.bin"], ["split", "--fill-to", "48K", "--mirror", "game.bin", "OUT"]),
    (["game.bin"], {}, "swap-bytes", ["game-swapped.bin"], ["swap", "game.bin", "OUT"]),
    (["odd.bin"], {}, "swap-bytes", ["odd-swapped.bin"], ["swap", "odd.bin", "OUT"]),
    (["u2.bin", "u1.bin"], {}, "merge", ["u1-merged.bin"],
     ["merge", "--width", "2", "--swap", "OUT", "u1.bin", "u2.bin"]),
    (["rom-3.bin", "rom-1.bin", "rom-4.bin", "rom-2.bin"], {}, "merge", ["rom.bin"],
     ["merge", "OUT", "rom-1.bin", "rom-2.bin", "rom-3.bin", "rom-4.bin"]),
    (["rom-3.bin", "rom-1.bin", "rom-4.bin"], {}, None, [], ["identify", "rom-3.bin", "rom-1.bin", "rom-4.bin"]),
    # SuperH code reads alike in both byte orders: only the board's CPU settles it.
    (["sh-2.bin", "sh-1.bin"], {"cpu": "sh"}, "merge", ["sh.bin"], ["merge", "OUT", "sh-1.bin", "sh-2.bin"]),
]


def make_inputs(folder):
    rng = random.Random(17)
    files = {"game.bin": rng.randbytes(0x8006), "chip": rng.randbytes(0x3000), "odd.bin": b"\x01\x02\x03"}
    for name, arguments in ((("u1.bin", "u2.bin"), ["--width", "2", "--swap", "mips-be.bin"]),
                            (tuple(f"rom-{k}.bin" for k in range(1, 5)), ["m68000.bin"]),
                            (("sh-1.bin", "sh-2.bin"), ["sh-be-zlib.bin"])):
        subprocess.run([CLI, "split"] + arguments[:-1] + [os.path.join(CORPUS, arguments[-1])]
                       + list(name), cwd=folder, check=True)
    for name, data in files.items():
        open(os.path.join(folder, name), "wb").write(data)


def cli_answer(folder, command, outputs):
    """What kestrum-cli writes for the command, or its refusal."""
    at = command.index("OUT") if "OUT" in command else len(command)
    result = subprocess.run([CLI] + command[:at] + outputs + command[at + 1:], cwd=folder,
                            capture_output=True, text=True)
    if result.returncode in (1, 2):
        return result.stderr.splitlines()[0].removeprefix("kestrum-cli: ").split("; try '")[0], []
    return "", [(name, open(os.path.join(folder, name), "rb").read()) for name in outputs]


def check_case(browser, inputs, downloads, case):
    files, controls, button, outputs, command = case
    image = button in ("split", "swap-bytes")
    browser.pick("image" if image else "parts", [os.path.join(inputs, name) for name in files])
    for control, value in controls.items():
        prop = "checked" if isinstance(value, bool) else "value"
        browser.run(f"(e => {{ e.{prop} = {json.dumps(value)}; e.dispatchEvent(new Event('change')); }})"
                    f"(document.getElementById('{control}'))")
        browser.idle()
    if button:
        browser.click("#" + button)
        browser.idle()
    message = browser.run("document.getElementById('message').textContent")
    saved = browser.downloads(downloads)
    problems = []
    for _, data in browser.downloads(downloads, "#zip a"):
        with zipfile.ZipFile(io.BytesIO(data)) as zipped:
            if [(name, zipped.read(name)) for name in zipped.namelist()] != saved:
                problems.append("the zip holds other files")
    expected = cli_answer(inputs, command, outputs)
    shown = [(m, [f"{n} ({len(b)} bytes, crc32 {zlib.crc32(b):08x})" for n, b in files])
             for m, files in ((message, saved), expected)]
    if (message, saved) != expected:
        problems.append(f"page gave {shown[0]}, kestrum-cli {shown[1]}")
    if button == "merge" and not browser.run("document.getElementById('identify').textContent"):
        problems.append("identify showed nothing")
    if not message and not saved:
        problems.append("neither outputs nor a refusal")
    return problems


def main():
    work = tempfile.mkdtemp(prefix="kestrum-page-")
    inputs, downloads, profile = (os.path.join(work, name) for name in ("in", "down", "profile"))
    for folder in (inputs, downloads, profile):
        os.mkdir(folder)
    make_inputs(inputs)
    browser = Browser(profile, downloads)
    failures = 0
    try:
        browser.open(PAGE)
        imports = browser.run("""WebAssembly.Module.imports(new WebAssembly.Module(Uint8Array.from(
            atob(document.getElementById('module').textContent), (c) => c.charCodeAt(0)))).length""")
        blocked = browser.run("""new Promise((done) => { document.addEventListener(
            'securitypolicyviolation', (e) => done(e.effectiveDirective)); setTimeout(done, 3000);
            fetch('http://127.0.0.1:9/').catch(() => {}); })""")
        checks = [("the module imports nothing", lambda: [] if imports == 0 else [f"{imports} imports"]),
                  ("connections are forbidden", lambda: [] if blocked == "connect-src" else [str(blocked)])]
        checks += [(" ".join(case[0]) + f" {case[2] or 'identify'} {case[1]}",
                    lambda case=case: check_case(browser, inputs, downloads, case)) for case in CASES]
        for name, check in checks:
            problems = check()
            failures += bool(problems)
            print(("FAIL " if problems else "ok   ") + name + "".join("\n     " + p for p in problems), flush=True)
        sent = [e["params"]["request"]["url"] for e in browser.events if e["method"] == "Network.requestWillBeSent"]
        left = [url for url in sent if not url.startswith(("file:", "blob:", "data:"))]
        failures += bool(left)
        print(("FAIL " if left else "ok   ") + f"no request left the page ({len(sent)} local) {left}")
    finally:
        browser.close()
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(1 if failures else 0)


main()
