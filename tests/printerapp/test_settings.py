"""The nineteen permanent settings over IPP and on the printer's web page: what is read, what is
sent to the printer (the window's very jobs), what is refused, and who may change them."""

import base64
import grp
import http.client
import http.cookiejar
import os
import pwd
import re
import shutil
import socket
import ssl
import stat
import subprocess
import tempfile
import time
import unittest
import urllib.parse
import urllib.request

from orvel_app import (APP, AppServer, attribute_values, get_printer_attributes,
                       set_printer_attributes)

# Every setting's attribute, its values (the choices in their order) and its default, as the
# manual page documents them; the choices are the printer's own, made IPP keywords.
SETTINGS = [
    ("orvel-font", ["roman", "sans-serif", "courier", "prestige", "script", "ocr-b", "ocr-a",
                    "orator", "orator-s"], "sans-serif"),
    ("orvel-tearoff", ["short-auto", "short-manual", "true-auto", "true-manual", "disabled"],
     "short-auto"),
    ("orvel-page-length", ["3-inch", "3-67-inch", "4-inch", "5-5-inch", "6-inch", "7-inch",
                           "8-inch", "8-5-inch", "11-inch", "11-66-inch", "12-inch", "14-inch"],
     "12-inch"),
    ("orvel-interface", ["parallel", "serial", "usb", "autoshare"], "autoshare"),
    ("orvel-baud-rate", ["300", "1200", "4800", "9600", "19200"], "9600"),
    ("orvel-parity", ["even", "odd", "none"], "none"),
    ("orvel-flow-control", ["xon-xoff", "hardware", "none"], "hardware"),
    ("orvel-strobe-edge", ["rising-edge", "falling-edge"], "falling-edge"),
    ("orvel-character-table", ["italic", "graphics", "indian-language"], "graphics"),
    ("orvel-language", ["hindi", "bengali", "tamil", "telugu", "kannada", "malayalam",
                        "gujarathi", "punjabi"], "hindi"),
    ("orvel-language-standard", ["8-bit-iscii", "pc-iscii", "ea-iscii"], "8-bit-iscii"),
    ("orvel-space-compensation", ["enabled", "disabled"], "disabled"),
    ("orvel-input-buffer-size", ["32k-bytes", "64k-bytes"], "64k-bytes"),
    ("orvel-skip-over-perforation", ["1-inch", "off"], "off"),
    ("orvel-print-direction", ["uni-d", "bi-d"], "bi-d"),
    ("orvel-slashed-zero", ["slashed", "normal"], "slashed"),
    ("orvel-line-spacing", ["5-lpi", "6-lpi", "7-lpi", "8-lpi"], "6-lpi"),
    ("orvel-auto-linefeed", ["enabled", "disabled"], "disabled"),
    ("orvel-roll-paper", ["enabled", "disabled"], "disabled"),
]

# The store-settings command: ESC EM 0, then the twelve values. The defaults encode as
# 1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1.
DEFAULT_BLOCK = [1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1]


def store_command(block):
    return bytes([0x1B, 0x19, 0x00] + block)


RESTORE_COMMAND = bytes([0x1B, 0x19, 0x01])


def defaults_of(output):
    return {name: (attribute_values(output, name + "-default") or [None])[0]
            for name, _, _ in SETTINGS}


