#!/usr/bin/python3
"""Firefox headless driven over WebDriver BiDi, which Firefox speaks itself on a WebSocket:
files set on an input, clicks as pointer actions, and downloads saved by Firefox into a
folder its profile names, each read once BiDi reports it complete. Needs Debian's firefox-esr and python3-websocket."""
import json
import os
import re
import subprocess
import threading

import websocket

from page_driver import PageDriver, as_json, from_json, program

FIREFOX = program("firefox-esr", "firefox")


class Firefox(PageDriver):
    name = "Firefox"

    def __init__(self, profile, downloads, size=(900, 1000)):
        os.makedirs(profile, exist_ok=True)
        self.folder = downloads
        # Downloads go to the folder unasked, as a user who has chosen one has them.
        prefs = {"browser.download.dir": downloads, "browser.download.folderList": 2,
                 "browser.download.useDownloadDir": True,
                 "browser.download.always_ask_before_handling_new_types": False,
                 "browser.download.start_downloads_in_tmp_dir": False}
        with open(os.path.join(profile, "user.js"), "w") as f:
            f.writelines(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n" for k, v in prefs.items())
        self.process = subprocess.Popen(
            [FIREFOX, "--headless", "--no-remote", "--profile", profile, "--remote-debugging-port", "0",
             f"--window-size={size[0]},{size[1]}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        listening = None
        for line in self.process.stderr:
            listening = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if listening:
                break
        if not listening:
            raise RuntimeError("Firefox did not start its WebDriver BiDi server")
        # The rest of its messages are read and dropped, lest a full pipe stop it.
        threading.Thread(target=self.process.stderr.read, daemon=True).start()
        self.socket = websocket.create_connection(listening.group(1) + "/session", timeout=120,
                                                  suppress_origin=True)
        self.serial, self.events = 0, []
        self.version = self.call("session.new", capabilities={})["capabilities"]["browserVersion"]
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
        self.call("session.subscribe", events=["browsingContext.downloadEnd"])

    def call(self, method, **params):
        self.serial += 1
        self.socket.send(json.dumps({"id": self.serial, "method": method, "params": params}))
        while True:
            reply = json.loads(self.socket.recv())
            if reply.get("type") == "event":
                self.events.append(reply)
            elif reply.get("id") == self.serial:
                if reply.get("type") == "error":
                    raise RuntimeError(f"{method}: {reply.get('error')}: {reply.get('message')}")
                return reply["result"]

    def event(self, method):
        while True:
            for event in self.events:
                if event["method"] == method:
                    self.events.remove(event)
                    return event["params"]
            self.events.append(json.loads(self.socket.recv()))

    def evaluate(self, script):
        result = self.call("script.evaluate", expression=script, target={"context": self.context},
                           awaitPromise=True)
        if result["type"] == "exception":
            raise RuntimeError(f"{script}: {result['exceptionDetails']['text']}")
        return result["result"]

    def run(self, script):
        return from_json(self.evaluate(as_json(script)).get("value"))

    def element(self, selector, index=0):
        node = self.evaluate(f"document.querySelectorAll({json.dumps(selector)})[{index}]")
        return {"sharedId": node["sharedId"]}

    def open(self, page):
        self.call("browsingContext.navigate", context=self.context, url=self.url(page), wait="complete")

    def pick(self, input_id, paths, wait=True):
        self.call("input.setFiles", context=self.context, element=self.element("#" + input_id),
                  files=paths)
        if wait:
            self.idle()

    def click(self, selector, index=0):
        self.run(f"document.querySelectorAll({json.dumps(selector)})[{index}].scrollIntoView({{block: 'center'}})")
        origin = {"type": "element", "element": self.element(selector, index)}
        self.call("input.performActions", context=self.context, actions=[{
            "type": "pointer", "id": "mouse", "actions": [
                {"type": "pointerMove", "x": 0, "y": 0, "origin": origin},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def downloads(self, folder, selector="#outputs a"):
        """Each link clicked and the file Firefox saves read back, then removed so that the next
        of the same name keeps its name."""
        saved = []
        for k, name in enumerate(self.run(f"Array.from(document.querySelectorAll('{selector}'), (a) => a.download)")):
            self.click(selector, k)
            end = self.event("browsingContext.downloadEnd")
            if end["status"] != "complete":
                raise RuntimeError(f"Firefox did not save {name}: {end['status']}")
            with open(end["filepath"], "rb") as f:
                saved.append((os.path.basename(end["filepath"]), f.read()))
            os.remove(end["filepath"])
        return saved

    def close(self):
        try:
            self.call("browser.close")
        except Exception:
            self.process.terminate()
        self.process.wait()
