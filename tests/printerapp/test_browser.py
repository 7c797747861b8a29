"""The settings page in a real browser (headless Chromium), used as a person uses it."""

import os
import unittest

from chromium_pipe import Browser
from orvel_app import AppServer


class SettingsPageInChromium(unittest.TestCase):
    def setUp(self):
        self.app = AppServer()
        self.browser = Browser()

    def tearDown(self):
        self.browser.close()
        self.app.stop()

    def value(self, box):
        return self.browser.evaluate("document.getElementById('%s').value" % box)

    def disabled(self, box):
        return self.browser.evaluate("document.getElementById('%s').disabled" % box)

    def test_choose_see_a_disabled_box_refuse_apply_and_the_fifteen_bytes_arrive(self):
        browser = self.browser
        browser.open(self.app.web("/Orvel/settings"))
        self.assertEqual(browser.evaluate("document.querySelectorAll('select').length"), 19)
        # Parallel disables the serial line's three boxes, which keep their choices.
        self.assertTrue(browser.choose("orvel-interface", "parallel"))
        for box, kept in [("orvel-baud-rate", "9600"), ("orvel-parity", "none"),
                          ("orvel-flow-control", "hardware")]:
            self.assertTrue(self.disabled(box), box)
            self.assertEqual(self.value(box), kept)
        self.assertFalse(browser.choose("orvel-baud-rate", "300"))
        # The Export model: 11 inches and Autoshare, which enables them again.
        browser.click("#model-export", wait_for_page=False)
        self.assertEqual(self.value("orvel-page-length"), "11-inch")
        self.assertEqual(self.value("orvel-interface"), "autoshare")
        self.assertFalse(self.disabled("orvel-baud-rate"))
        # Indian Language enables the three language boxes; Roll Paper disables Tearoff.
        self.assertTrue(self.disabled("orvel-language"))
        self.assertTrue(browser.choose("orvel-character-table", "indian-language"))
        self.assertTrue(browser.choose("orvel-language", "punjabi"))
        self.assertTrue(browser.choose("orvel-roll-paper", "enabled"))
        self.assertTrue(self.disabled("orvel-tearoff"))
        self.assertTrue(browser.choose("orvel-font", "courier"))
        if os.environ.get("ORVEL_SCREENSHOT"):
            browser.screenshot(os.environ["ORVEL_SCREENSHOT"])

        browser.click("button[value=apply]")
        question = browser.evaluate("document.getElementById('orvel-question').innerText")
        self.assertIn("Please check whether the printer is :\n* Switched ON\n* In online mode\n"
                      "* In Parallel or Autoshare interface", question)
        browser.click("#orvel-ok")
        self.assertIn("The settings were sent to the printer.",
                      browser.evaluate("document.getElementById('orvel-status').innerText"))
        # Courier, roll paper, 11 inches, Autoshare, Indian Language, Punjabi: ESC EM 0 and
        # 2, 16+8, 8, 0, 15, 120, 0, 8, 2, 1, 8, 1.
        self.assertEqual(self.app.wait_for_captures(1),
                         [bytes([0x1B, 0x19, 0x00, 2, 24, 8, 0, 15, 120, 0, 8, 2, 1, 8, 1])])
        # The page shows what was stored, disabled boxes and all.
        browser.open(self.app.web("/Orvel/settings"))
        self.assertEqual(self.value("orvel-font"), "courier")
        self.assertTrue(self.disabled("orvel-tearoff"))
        self.assertFalse(self.disabled("orvel-language"))


if __name__ == "__main__":
    unittest.main()
