"""Reading events documents: characteristic values by type, merges, documents
that are not events documents, and the optional DataFrame."""

import importlib.util
import unittest

import gnxp
from gnxp.events import typed_value

DOCUMENT = b"""<?xml version="1.0" encoding="ISO-8859-1"?>
<events>
  <merge oldtoken="p2" place="Bin" newtoken="p1">
    <char name="Default" type="double">6</char>
    <char name="label" type="string">caf\xe9 &amp; co</char>
  </merge>
  <exit token="p1" place="Bin"/>
</events>
"""


class EventsTest(unittest.TestCase):
    def test_values_follow_their_type_and_keep_unreadable_text(self):
        rows = [
            ("number", "double", "2.5", 2.5),
            ("infinity", "double", "-inf", float("-inf")),
            ("unprintable number", "double", "?", "?"),
            ("string that looks like a number", "string", "12", "12"),
            ("vector of numbers", "vector", "0 1 2", [0.0, 1.0, 2.0]),
            ("empty vector", "vector", "[empty]", []),
            ("nested vectors and strings", "vector", '[1 2] "a b" [[empty]] 1e+06', [[1.0, 2.0], "a b", [], 1e6]),
            ("unclosed vector", "vector", "[1 2", "[1 2"),
            ("object", "object", "0x55d0c0ffee00", "0x55d0c0ffee00"),
        ]
        for name, kind, text, value in rows:
            with self.subTest(name):
                self.assertEqual(typed_value(kind, text), value)

    def test_a_merge_names_both_tokens_and_an_exit_no_characteristics(self):
        merge, leave = gnxp.parse_events(DOCUMENT, step=4)
        self.assertEqual((merge.kind, merge.token, merge.merged_into, merge.place, merge.step),
                         ("merge", "p2", "p1", "Bin", 4))
        self.assertEqual(merge.values(), {"Default": 6.0, "label": "café & co"})
        self.assertEqual(leave, gnxp.Event("exit", "p1", "Bin", step=4))

    def test_a_document_that_is_not_an_events_document_is_a_protocol_error(self):
        rows = [
            ("not XML", b"<events>", "not XML"),
            ("other root", b"<answer/>", "root element is 'answer'"),
            ("unknown event", b"<events><arrival token='k' place='A'/></events>", "unknown event element 'arrival'"),
            ("missing attribute", b"<events><exit token='k'/></events>", "'exit' element has no 'place' attribute"),
        ]
        for name, document, message in rows:
            with self.subTest(name), self.assertRaisesRegex(gnxp.ProtocolError, message):
                gnxp.parse_events(document)

    @unittest.skipUnless(importlib.util.find_spec("pandas"), "pandas is not installed")
    def test_events_become_a_dataframe_row_each(self):
        frame = gnxp.to_dataframe(gnxp.parse_events(DOCUMENT, step=4))
        self.assertEqual(list(frame.columns), ["step", "kind", "token", "place", "merged_into", "Default", "label"])
        self.assertEqual(frame.loc[0, "Default"], 6.0)
        self.assertTrue(frame.isna().loc[1, "Default"])


if __name__ == "__main__":
    unittest.main()