class SettingsOverIpp(unittest.TestCase):
    def setUp(self):
        self.app = AppServer()

    def tearDown(self):
        self.app.stop()

    def read_settings(self, requested="all,media-col-database"):
        ok, output = self.app.ipptool(get_printer_attributes(requested))
        self.assertTrue(ok, output)
        return output

    def set_settings(self, attributes, uri=None):
        ok, output = self.app.ipptool(set_printer_attributes(attributes), uri)
        status = re.search(r"status-code = (\S+)", output)
        return status.group(1) if status else output

    def test_every_setting_is_read_with_its_choices_also_among_all_that_cups_asks_for(self):
        # CUPS asks for "all,media-col-database", which the framework answers without the
        # printer's own attributes unless the program adds them.
        output = self.read_settings()
        for name, choices, default in SETTINGS:
            self.assertEqual(attribute_values(output, name + "-supported"), choices, name)
            self.assertEqual(attribute_values(output, name + "-default"), [default], name)
        # Registering strings made printer-strings-languages-supported grow on every request;
        # the answer stays the same from one request to the next.
        again = self.read_settings()
        self.assertEqual(attribute_values(again, "printer-strings-languages-supported"),
                         attribute_values(output, "printer-strings-languages-supported"))

    def test_one_change_of_two_settings_sends_the_fifteen_bytes_once(self):
        self.assertEqual(self.set_settings([("orvel-font-default", "courier"),
                                            ("orvel-page-length-default", "11-inch")]),
                         "successful-ok")
        block = list(DEFAULT_BLOCK)
        block[0], block[4], block[5] = 2, 15, 120
        self.assertEqual(self.app.wait_for_captures(1), [store_command(block)])
        settings = defaults_of(self.read_settings())
        self.assertEqual((settings["orvel-font"], settings["orvel-page-length"]),
                         ("courier", "11-inch"))
        # The same values again change nothing: nothing is sent.
        self.assertEqual(self.set_settings([("orvel-font-default", "courier")]), "successful-ok")
        time.sleep(0.5)
        self.assertEqual(len(self.app.captures()), 1)
        # Kept across a restart of the server.
        self.app.shutdown()
        self.app.start()
        self.assertEqual(defaults_of(self.read_settings())["orvel-font"], "courier")

    def test_refused_requests_store_and_send_nothing(self):
        self.assertEqual(self.set_settings([("orvel-interface-default", "parallel")]),
                         "successful-ok")
        self.app.wait_for_captures(1)
        before = defaults_of(self.read_settings())
        cases = [
            ("an unknown choice", [("orvel-font-default", "comic")]),
            ("a choice of another setting", [("orvel-font-default", "9600")]),
            ("an unknown setting", [("orvel-colour-default", "red")]),
            ("the setting without -default", [("orvel-font", "courier")]),
            ("a disabled setting (baud rate while parallel)", [("orvel-baud-rate-default", "300")]),
            ("a good one beside a bad one", [("orvel-font-default", "courier"),
                                             ("orvel-parity-default", "odd")]),
        ]
        for name, attributes in cases:
            with self.subTest(name):
                self.assertEqual(self.set_settings(attributes),
                                 "client-error-attributes-or-values-not-supported")
        # Longer than any keyword may be: refused when the request is read.
        self.assertEqual(self.set_settings([("orvel-font-default", "x" * 1000)]),
                         "client-error-bad-request")
        # A value that is not a keyword, and one given twice.
        for name, line in [("a name, not a keyword", " ATTR name orvel-font-default courier"),
                           ("two values", " ATTR keyword orvel-font-default courier,roman")]:
            with self.subTest(name):
                test = set_printer_attributes([("orvel-tearoff-default", "short-auto")])
                test = test.replace(" ATTR keyword orvel-tearoff-default short-auto", line)
                ok, output = self.app.ipptool(test)
                self.assertIn("client-error-attributes-or-values-not-supported", output)
        time.sleep(0.5)
        self.assertEqual(len(self.app.captures()), 1)
        self.assertEqual(defaults_of(self.read_settings()), before)

    def test_a_printer_holding_jobs_refuses_and_sends_nothing(self):
        self.app.pause_printer()
        self.app.cli("submit", "-d", "Orvel", "-f", "text/plain", "/etc/hostname")
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")]),
                         "server-error-service-unavailable")
        self.assertEqual(defaults_of(self.read_settings())["orvel-font"], "sans-serif")
        self.app.pause_printer(resume=True)
        self.assertNotIn(b"\x1b\x19", self.app.wait_for_captures(1)[0])
        # So is the printer while it stores settings, for the 2.5 s that it takes.
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")]), "successful-ok")
        self.assertEqual(self.set_settings([("orvel-font-default", "courier")]),
                         "server-error-service-unavailable")

    def test_the_next_job_waits_two_and_a_half_seconds_after_the_settings(self):
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")]), "successful-ok")
        self.app.cli("submit", "-d", "Orvel", "-f", "text/plain", "/etc/hostname")
        self.app.wait_for_captures(2)
        settings_done, text_done = self.app.capture_times()
        self.assertGreaterEqual(text_done - settings_done, 2.45)

    def test_with_an_access_password_changes_need_it_and_printing_does_not(self):
        set_access_password(self.app, "Orvel-Test-2024")
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")]),
                         "client-error-not-authenticated")
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")],
                                           self.app.uri(user="admin:wrong@")),
                         "client-error-not-authenticated")
        self.assertEqual(len(self.app.captures()), 0)
        self.assertEqual(self.set_settings([("orvel-font-default", "roman")],
                                           self.app.uri(user="admin:Orvel-Test-2024@")),
                         "successful-ok")
        ok, output = self.app.ipptool("/usr/share/cups/ipptool/print-job.test", None,
                                      "-f", "/etc/hostname", "-d", "filetype=text/plain")
        self.assertEqual(len(self.app.wait_for_captures(2)), 2)


