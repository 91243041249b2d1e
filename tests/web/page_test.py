#!/usr/bin/python3
"""kestrum.html in one browser engine, opened from file:// with the engine's default settings and
driven as a user drives it: files put into its inputs, real clicks, and the files its links
offer compared byte for byte with what kestrum-cli writes for the same input, verify's
findings with what kestrum-cli verify prints, or the page's refusal with the program's.
Chromium is driven over the DevTools protocol and saves real downloads; Firefox over
WebDriver BiDi, saving real downloads too; WebKitGTK's MiniBrowser over classic WebDriver,
which saves none, so there each link's bytes are read from its Blob by the page's own script
(web/webdriver.py). The browsers are installed with the rest, so a machine without one fails:
the page is never reported as tested where it was not.

usage: page_test.py kestrum.html kestrum-cli Chromium|Firefox|WebKitGTK"""
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
    import bidi
    import devtools
    import webdriver
except ImportError:
    sys.exit("python3-websocket is not installed (use /usr/bin/python3)")
ENGINES = {"Chromium": (devtools.Browser, [devtools.CHROMIUM]),
           "Firefox": (bidi.Firefox, [bidi.FIREFOX]),
           "WebKitGTK": (webdriver.WebKit, [webdriver.DRIVER, webdriver.MINIBROWSER, webdriver.XVFB])}
PAGE, CLI = (os.path.abspath(path) for path in sys.argv[1:3])
ENGINE = sys.argv[3]
if not all(ENGINES[ENGINE][1]):
    sys.exit(f"{ENGINE} is not installed: install-deps.sh installs it")
CORPUS = os.path.join(os.path.dirname(__file__), "..", "cli", "identify_corpus")

# Each case: the files given, the page's control settings, the button clicked (None: the
# parts' own identify), the outputs as the page names them, and the kestrum-cli command for
# the same, OUT standing for the outputs. Merges give the parts out of order, for the page's
# identify to set. Verify gives the image, then the dumps. "merge at once" picks each list
# of parts without waiting and clicks Merge the moment it can be clicked: the merge must take
# the last pick alone, in the order its identify set. "narrow" lays the page out 360 px wide,
# the board's picture of the case before it included.
CASES = [
    (["game.bin"], {"count": "2"}, "split", ["game-1.bin", "game-2.bin"], ["split", "game.bin", "OUT"]),
    (["prog.s19"], {}, "split", ["prog-1.bin", "prog-2.bin"], ["split", "prog.s19", "OUT"]),
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
    ([["rom-3.bin", "rom-1.bin", "rom-4.bin", "rom-2.bin"], ["u2.bin", "u1.bin"]], {"cpu": ""},
     "merge at once", ["u1-merged.bin"], ["merge", "--width", "2", "--swap", "OUT", "u1.bin", "u2.bin"]),
    (["bios.bin", "even.bin", "odd-stuck.bin"], {"width": "1", "swap": False, "fill-to": "", "mirror": False},
     "verify", [], ["verify", "bios.bin", "even.bin", "odd-stuck.bin"]),
    (["bios.bin", "even.bin", "empty.bin"], {"width": "1", "swap": False, "fill-to": "", "mirror": False},
     "verify", [], ["verify", "bios.bin", "even.bin", "empty.bin"]),
    (["bios.bin", "w2.bin", "w1.bin", "w3-swapped.bin", "w4-flipped.bin"], {"width": "2", "fill-to": "32K", "fill": "0"},
     "verify", [], ["verify", "--width", "2", "--fill-to", "32K", "--fill", "0", "bios.bin",
                    "w2.bin", "w1.bin", "w3-swapped.bin", "w4-flipped.bin"]),
    (["bios.bin", "w1.bin", "w2.bin", "w3-swapped.bin", "w4-flipped.bin"], {"width": "2", "fill-to": "4K"},
     "verify", [], ["verify", "--width", "2", "--fill-to", "4K", "bios.bin", "w1.bin", "w2.bin",
                    "w3-swapped.bin", "w4-flipped.bin"]),
    # A board's split writes its chips by their names into a folder, DIR; the page draws them.
    (["ff.bin"], {"board": "cps1-ffight"}, "split", ["ff_36.11f", "ff_42.11h", "ff_37.12f", "ffe_43.12h", "ff-32m.8h"],
     ["split", "--board", "cps1-ffight", "ff.bin", "DIR"]),
    ([], {}, "narrow", [], None),
]

