"""A CUPS 2.4 queue made of the printer application with `lpadmin -m everywhere`, on a private
scheduler (tools/cups-sandbox): PDF and text sent with lp print, and orvel-settings stores
settings through the queue with the very 15 bytes."""

import os
import re
import shlex
import subprocess
import tempfile
import unittest

from escp_reading import read_job
from orvel_app import AppServer, one_page_pdf, write_file

HERE = os.path.dirname(os.path.abspath(__file__))
SANDBOX = os.path.join(HERE, "..", "..", "tools", "cups-sandbox")
ORVEL_SETTINGS = os.environ.get("ORVEL_SETTINGS", "orvel-settings")


@unittest.skipUnless(os.geteuid() == 0, "the private scheduler needs root")
class CupsQueue(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scheduler = tempfile.mkdtemp(prefix="orvel.", dir="/tmp")
        subprocess.run([SANDBOX, "start", cls.scheduler, "--watch", str(os.getpid()),
                        "--ipp-backend"], check=True, timeout=60, capture_output=True)
        exports = subprocess.run([SANDBOX, "env", cls.scheduler], check=True, timeout=30,
                                 capture_output=True, text=True).stdout
        cls.env = dict(os.environ)
        cls.env.pop("LPDEST", None)
        cls.env.pop("PRINTER", None)
        for name, value in re.findall(r"export (\w+)=(.*)", exports):
            cls.env[name] = shlex.split(value)[0]
        cls.app = AppServer()
        cls.run_client(["lpadmin", "-p", "Orvel", "-E", "-v", cls.app.uri(), "-m", "everywhere"])

    @classmethod
    def tearDownClass(cls):
        cls.app.stop()
        subprocess.run([SANDBOX, "stop", cls.scheduler], timeout=60, capture_output=True)
        subprocess.run(["rm", "-rf", cls.scheduler], timeout=60)

    @classmethod
    def run_client(cls, command):
        result = subprocess.run(command, env=cls.env, capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            raise AssertionError("%s: %s%s" % (command[0], result.stdout, result.stderr))
        return result.stdout

    def test_pdf_and_text_printed_with_lp_arrive_as_bit_images(self):
        before = len(self.app.captures())
        for name, data in [("letter.pdf", one_page_pdf("Hello from CUPS")),
                           ("note.txt", b"Hello from CUPS\nsecond line\n")]:
            self.run_client(["lp", "-d", "Orvel", write_file(self.app.root, name, data)])
        for job in self.app.wait_for_captures(before + 2, timeout=120)[before:]:
            pages = read_job(job).pages
            self.assertEqual(len(pages), 1)
            self.assertGreater(len(pages[0].dots), 500)
            self.assertEqual(pages[0].length_360ths, 4320)  # the 12-inch paper

    def test_orvel_settings_stores_settings_through_the_queue(self):
        before = len(self.app.captures())
        profile = write_file(self.app.root, "courier.profile", b"Font: Courier\n")
        self.run_client([ORVEL_SETTINGS, "apply", profile, "-d", "Orvel"])
        self.assertEqual(self.app.wait_for_captures(before + 1, timeout=60)[before],
                         bytes([0x1B, 0x19, 0x00, 2, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1]))


if __name__ == "__main__":
    unittest.main()
