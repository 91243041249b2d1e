#!/usr/bin/python3
"""What every driver of kestrum.html offers, whatever protocol speaks to its browser: open the
page from file://, put files into an input, click, run a script for its value, and read the
files its links offer. Each browser's driver (devtools.py for Chromium, bidi.py for Firefox,
webdriver.py for WebKitGTK) gives run, pick, click and downloads; the rest is here."""
import base64
import json
import os
import shutil
import socket
import subprocess


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def program(*names):
    """The first of the programs named that is installed, or None."""
    for name in names:
        path = shutil.which(name) if not os.path.isabs(name) else (name if os.path.exists(name) else None)
        if path:
            return path
    return None


class PageDriver:
    def url(self, page):
        return "file://" + os.path.abspath(page)

    def idle(self):
        """Until the page has ended every action asked for, its progress then hidden."""
        self.run("""new Promise((done) => { const p = document.querySelector('#status progress');
            (function wait() { p.hidden ? done() : setTimeout(wait, 20); })(); })""")

    def text(self, element_id):
        return self.run(f"document.getElementById('{element_id}').textContent")

    def offered(self, selector):
        """The files the links offer, as (name, bytes), read through the page's own script from
        the Blob behind each link: for a browser whose downloads a driver cannot save."""
        found = self.run(f"""Promise.all(Array.from(document.querySelectorAll('{selector}'), async (a) => {{
            const bytes = new Uint8Array(await offered.get(a.href).arrayBuffer());
            let text = '';
            for (let at = 0; at < bytes.length; at += 0x8000)
              text += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
            return [a.download, btoa(text)]; }}))""")
        return [(name, base64.b64decode(data)) for name, data in found]


def started(command, **options):
    return subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **options)


def as_json(script):
    """A script whose value, awaited, comes back as JSON text."""
    return f"(async () => JSON.stringify(await ({script})))()"


def from_json(text):
    return None if text is None else json.loads(text)
