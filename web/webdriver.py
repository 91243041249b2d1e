#!/usr/bin/python3
"""WebKitGTK driven over classic WebDriver: WebKitWebDriver starts MiniBrowser, WebKitGTK's own
small browser, in a virtual X display of its own. Files are typed into an input as WebDriver
types them, clicks are WebDriver's element clicks. MiniBrowser saves no download for a driver,
so the bytes a link offers are read through the page's own script from the Blob behind it.
Needs Debian's webkit2gtk-driver, libwebkit2gtk-4.1-0 (which holds MiniBrowser) and xvfb."""
import glob
import json
import os
import subprocess
import time
import urllib.error
import urllib.request

from page_driver import PageDriver, as_json, free_port, from_json, program, started

DRIVER = program("WebKitWebDriver")
MINIBROWSER = next(iter(sorted(glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser"))), None)
XVFB = program("Xvfb")


class WebKit(PageDriver):
    name = "WebKitGTK"

    def __init__(self, profile, downloads, size=(900, 1000)):
        read, write = os.pipe()
        self.display = subprocess.Popen([XVFB, "-displayfd", str(write), "-nolisten", "tcp",
                                         "-screen", "0", "1280x1024x24"], pass_fds=[write],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        port = free_port()
        self.process = started([DRIVER, f"--port={port}"], env=dict(os.environ, DISPLAY=":" + number))
        self.base = f"http://127.0.0.1:{port}"
        for _ in range(100):
            try:
                self.call("GET", "/status")
                break
            except (urllib.error.URLError, ConnectionError):
                time.sleep(0.1)
        try:
            session = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
                "webkitgtk:browserOptions": {"binary": MINIBROWSER, "args": ["--automation"]}}}})
        except Exception:
            self.stop()
            raise
        self.version = session["capabilities"]["browserVersion"]
        self.base += "/session/" + session["sessionId"]
        self.call("POST", "/window/rect", {"width": size[0], "height": size[1]})

    def call(self, method, path, body=None):
        request = urllib.request.Request(self.base + path, method=method,
                                         data=None if body is None else json.dumps(body).encode(),
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=300) as reply:
                return json.loads(reply.read())["value"]
        except urllib.error.HTTPError as error:
            raise RuntimeError(f"{method} {path}: {error.read().decode()}") from None

    def run(self, script):
        value = self.call("POST", "/execute/async", {"args": [], "script": f"""
            const done = arguments[arguments.length - 1];
            {as_json(script)}.then(done, (e) => done(JSON.stringify({{thrown: String(e)}})));"""})
        result = from_json(value)
        if isinstance(result, dict) and "thrown" in result:
            raise RuntimeError(f"{script}: {result['thrown']}")
        return result

    def element(self, selector, index=0):
        found = self.call("POST", "/elements", {"using": "css selector", "value": selector})
        return next(iter(found[index].values()))

    def open(self, page):
        self.call("POST", "/url", {"url": self.url(page)})

    def pick(self, input_id, paths, wait=True):
        # WebDriver adds typed files to those an input holds, where a user's pick replaces them.
        element = self.element("#" + input_id)
        if self.run(f"document.getElementById('{input_id}').files.length"):
            self.call("POST", f"/element/{element}/clear", {})
        self.call("POST", f"/element/{element}/value", {"text": "\n".join(paths)})
        if wait:
            self.idle()

    def click(self, selector, index=0):
        self.call("POST", f"/element/{self.element(selector, index)}/click", {})

    def downloads(self, folder, selector="#outputs a"):
        return self.offered(selector)

    def stop(self):
        for process in (self.process, self.display):
            process.terminate()
            process.wait()

    def close(self):
        try:
            self.call("DELETE", "")
        finally:
            self.stop()
