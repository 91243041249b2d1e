#!/usr/bin/python3
"""Builds kestrum.html: the page with its style, script, worker and WebAssembly module
inlined, so that the one file works from disk and from any web host alike.

usage: make_page.py OUT MODULE page.html page.css page.js worker.js"""
import base64
import sys

out, module, html, css, script, worker = sys.argv[1:7]


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read().rstrip("\n")


page = read(html)
with open(module, "rb") as f:
    wasm = base64.b64encode(f.read()).decode("ascii")
for marker, text in (("/*STYLE*/", read(css)), ("/*MODULE*/", wasm),
                     ("/*WORKER*/", read(worker)), ("/*SCRIPT*/", read(script))):
    if "</script" in text.lower() or page.count(marker) != 1:
        sys.exit(f"make_page.py: cannot inline {marker}")
    page = page.replace(marker, text)
with open(out, "w", encoding="utf-8", newline="\n") as f:
    f.write(page + "\n")
