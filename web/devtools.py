#!/usr/bin/python3
"""Headless Chromium driven over the DevTools protocol, as a user drives kestrum.html: files
put into its inputs, real mouse clicks, downloads saved to a folder. The browser tests, the
benchmark and run.sh's screenshot use it. Needs Debian's chromium and python3-websocket,
which load under /usr/bin/python3."""
import base64
import json
import os
import shutil
import subprocess
import time

import websocket

from page_driver import PageDriver

CHROMIUM = shutil.which("chromium")


class Browser(PageDriver):
    name = "Chromium"

    def __init__(self, profile, downloads, size=(900, 1000)):
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--user-data-dir=" + profile, "--remote-debugging-port=0",
             "--remote-allow-origins=*", f"--window-size={size[0]},{size[1]}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(profile, "DevToolsActivePort")
        for _ in range(300):
            if os.path.exists(port_file) and len(open(port_file).read().split()) == 2:
                break
            time.sleep(0.1)
        port, path = open(port_file).read().split()
        self.socket = websocket.create_connection(f"ws://127.0.0.1:{port}{path}", timeout=60)
        self.serial, self.events, self.session = 0, [], None
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Browser.setDownloadBehavior", browser=True, behavior="allowAndName",
                  downloadPath=downloads, eventsEnabled=True)
        for domain in ("Network", "Page", "DOM", "Runtime"):
            self.call(domain + ".enable")
        self.version = self.call("Browser.getVersion", browser=True)["product"].split("/")[-1]

    def call(self, method, browser=False, session=None, **params):
        self.serial += 1
        message = {"id": self.serial, "method": method, "params": params}
        if self.session and not browser:
            message["sessionId"] = session or self.session
        self.socket.send(json.dumps(message))
        while True:
            reply = json.loads(self.socket.recv())
            if reply.get("id") == self.serial:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def event(self, methods, timeout=60, **match):
        end = time.monotonic() + timeout
        while True:
            for event in self.events:
                if event["method"] in methods.split() and match.items() <= event["params"].items():
                    self.events.remove(event)
                    return event["params"]
            self.socket.settimeout(max(end - time.monotonic(), 0.01))
            try:
                self.events.append(json.loads(self.socket.recv()))
            except websocket.WebSocketTimeoutException:
                return None
            finally:
                self.socket.settimeout(60)

    def run(self, script):
        result = self.call("Runtime.evaluate", expression=script, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{script}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def click(self, selector, index=0):
        x, y = self.run(f"""(() => {{ const e = document.querySelectorAll({json.dumps(selector)})[{index}];
            e.scrollIntoView({{block: 'center'}}); const r = e.getBoundingClientRect();
            return [r.x + r.width / 2, r.y + r.height / 2]; }})()""")
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def pick(self, input_id, paths, wait=True):
        root = self.call("DOM.getDocument")["root"]["nodeId"]
        node = self.call("DOM.querySelector", nodeId=root, selector="#" + input_id)["nodeId"]
        self.call("DOM.setFileInputFiles", nodeId=node, files=paths)
        if wait:
            self.idle()

    def downloads(self, folder, selector="#outputs a"):
        saved = []
        for k in range(self.run(f"document.querySelectorAll('{selector}').length")):
            # After ten or so downloads in quick succession Chromium now and then lets a click
            # on the next link pass without a download; a second click then starts it.
            self.click(selector, k)
            begun = self.event("Browser.downloadWillBegin", timeout=5)
            if not begun:
                self.click(selector, k)
                begun = self.event("Browser.downloadWillBegin")
            self.event("Browser.downloadProgress", guid=begun["guid"], state="completed")
            path = os.path.join(folder, begun["guid"])
            saved.append((begun["suggestedFilename"], open(path, "rb").read()))
        return saved

    # The page's worker is held at its start until its requests are watched too.
    def open(self, page):
        self.call("Target.setAutoAttach", autoAttach=True, waitForDebuggerOnStart=True, flatten=True)
        self.call("Page.navigate", url=self.url(page))
        worker = {"type": None}
        while worker["type"] != "worker":
            attached = self.event("Target.attachedToTarget")
            worker = dict(attached["targetInfo"], session=attached["sessionId"])
        for method in ("Network.enable", "Runtime.runIfWaitingForDebugger"):
            self.call(method, session=worker["session"])
        self.event("Page.loadEventFired")

    def screenshot(self, path):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"]))

    def close(self):
        self.process.terminate()
        self.process.wait()