def set_access_password(app, password):
    browser = WebClient(app)
    page = browser.get("/security")
    answer = browser.post("/security", {"session": page.token, "new_password": password,
                                        "new_password2": password})
    if "Password changed" not in answer.text:
        raise AssertionError("the password was not set: " + answer.text[:2000])


class WebPage:
    def __init__(self, text):
        self.text = text
        token = re.search(r'name="session" value="([^"]*)"', text)
        self.token = token.group(1) if token else ""


class WebClient:
    """What a browser without script does: forms, with the page's cookie."""

    def __init__(self, app):
        self.app = app
        self.opener = urllib.request.build_opener(
            urllib.request.HTTPCookieProcessor(http.cookiejar.CookieJar()))

    def get(self, path):
        with self.opener.open(self.app.web(path), timeout=30) as answer:
            return WebPage(answer.read().decode())

    def post(self, path, fields):
        data = urllib.parse.urlencode(fields).encode()
        with self.opener.open(self.app.web(path), data, timeout=30) as answer:
            return WebPage(answer.read().decode())


class SettingsPage(unittest.TestCase):
    def setUp(self):
        self.app = AppServer()
        self.web = WebClient(self.app)

    def tearDown(self):
        self.app.stop()

    def command(self, action, fields=None, answer="ok"):
        page = self.web.get("/Orvel/settings")
        form = dict(fields or {}, session=page.token, action=action)
        question = self.web.post("/Orvel/settings", form)
        self.assertIn("Please check whether the printer is :<br>\n* Switched ON<br>\n"
                      "* In online mode<br>\n* In Parallel or Autoshare interface<br>\n<br>\n"
                      "To continue press OK else press Cancel to quit.", question.text)
        form.update(session=question.token, confirmed=answer)
        return self.web.post("/Orvel/settings", form)

    def test_the_home_page_and_the_settings_page_answer(self):
        # With application strings and no footer, the framework crashed on GET /.
        self.assertIn("Orvel", self.web.get("/").text)
        page = self.web.get("/Orvel/settings").text
        for caption in ["Font", "Tearoff", "Page Length", "Interface", "Baud Rate", "Parity",
                        "Flow Control", "Strobe Edge", "Character Table", "Language",
                        "Language Standard", "Space Compensation", "Input Buffer Size",
                        "Skip Over Perforation", "Print Direction", "Slashed Zero",
                        "Line Spacing", "Auto LineFeed", "Roll Paper"]:
            self.assertIn(">%s</label>" % caption, page)
        self.assertIn('<option value="xon-xoff">Xon/Xoff </option>', page)
        self.assertIn(">32K bytes</option>", page)
        self.assertIn(">64k bytes</option>", page)
        for button in ["Apply Settings", "Restore Default", "Print Features", "Domestic Model",
                       "Export Model"]:
            self.assertIn(button, page)

    def test_apply_restore_and_features_send_the_windows_jobs(self):
        answer = self.command("apply", {"model": "export", "orvel-font": "roman",
                                        "orvel-page-length": "11-inch",
                                        "orvel-interface": "autoshare"})
        self.assertIn("The settings were sent to the printer.", answer.text)
        block = list(DEFAULT_BLOCK)
        block[0], block[4], block[5] = 0, 15, 120
        self.assertEqual(self.app.wait_for_captures(1), [store_command(block)])
        self.assertIn('<option value="roman" selected>', answer.text)
        self.assertIn('id="model-export" value="export" accesskey="x" checked', answer.text)

        self.app.wait_until_idle()
        self.command("restore")
        self.assertEqual(self.app.wait_for_captures(2)[1], RESTORE_COMMAND)
        self.assertIn('<option value="sans-serif" selected>', self.web.get("/Orvel/settings").text)

        self.app.wait_until_idle()
        self.command("features")
        page = self.app.wait_for_captures(3)[2]
        self.assertTrue(page.startswith(b"\x1b@\x1bx\x01\x1bk\x00\x1bP\x1bw\x01\x1bW\x01\x1ba\x01"
                                        b"Varnet Orvel FEATURES\r\n\r\n"))
        self.assertTrue(page.endswith(b"\r\n\x1b@"))

    def test_cancel_in_the_question_sends_nothing(self):
        self.command("apply", {"orvel-font": "roman"}, answer="cancel")
        self.command("restore", answer="cancel")
        time.sleep(0.5)
        self.assertEqual(self.app.captures(), [])

    def test_forged_forms_are_refused(self):
        # No token, a wrong token: refused before anything is looked at.
        for token in ["", "0" * 64]:
            answer = self.web.post("/Orvel/settings", {"session": token, "action": "apply",
                                                       "confirmed": "ok", "orvel-font": "roman"})
            self.assertIn("Invalid form data", answer.text)
        # A disabled box changed in a hand-made form (the browser never sends one).
        self.command("apply", {"orvel-interface": "parallel"})
        self.app.wait_for_captures(1)
        self.app.wait_until_idle()
        answer = self.command("apply", {"orvel-baud-rate": "300"})
        self.assertIn("Baud Rate cannot be changed while it is disabled", answer.text)
        answer = self.command("apply", {"orvel-font": "no-such-font"})
        self.assertIn("Font: no such choice.", answer.text)
        time.sleep(0.5)
        self.assertEqual(len(self.app.captures()), 1)

    def test_a_printer_holding_jobs_shows_the_busy_message(self):
        self.app.pause_printer()
        self.app.cli("submit", "-d", "Orvel", "-f", "text/plain", "/etc/hostname")
        answer = self.command("apply", {"orvel-font": "roman"})
        self.assertIn("Unable to download printer settings.<br><br>Printer is busy with "
                      "processing print jobs, please try once printer is free.", answer.text)
        self.app.pause_printer(resume=True)
        self.assertNotIn(b"\x1b\x19", self.app.wait_for_captures(1)[0])


