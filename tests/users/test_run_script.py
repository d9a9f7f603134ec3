"""scripts/run on this build: a run told step by step, the XML when asked,
and one line with a non-zero status for each way a run cannot happen."""

import os
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

from headless_server import SOURCE_DIR

RUN = os.path.join(SOURCE_DIR, "scripts", "run")
PASS_THROUGH = os.path.join(SOURCE_DIR, "examples", "pass-through.xml")

FAILS_IN_STEP_TWO = """<?xml version="1.0" encoding="ISO-8859-1"?>
<gn xmlns="urn:vanterserver:gn-definition"><transitions><transition id="T"><inputs><input ref="A"/></inputs>
<outputs><output ref="B"/></outputs><predicates default="true"/></transition></transitions>
<places><place id="A"/><place id="B" char="bad"/></places><functions>(defun bad "0" () () (/ 1 0))</functions>
<tokens><token id="k" host="A"><characteristic name="Default" type="double">1</characteristic></token></tokens></gn>
"""
REFUSED = '<gn xmlns="urn:vanterserver:gn-definition"><places><place id="A" capacity="x"/></places></gn>'


def run(*arguments: str) -> subprocess.CompletedProcess:
    return subprocess.run([RUN, *arguments], capture_output=True, text=True, timeout=300)


class RunScriptTest(unittest.TestCase):
    def definition(self, text: str) -> str:
        file = tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False)
        self.addCleanup(os.unlink, file.name)
        with file:
            file.write(text)
        return file.name

    def test_a_run_is_told_step_by_step(self):
        result = run(PASS_THROUGH, "--steps", "3")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(result.stdout.splitlines()[2:], ["step 3   k leaves B", "Tokens in places after step 3: none",
                                                          "3 steps: 1 entered, 1 moved, 0 merged, 1 left"])

    def test_xml_gives_the_events_document(self):
        result = run(PASS_THROUGH, "--steps", "2", "--xml")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual([event.tag for event in ElementTree.fromstring(result.stdout.encode())],
                         ["entrance", "movement"])

    def test_a_run_that_cannot_happen_says_why_in_one_line(self):
        rows = [
            ("missing file", ["no-such-net.xml"], 2, "", "scripts/run: no-such-net.xml: no such file"),
            ("refused definition", [self.definition(REFUSED)], 1, "",
             "INIT refused: 500 GN definition error (line 1, column 80: value 'x' does not match"),
            ("runtime error", [self.definition(FAILS_IN_STEP_TWO)], 1, "step 1   k enters A (Default = 1)\n",
             "runtime error in step 2: 502 Runtime error"),
            ("unknown option", [PASS_THROUGH, "--stpes", "3"], 2, "", "unknown option --stpes"),
        ]
        for name, arguments, status, summary_start, message in rows:
            with self.subTest(name):
                result = run(*arguments)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.startswith(summary_start), result.stdout)
                self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
                self.assertIn(message, result.stderr)


if __name__ == "__main__":
    unittest.main()