# Every element's right edge within a 360 px wide page: nothing to scroll sideways to and no
# label cut. MiniBrowser's window is no narrower than 447 px, so the page's root is made
# 360 px wide in every engine; the page has no media queries.
NARROW = """(() => {
  document.documentElement.style.width = '360px';
  const wide = Array.from(document.querySelectorAll('body *'), (e) => [e, e.getBoundingClientRect()])
    .filter(([, r]) => r.width && r.right > 360.5)
    .map(([e, r]) => `${e.localName}#${e.id} ${e.textContent.slice(0, 30)} to ${Math.round(r.right)} px`);
  document.documentElement.style.width = '';
  return wide;
})()"""


def make_inputs(folder):
    rng = random.Random(17)
    files = {"game.bin": rng.randbytes(0x8006), "chip": rng.randbytes(0x3000), "odd.bin": b"\x01\x02\x03",
             "ff.bin": rng.randbytes(0xC0001)}
    for name, arguments in ((("u1.bin", "u2.bin"), ["--width", "2", "--swap", "mips-be.bin"]),
                            (tuple(f"rom-{k}.bin" for k in range(1, 5)), ["m68000.bin"]),
                            (("sh-1.bin", "sh-2.bin"), ["sh-be-zlib.bin"]),
                            (("prog.s19", "rest.s19"), ["--format", "srec", "m68000.bin"])):
        subprocess.run([CLI, "split"] + arguments[:-1] + [os.path.join(CORPUS, arguments[-1])]
                       + list(name), cwd=folder, check=True)
    # Chips read back from a board: the image's own parts, one with data line D6 stuck at 1,
    # one in the wrong socket, one byte-swapped, one with three bytes flipped, one that read nothing.
    files["bios.bin"] = rng.randbytes(0x10000)
    image = files["bios.bin"]
    files["even.bin"], files["odd-stuck.bin"] = image[0::2], bytes(b | 0x40 for b in image[1::2])
    words = [b"".join(image[at:at + 2] for at in range(2 * k, len(image), 8)) for k in range(4)]
    filled = [w + bytes(0x8000 - len(w)) for w in words]
    files["w1.bin"], files["w2.bin"] = filled[0], filled[1]
    files["w3-swapped.bin"] = bytes(filled[2][k ^ 1] for k in range(len(filled[2])))
    files["w4-flipped.bin"] = bytes(b ^ (k in (5, 900, 7001)) for k, b in enumerate(filled[3]))
    files["empty.bin"] = b""
    for name, data in files.items():
        open(os.path.join(folder, name), "wb").write(data)


def cli_answer(folder, command, outputs):
    """What kestrum-cli writes for the command, or prints for verify, or its refusal."""
    at = command.index("OUT") if "OUT" in command else len(command)
    folders = ["." if word == "DIR" else word for word in command]   # a board's chips, by their names
    result = subprocess.run([CLI] + (folders if "DIR" in command else command[:at] + outputs + command[at + 1:]),
                            cwd=folder, capture_output=True, text=True)
    if result.returncode in (1, 2):
        return result.stderr.splitlines()[0].removeprefix("kestrum-cli: ").split("; try '")[0], \
            "" if command[0] == "verify" else []
    if command[0] == "verify":
        return "", result.stdout.rstrip("\n")
    return "", [(name, open(os.path.join(folder, name), "rb").read()) for name in outputs]