GROUP_PASSWORD = "Orvel-Group-2024"
# A PAM service for the tests, in a folder of their own: any user whose password is
# GROUP_PASSWORD is authenticated (pam_exec gives the password on standard input, ended by a
# NUL), every account is valid. Whether the user is in the group is the server's to check.
PAM_SERVICE = """auth required pam_exec.so expose_authtok quiet %s
account required pam_permit.so
"""
PASSWORD_CHECK = """#!/bin/bash
IFS= read -r -d '' password
[ "$password" = "%s" ]
""" % GROUP_PASSWORD


def own_network_address():
    """An address of this machine that is not a loopback one, or None."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        try:
            probe.connect(("192.0.2.1", 9))  # nothing is sent
            address = probe.getsockname()[0]
        except OSError:
            return None
    return None if address.startswith("127.") else address


def answers_on(address, port):
    try:
        with socket.create_connection((address, port), timeout=2):
            return True
    except OSError:
        return False


def post_ipp_in_the_clear(host, port, user, password):
    """Set-Printer-Attributes sent over plain HTTP with the password already in it, as a careless
    client would; returns the HTTP status."""
    def attribute(tag, name, value):
        return (bytes([tag]) + len(name).to_bytes(2, "big") + name.encode()
                + len(value).to_bytes(2, "big") + value.encode())

    uri = "ipp://%s:%d/ipp/print/Orvel" % (host, port)
    body = (b"\x02\x00\x00\x13\x00\x00\x00\x01\x01"
            + attribute(0x47, "attributes-charset", "utf-8")
            + attribute(0x48, "attributes-natural-language", "en")
            + attribute(0x45, "printer-uri", uri)
            + b"\x04" + attribute(0x44, "orvel-font-default", "script") + b"\x03")
    credentials = base64.b64encode(("%s:%s" % (user, password)).encode()).decode()
    connection = http.client.HTTPConnection(host, port, timeout=30)
    try:
        connection.request("POST", "/ipp/print/Orvel", body, {
            "Content-Type": "application/ipp", "Authorization": "Basic " + credentials})
        return connection.getresponse().status
    finally:
        connection.close()


def get_https(host, port, path, credentials):
    """The HTTP status of a GET over TLS, the server's certificate taken as it is."""
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    headers = {}
    if credentials:
        headers["Authorization"] = "Basic " + base64.b64encode(
            ("%s:%s" % credentials).encode()).decode()
    connection = http.client.HTTPSConnection(host, port, timeout=30, context=context)
    try:
        connection.request("GET", path, headers=headers)
        return connection.getresponse().status
    finally:
        connection.close()


