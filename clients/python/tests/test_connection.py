"""The client against the real VanterServerHeadless: a whole conversation,
definitions sent as text in their declared encodings, every failure status,
and a server that goes away in the middle of a conversation."""

import os
import signal
import unittest

import gnxp
from headless_server import SOURCE_DIR, HeadlessServer, wait_for

PASS_THROUGH = os.path.join(SOURCE_DIR, "examples", "pass-through.xml")


def definition(body: str, declaration: str = '<?xml version="1.0" encoding="ISO-8859-1"?>\n') -> str:
    return f'{declaration}<gn xmlns="urn:vanterserver:gn-definition">{body}</gn>\n'


def pass_through(characteristic: str = '<characteristic name="Default" type="double">1</characteristic>',
                 place_b: str = '<place id="B"/>', functions: str = "") -> str:
    """Place A, transition T to place B, token k entering A at time 0."""
    return definition(
        '<transitions><transition id="T"><inputs><input ref="A"/></inputs><outputs><output ref="B"/></outputs>'
        f'<predicates default="true"/></transition></transitions><places><place id="A"/>{place_b}</places>'
        f'{functions}<tokens><token id="k" host="A">{characteristic}</token></tokens>')


class ConnectionTest(unittest.TestCase):
    def setUp(self):
        self.server = HeadlessServer()
        self.addCleanup(self.server.close)

    def connect(self) -> gnxp.Connection:
        return gnxp.Connection("127.0.0.1", self.server.port, timeout=10)

    def test_a_conversation_gives_each_request_its_events_and_halts(self):
        one = (gnxp.Characteristic("Default", "double", 1.0, "1"),)
        with self.connect() as net:
            net.init(path=PASS_THROUGH)
            self.assertEqual(net.step(2), [gnxp.Event("entrance", "k", "A", one, step=2),
                                           gnxp.Event("movement", "k", "B", one, step=2)])
            self.assertEqual(net.step(), [gnxp.Event("exit", "k", "B", step=3)])
            self.assertEqual(net.step(), [])
        self.assertFalse(net.is_open)
        halted = "HALT\nGNXP 0.1 communication terminated..."
        self.assertTrue(wait_for(lambda: halted in self.server.log(), 10), self.server.log())

    def test_text_definitions_arrive_in_their_declared_encoding(self):
        characteristic = '<characteristic name="Default" type="string">café</characteristic>'
        rows = [
            ("utf-8 declared", pass_through(characteristic).replace("ISO-8859-1", "UTF-8")),
            ("iso-8859-1 declared", pass_through(characteristic)),
            ("no declaration", pass_through(characteristic).split("\n", 1)[1]),
            ("bytes sent as they are", pass_through(characteristic).encode("latin-1")),
        ]
        for name, text in rows:
            with self.subTest(name), self.connect() as net:
                net.init(text)
                self.assertEqual(net.step()[0].values(), {"Default": "café"})

    def test_a_failure_status_raises_its_exception_and_ends_the_conversation(self):
        rows = [
            ("refused definition", gnxp.DefinitionRefused, "500 GN definition error",
             lambda net: net.init(definition('<places><place id="A" capacity="x"/></places>'))),
            ("runtime error", gnxp.NetRuntimeError, "502 Runtime error",
             lambda net: (net.init(pass_through(place_b='<place id="B" char="bad"/>',
                                                functions='<functions>(defun bad "0" () () (/ 1 0))</functions>')),
                          net.step(), net.step())),
            ("step before init", gnxp.RequestRefused, "100 Malformed request", lambda net: net.step()),
        ]
        for name, exception, status, requests in rows:
            with self.subTest(name), self.connect() as net:
                with self.assertRaises(exception) as raised:
                    requests(net)
                self.assertEqual(raised.exception.status, status)
                self.assertFalse(net.is_open)
                with self.assertRaisesRegex(gnxp.ConnectionClosed, "the conversation has ended"):
                    net.step()

    def test_a_server_that_goes_away_mid_conversation_closes_it(self):
        net = self.connect()
        net.init(path=PASS_THROUGH)
        self.server.stop(signal.SIGKILL)
        with self.assertRaises(gnxp.ConnectionClosed):
            net.step()
        self.assertFalse(net.is_open)


if __name__ == "__main__":
    unittest.main()
