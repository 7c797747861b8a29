"""Headless Chromium driven over its DevTools protocol on a pipe (fd 3 in, fd 4 out, one JSON
message each, ended by a NUL byte), as a user's browser: pages loaded, boxes chosen, buttons
clicked with the mouse, screenshots taken. Every wait is bounded."""

import base64
import json
import os
import select
import shutil
import subprocess
import tempfile
import time

CHROMIUM = shutil.which("chromium") or "chromium"
ANSWER_TIMEOUT_S = 30


class Browser:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="orvel-chromium.")
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()

        def plumb():
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)

        self.proc = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--no-first-run", "--user-data-dir=" + self.profile, "--remote-debugging-pipe",
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=plumb, pass_fds=(3, 4))
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.buffer = b""
        self.next_id = 0
        self.events = []
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget",
                                 {"targetId": target, "flatten": True})["sessionId"]
        self.call("Page.enable", session=True)
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": 900, "height": 1000, "deviceScaleFactor": 1, "mobile": False},
                  session=True)

    def close(self):
        try:
            self.call("Browser.close")
        except Exception:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait(timeout=10)
        os.close(self.to_browser)
        os.close(self.from_browser)
        shutil.rmtree(self.profile, ignore_errors=True)

    def read_message(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.from_browser], [], [], left)[0]:
                raise TimeoutError("no answer from the browser")
            chunk = os.read(self.from_browser, 1 << 20)
            if not chunk:
                raise EOFError("the browser went away")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=False):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + ANSWER_TIMEOUT_S
        while True:
            answer = self.read_message(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError("%s: %s" % (method, answer["error"]))
                return answer.get("result", {})
            self.events.append(answer)

    def wait_for_event(self, method):
        deadline = time.monotonic() + ANSWER_TIMEOUT_S
        while True:
            for event in self.events:
                if event.get("method") == method:
                    self.events.remove(event)
                    return event
            self.events.append(self.read_message(deadline))

    def open(self, url):
        self.events.clear()
        self.call("Page.navigate", {"url": url}, session=True)
        self.wait_for_event("Page.loadEventFired")

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate",
                           {"expression": expression, "returnByValue": True}, session=True)
        if "exceptionDetails" in result:
            raise RuntimeError(result["exceptionDetails"])
        return result["result"].get("value")

    def click(self, selector, wait_for_page=True):
        """A left click at the middle of the element, as the mouse gives it."""
        box = self.evaluate("(() => { const e = document.querySelector(%s); e.scrollIntoView();"
                            " const r = e.getBoundingClientRect();"
                            " return [r.x + r.width / 2, r.y + r.height / 2]; })()"
                            % json.dumps(selector))
        self.events.clear()
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", {"type": kind, "x": box[0], "y": box[1],
                                                   "button": "left", "clickCount": 1},
                      session=True)
        if wait_for_page:
            self.wait_for_event("Page.loadEventFired")

    def choose(self, box, value):
        """Chooses a value in a drop-down list as the keyboard does: focus, then the choice,
        then the change that the page hears. A disabled box takes neither."""
        return self.evaluate("(() => { const e = document.getElementById(%s);"
                             " if (e.disabled) return false; e.focus(); e.value = %s;"
                             " e.dispatchEvent(new Event('change', {bubbles: true}));"
                             " return true; })()" % (json.dumps(box), json.dumps(value)))

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", {"format": "png", "captureBeyondViewport": True},
                         session=True)["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))