class Administration(unittest.TestCase):
    """Who may change the printer: from this machine only, unless the administrator opens it to
    the network, and then only with the access password or as a member of the administrators'
    group whom PAM authenticates."""

    def setUp(self):
        self.pam = tempfile.mkdtemp(prefix="orvel-pam.")
        check = os.path.join(self.pam, "check-password")
        with open(check, "w") as out:
            out.write(PASSWORD_CHECK)
        os.chmod(check, 0o755)
        with open(os.path.join(self.pam, "orvel-test"), "w") as out:
            out.write(PAM_SERVICE % check)
        self.user = pwd.getpwuid(os.getuid()).pw_name
        self.group = grp.getgrgid(os.getgid()).gr_name

    def tearDown(self):
        shutil.rmtree(self.pam, ignore_errors=True)

    def server_alone(self, *options):
        folder = tempfile.mkdtemp(prefix="orvel-papp.")
        try:
            return subprocess.run(
                [APP, "server", "-p", "1", *options,
                 *[arg for name in ("state", "spool", "runtime")
                   for arg in ("--" + name, os.path.join(folder, name))]],
                stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=30)
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_the_network_is_opened_only_with_a_way_to_tell_who_asks(self):
        refused = self.server_alone("--remote")
        self.assertEqual(refused.returncode, 1)
        self.assertIn("--remote needs an access password", refused.stderr)
        unknown = self.server_alone("--remote", "--admin-group", "no-such-group-here")
        self.assertEqual(unknown.returncode, 1)
        self.assertIn('no group "no-such-group-here"', unknown.stderr)

    def test_by_default_only_this_machine_is_listened_to(self):
        address = own_network_address()
        if not address:
            self.skipTest("this machine has no address but loopback ones")
        app = AppServer(printer=None)
        try:
            self.assertTrue(answers_on("127.0.0.1", app.port))
            self.assertFalse(answers_on(address, app.port))
        finally:
            app.stop()

    def test_over_the_network_a_member_of_the_group_by_login_and_no_one_else(self):
        outsider = "nobody"
        if outsider == self.user or outsider in grp.getgrnam(self.group).gr_mem or \
                pwd.getpwnam(outsider).pw_gid == os.getgid():
            self.skipTest("nobody is in the group %s here" % self.group)
        app = AppServer(options=["--remote", "--admin-group", self.group,
                                 "--pam-service", "orvel-test", "--pam-config", self.pam])
        try:
            member = "%s:%s@" % (self.user, GROUP_PASSWORD)
            refused = [
                "",
                "%s:wrong-password@" % self.user,
                "%s:%s@" % (outsider, GROUP_PASSWORD),
                "no-such-user-here:%s@" % GROUP_PASSWORD,
            ]
            # From this machine in the clear; from the network encrypted (ipptool moves to an
            # encrypted connection when the server asks it to).
            cases = [("ipp", "localhost", credentials, False) for credentials in refused]
            cases.append(("ipp", "localhost", member, True))
            network = own_network_address()
            if network:
                cases += [("ipps", network, credentials, False) for credentials in refused]
                cases.append(("ipps", network, member, True))
            fonts = iter(["roman", "courier"])
            for scheme, host, credentials, admitted in cases:
                with self.subTest(uri="%s://%s%s" % (scheme, credentials, host)):
                    uri = "%s://%s%s:%d/ipp/print/Orvel" % (scheme, credentials, host, app.port)
                    choice = next(fonts) if admitted else "prestige"
                    ok, output = app.ipptool(
                        set_printer_attributes([("orvel-font-default", choice)]), uri)
                    self.assertIn("status-code = " + ("successful-ok" if admitted else
                                                      "client-error-not-authenticated"), output)
                    if admitted:
                        app.wait_until_idle()
            if network:
                # A password sent in the clear over the network is not taken.
                status = post_ipp_in_the_clear(network, app.port, self.user, GROUP_PASSWORD)
                self.assertIn(status, (401, 426))
                # The settings page too, over https with the server's own certificate.
                for credentials, expected in [(None, 401), ((self.user, "wrong-password"), 401),
                                              ((self.user, GROUP_PASSWORD), 200)]:
                    self.assertEqual(get_https(network, app.port, "/Orvel/settings", credentials),
                                     expected)
            # One settings job for each time the group's member changed the font.
            self.assertEqual(len(app.captures()), sum(1 for case in cases if case[3]))
        finally:
            app.stop()


