"""The run told for people: gnxp's output of one document per step, with
what the net printed in between, read back into a line per event."""

import unittest

from gnxp.summary import split_output, summary_lines

HEAD = b'<?xml version="1.0" encoding="ISO-8859-1"?>\n'
OUTPUT = (HEAD + b"""<events>
  <entrance token="a" place="In">
    <char name="n" type="double">1</char>
  </entrance>
  <entrance token="b" place="In">
    <char name="n" type="double">2</char>
  </entrance>
</events>
""" + b"counting\n" + HEAD + b"""<events>
  <movement token="a" place="Bin">
    <char name="n" type="double">1</char>
  </movement>
  <movement token="b" place="Bin">
    <char name="n" type="double">2</char>
  </movement>
</events>
""" + HEAD + b"""<events>
  <merge oldtoken="b" place="Bin" newtoken="a">
    <char name="n" type="double">3</char>
  </merge>
</events>
""" + HEAD + b"<events/>\n" + HEAD + b"""<events>
  <exit token="a" place="Bin"/>
</events>
""" + b"done\n")


class SummaryTest(unittest.TestCase):
    def test_each_step_lists_its_events_and_the_end_counts_tokens_and_kinds(self):
        steps, printed_after = split_output(OUTPUT)
        self.assertEqual(summary_lines(steps[:3], printed_after), [
            "step 1   a enters In (n = 1)",
            "         b enters In (n = 2)",
            "step 2   prints: counting",
            "         a In -> Bin",
            "         b In -> Bin",
            "step 3   b merged into a in Bin (n = 3)",
            "prints: done",
            "Tokens in places after step 3: Bin 1",
            "3 steps: 2 entered, 2 moved, 1 merged, 0 left",
        ])
        self.assertEqual(summary_lines(steps)[-4:], [
            "step 4   -",
            "step 5   a leaves Bin",
            "Tokens in places after step 5: none",
            "5 steps: 2 entered, 2 moved, 1 merged, 1 left",
        ])


if __name__ == "__main__":
    unittest.main()
