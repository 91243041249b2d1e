#!/usr/bin/python3
"""Saves a picture of kestrum.html after a split in headless Chromium: a 64 KiB image,
game.bin, split into two parts of 16-bit words and filled to a 27C256's 32K.

usage: /usr/bin/python3 web/screenshot.py build/web/kestrum.html OUT.png"""
import os
import random
import shutil
import sys
import tempfile

from devtools import Browser

page, out = sys.argv[1:3]
work = tempfile.mkdtemp(prefix="kestrum-screenshot-")
try:
    image = os.path.join(work, "game.bin")
    with open(image, "wb") as f:
        f.write(random.Random(0).randbytes(0x10000))
    browser = Browser(os.path.join(work, "profile"), work, size=(820, 900))
    try:
        browser.open(page)
        browser.pick("image", [image])
        browser.run("""document.getElementById('width').value = '2';
            document.getElementById('chip').value = '32K';
            document.getElementById('chip').dispatchEvent(new Event('change'));""")
        browser.click("#split")
        browser.idle()
        browser.run("window.scrollTo(0, 0)")
        browser.screenshot(out)
    finally:
        browser.close()
finally:
    shutil.rmtree(work, ignore_errors=True)