class OwnSocket(unittest.TestCase):
    def test_the_socket_is_the_servers_own_and_gone_after_it(self):
        first = AppServer(printer=None)
        second = None
        try:
            socket_path = os.path.join(first.runtime, "orvel-printer-app.sock")
            folder = os.stat(first.runtime)
            self.assertEqual(stat.S_IMODE(folder.st_mode), 0o700)
            self.assertEqual(stat.S_IMODE(os.stat(socket_path).st_mode) & 0o077, 0)
            # A second server on the same folder is refused; one on its own runs beside it.
            clash = subprocess.run(
                [first.proc.args[0], "server", "-p", "1", "--runtime", first.runtime,
                 "--state", first.state, "--spool", first.spool],
                capture_output=True, text=True, timeout=30)
            self.assertNotEqual(clash.returncode, 0)
            self.assertIn("already runs", clash.stderr)
            second = AppServer(printer=None)
            self.assertEqual(second.cli("status").stdout.strip(), "Running, idle")
            self.assertEqual(first.cli("status").stdout.strip(), "Running, idle")
            first.shutdown()
            self.assertFalse(os.path.exists(socket_path))
            self.assertFalse(os.path.exists(first.runtime))
            # Stopped by a signal, as a service manager stops it.
            second.proc.terminate()
            second.proc.wait(timeout=15)
            self.assertFalse(os.path.exists(second.runtime))
        finally:
            first.stop()
            if second:
                second.stop()


if __name__ == "__main__":
    unittest.main()
