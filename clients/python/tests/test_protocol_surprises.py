"""Every way a server's answer can go wrong becomes one exception that names
it, never a hang: a scripted server answers the client's first STEP."""

import socket
import threading
import unittest

import gnxp

STEP_ANSWER = b"GNXP/0.1\r\n200 Request completed sucessfully\r\n"


class ScriptedServer:
    """Accepts one client, reads its identification and first request, sends
    `answer`, then closes the connection, or holds it open when `hold`."""

    def __init__(self, answer: bytes, hold: bool):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.answer, self.hold = answer, hold
        self.done = threading.Event()
        self.thread = threading.Thread(target=self._serve)
        self.thread.start()

    def _serve(self):
        connection, _ = self.listener.accept()
        received = b""
        while not received.endswith(b"\r\n\r\n"):
            received += connection.recv(1024)
        connection.sendall(self.answer)
        if self.hold:
            self.done.wait(10)
        connection.close()

    def close(self):
        self.done.set()
        self.thread.join()
        self.listener.close()


class ProtocolSurpriseTest(unittest.TestCase):
    def test_each_surprise_raises_one_exception_naming_it(self):
        rows = [
            ("closed without an answer", b"", False, gnxp.ConnectionClosed,
             "closed the connection before the answer to STEP was whole"),
            ("short body", STEP_ANSWER + b"Content-Length: 50\r\n\r\n<events>", False, gnxp.ConnectionClosed,
             r"short body: 8 of 50 bytes"),
            ("unknown status", b"GNXP/0.1\r\n299 Fine\r\n\r\n", False, gnxp.ProtocolError,
             "unknown status '299 Fine'"),
            ("refused identification", b"Wrong protocol\r\n", False, gnxp.ProtocolError,
             "starts with 'Wrong protocol', not 'GNXP/0.1'"),
            ("status answer to a STEP", b"GNXP/0.1\r\n200 Request completed successfully\r\n\r\n", False,
             gnxp.ProtocolError, "STEP answered '200 Request completed successfully' without a body"),
            ("unknown header", STEP_ANSWER + b"Content-Type: text/xml\r\n\r\n", False, gnxp.ProtocolError,
             "unexpected header line 'Content-Type: text/xml'"),
            ("body that is not XML", STEP_ANSWER + b"Content-Length: 5\r\n\r\nhello", False, gnxp.ProtocolError,
             "the events document is not XML"),
            ("line without an end", b"G" * 5000, True, gnxp.ProtocolError, "a line of over 1024 bytes"),
            ("silence", b"", True, gnxp.AnswerTimeout, r"no whole answer to STEP within 0.3 s"),
            ("body that stops coming", STEP_ANSWER + b"Content-Length: 50\r\n\r\n<ev", True, gnxp.AnswerTimeout,
             r"short body: 3 of 50 bytes"),
        ]
        for name, answer, hold, exception, message in rows:
            with self.subTest(name):
                server = ScriptedServer(answer, hold)
                self.addCleanup(server.close)
                net = gnxp.Connection("127.0.0.1", server.port, timeout=0.3)
                with self.assertRaisesRegex(exception, message):
                    net.step()
                self.assertFalse(net.is_open)


if __name__ == "__main__":
    unittest.main()