def set_controls(browser, controls):
    for control, value in controls.items():
        prop = "checked" if isinstance(value, bool) else "value"
        browser.run(f"(e => {{ e.{prop} = {json.dumps(value)}; e.dispatchEvent(new Event('change')); }})"
                    f"(document.getElementById('{control}'))")
        browser.idle()


def act(browser, inputs, files, controls, button):
    """Does what the case's user does; gives the page's message."""
    paths = lambda names: [os.path.join(inputs, name) for name in names]  # noqa: E731
    if button == "merge at once":
        set_controls(browser, controls)
        for pick in files:
            browser.pick("parts", paths(pick), wait=False)
        browser.run("""new Promise((done) => { const merge = document.getElementById('merge');
            (function wait() { if (merge.disabled) return setTimeout(wait, 1); merge.click(); done(); })(); })""")
        browser.idle()
    else:
        if button == "verify":
            browser.pick("dumps", paths(files[1:]))
        browser.pick("image" if button in ("split", "swap-bytes", "verify") else "parts", paths(files[:1] if button == "verify" else files))
        set_controls(browser, controls)
        if button:
            browser.click("#" + button)
            browser.idle()
    return browser.text("message")


def check_case(browser, inputs, downloads, case):
    files, controls, button, outputs, command = case
    if button == "narrow":
        return browser.run(NARROW)
    message = act(browser, inputs, files, controls, button)
    saved = browser.text("findings") if button == "verify" else browser.downloads(downloads)
    problems = []
    for _, data in browser.downloads(downloads, "#zip a"):
        with zipfile.ZipFile(io.BytesIO(data)) as zipped:
            if [(name, zipped.read(name)) for name in zipped.namelist()] != saved:
                problems.append("the zip holds other files")
    expected = cli_answer(inputs, command, outputs)
    shown = [(m, made if isinstance(made, str) else
              [f"{n} ({len(b)} bytes, crc32 {zlib.crc32(b):08x})" for n, b in made])
             for m, made in ((message, saved), expected)]
    if (message, saved) != expected:
        problems.append(f"page gave {shown[0]}, kestrum-cli {shown[1]}")
    if button in ("merge", "merge at once") and not browser.text("identify"):
        problems.append("identify showed nothing")
    if not message and not saved:
        problems.append("neither outputs nor a refusal")
    drawn = browser.run("[...document.querySelectorAll('#board-picture .chip-name')].map((e) => e.textContent)")
    if "board" in controls and drawn != outputs:
        problems.append(f"the board's picture shows {drawn}")
    return problems


def main():
    work = tempfile.mkdtemp(prefix="kestrum-page-")
    inputs, downloads, profile = (os.path.join(work, name) for name in ("in", "down", "profile"))
    for folder in (inputs, downloads, profile):
        os.mkdir(folder)
    make_inputs(inputs)
    browser = ENGINES[ENGINE][0](profile, downloads)
    print(f"{ENGINE} {browser.version}, {PAGE}", flush=True)
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
        checks += [(" ".join(map(str, case[0])) + f" {case[2] or 'identify'} {case[1]}",
                    lambda case=case: check_case(browser, inputs, downloads, case)) for case in CASES]
        if ENGINE == "Chromium":   # its DevTools protocol sees every request the page makes
            checks.append(("no request left the page", lambda: [
                e["params"]["request"]["url"] for e in browser.events if e["method"] == "Network.requestWillBeSent"
                and not e["params"]["request"]["url"].startswith(("file:", "blob:", "data:"))]))
        for name, check in checks:
            try:
                problems = check()
            except Exception as error:   # a case that breaks the page or its driver fails alone
                problems = [f"{type(error).__name__}: {error}"]
                browser.open(PAGE)
            failures += bool(problems)
            print(("FAIL " if problems else "ok   ") + name + "".join("\n     " + p for p in problems), flush=True)
    finally:
        browser.close()
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(1 if failures else 0)


main()
