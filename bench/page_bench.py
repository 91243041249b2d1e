#!/usr/bin/python3
"""kestrum.html in headless Chromium: the time from the click on Split to the four parts'
links and to their checksums, for a 1 MiB and a 64 MiB image; from the click on Verify to
the findings, for four 16 MiB dumps of the 64 MiB image (three as split makes them, one with
data line D3 stuck at 0); and from picking the parts to identify's verdict, for
2 x 512 KiB and 4 x 16 MiB parts. The images are random bytes for the splits, and for
identify code from the identify corpus repeated, each repeat changed a little, as
identify_bench does. Median of 5 runs each.

usage: /usr/bin/python3 bench/page_bench.py build/web/kestrum.html"""
import os
import random
import shutil
import statistics
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "web"))
from devtools import Browser  # noqa: E402

RUNS = 5
# From the event on `source` to the first change of `result` that passes `done`, in ms, once
# the links of the run before have gone (the page clears them when the action begins).
TIMER = """new Promise((resolve) => {
  let start = 0, cleared = false;
  document.getElementById('%s').addEventListener('%s', () => { start = performance.now(); }, {once: true, capture: true});
  const result = document.getElementById('%s');
  new MutationObserver((_, observer) => {
    cleared = cleared || (start && !result.querySelector('#outputs a, #zip a'));
    if (cleared && (%s)) { observer.disconnect(); resolve(performance.now() - start); }
  }).observe(result, {childList: true, subtree: true, characterData: true});
  window.timerReady = true;
})"""


def corpus_image(size):
    code = open(os.path.join(HERE, "..", "tests", "cli", "identify_corpus", "mips-be.bin"), "rb").read()
    variants = [bytes(b ^ x for b in code) for x in range(7)]
    whole = b"".join(variants[k % 7] for k in range(size // len(code) + 1))
    return whole[:size]


def timed(browser, source, event, result, done, act):
    pending = browser.call("Runtime.evaluate", expression=TIMER % (source, event, result, done),
                           awaitPromise=False)
    promise = pending["result"]["objectId"]
    act()
    reply = browser.call("Runtime.awaitPromise", promiseObjectId=promise, returnByValue=True)
    return reply["result"]["value"]


def main():
    page = sys.argv[1]
    work = tempfile.mkdtemp(prefix="kestrum-page-bench-")
    browser = Browser(os.path.join(work, "profile"), work)
    rng = random.Random(1)
    figures = []
    try:
        browser.open(page)
        browser.run("document.getElementById('count').value = '4'")
        for size in (1 << 20, 64 << 20):
            path = os.path.join(work, f"image-{size >> 20}M.bin")
            open(path, "wb").write(rng.randbytes(size))
            browser.pick("image", [path])
            for until, done in (("links", "result.querySelectorAll('#outputs a').length === 4"),
                                ("checksums", "result.querySelector('#zip a')")):
                times = [timed(browser, "split", "click", "results", done,
                               lambda: (browser.click("#split"), browser.idle())) for _ in range(RUNS)]
                figures.append((f"split {size >> 20} MiB into 4, to the {until}", times))
        image = open(path, "rb").read()
        dumps = [os.path.join(work, f"dump-{k + 1}.bin") for k in range(4)]
        for k, dump in enumerate(dumps):
            open(dump, "wb").write(image[k::4] if k < 3 else bytes(b & 0xF7 for b in image[k::4]))
        browser.pick("dumps", dumps)
        times = [timed(browser, "verify", "click", "findings", "result.textContent !== ''",
                       lambda: (browser.click("#verify"), browser.idle())) for _ in range(RUNS)]
        figures.append(("verify 4 x 16 MiB dumps of 64 MiB", times))
        for parts, size in ((2, 512 << 10), (4, 16 << 20)):
            image = corpus_image(parts * size)
            paths = []
            for k in range(parts):
                paths.append(os.path.join(work, f"u{k + 1}-{parts}.bin"))
                open(paths[-1], "wb").write(image[k::parts])
            times = [timed(browser, "parts", "change", "identify", "result.textContent !== ''",
                           lambda: browser.pick("parts", paths[::-1] if run % 2 else paths))
                     for run in range(RUNS)]
            figures.append((f"identify {parts} x {size >> 10} KiB", times))
    finally:
        browser.close()
        shutil.rmtree(work, ignore_errors=True)
    for name, times in figures:
        print(f"{name:42} median {statistics.median(times):7.0f} ms  "
              f"(min {min(times):.0f}, max {max(times):.0f})")


main()
