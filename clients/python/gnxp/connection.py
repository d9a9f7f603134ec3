"""One GNXP/0.1 conversation with a VanterServer over one TCP connection.

Client to server, every line ended by CR LF:
    GNXP/0.1                                  identification, once
    INIT, Content-Length: N, empty line, N bytes of definition
    STEP n, empty line
    HALT                                      no answer; the server closes
Server to client:
    GNXP/0.1, status line, empty line                         status answer
    GNXP/0.1, 200 status, Content-Length: N, empty line, N bytes  STEP answer
Every failure status ends the conversation and the server closes the
connection. Thread rule: one thread uses a Connection at a time.
"""

import os
import re
import socket
import time
from typing import NoReturn

from .errors import (AnswerTimeout, ConnectionClosed, DefinitionRefused, GnxpError, NetRuntimeError, ProtocolError,
                     RequestRefused)
from .events import Event, parse_events

DEFAULT_PORT = 54321
CONNECT_TIMEOUT = 10.0  # seconds to connect
ANSWER_TIMEOUT = 120.0  # seconds a whole answer may take; a long STEP needs more

INIT_DONE = "200 Request completed successfully"
STEP_DONE = "200 Request completed sucessfully"  # the server's own spelling
FAILURES = {
    "100 Malformed request": RequestRefused,
    "102 Method not implemented": RequestRefused,
    "500 GN definition error": DefinitionRefused,
    "502 Runtime error": NetRuntimeError,
}
# A line of an answer is never longer; more bytes without a line end are not GNXP/0.1.
MAX_LINE = 1024
_RECEIVE_CHUNK = 65536


class Connection:
    """A conversation: connects and identifies on construction, then init,
    step and halt. Any failure raises a GnxpError and ends the conversation."""

    def __init__(self, host: str = "localhost", port: int = DEFAULT_PORT, *,
                 connect_timeout: float = CONNECT_TIMEOUT, timeout: float | None = ANSWER_TIMEOUT):
        """`timeout` bounds each answer in seconds (None: wait for ever)."""
        self.timeout = timeout
        self.steps_made = 0
        self._buffer = bytearray()
        try:
            self._socket = socket.create_connection((host, port), timeout=connect_timeout)
        except TimeoutError:
            raise AnswerTimeout(f"no connection to {host}:{port} within {connect_timeout} s") from None
        except OSError as error:
            raise ConnectionClosed(f"cannot connect to {host}:{port}: {error.strerror or error}") from None
        self._socket.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self._send(b"GNXP/0.1\r\n")

    def __enter__(self) -> "Connection":
        return self

    def __exit__(self, *exception) -> None:
        if self.is_open:
            self.halt()

    @property
    def is_open(self) -> bool:
        return self._socket is not None

    def init(self, text: str | bytes | None = None, *, path: str | os.PathLike | None = None) -> None:
        """Sends a net definition, given as text or as a file, and builds the
        net; DefinitionRefused when the server cannot build it."""
        if (text is None) == (path is None):
            raise ValueError("init takes the definition's text or its path, not both or neither")
        if path is not None:
            with open(path, "rb") as file:
                body = file.read()
        else:
            body = text if isinstance(text, bytes) else _encoded(text)
        self._send(b"INIT\r\nContent-Length: %d\r\nContent-Type: text/xml\r\n\r\n" % len(body) + body)
        self._answer("INIT", INIT_DONE, with_body=False)

    def step(self, count: int = 1) -> list[Event]:
        """Makes `count` steps; the events they reported, in order."""
        self._send(b"STEP %d\r\n\r\n" % count)
        body = self._answer("STEP", STEP_DONE, with_body=True)
        self.steps_made += max(count, 0)
        try:
            return parse_events(body, self.steps_made)
        except ProtocolError as error:
            self._fail(error)

    def halt(self) -> None:
        """Ends the conversation; the server answers nothing and closes."""
        if not self.is_open:
            return
        try:
            self._socket.sendall(b"HALT\r\n")
        except OSError:
            pass  # the server has gone already: the conversation is over either way
        self.close()

    def close(self) -> None:
        """Closes the connection without a word to the server."""
        if self._socket is not None:
            self._socket.close()
            self._socket = None

    def _send(self, data: bytes) -> None:
        if self._socket is None:
            raise ConnectionClosed("the conversation has ended")
        try:
            self._socket.settimeout(self.timeout)
            self._socket.sendall(data)
        except TimeoutError:
            self._fail(AnswerTimeout(f"the server took no data for {self.timeout} s"))
        except OSError as error:
            self._fail(ConnectionClosed(f"sending failed: {error.strerror or error}"))

    def _answer(self, request: str, done: str, with_body: bool) -> bytes | None:
        """The body (None for a status answer) of the answer to `request`,
        which must be `done` with a body or without as `with_body` says; a
        failure status raises its ServerError."""
        deadline = None if self.timeout is None else time.monotonic() + self.timeout
        first = self._line(request, deadline)
        if first != "GNXP/0.1":
            self._fail(ProtocolError(f"the answer to {request} starts with '{first}', not 'GNXP/0.1'"))
        status = self._line(request, deadline)
        if status in FAILURES:
            self._fail(FAILURES[status](status))
        if status not in (INIT_DONE, STEP_DONE):
            self._fail(ProtocolError(f"unknown status '{status}' in the answer to {request}"))
        length = self._headers(request, deadline)
        if status != done or (length is not None) != with_body:
            self._fail(ProtocolError(f"{request} answered '{status}' {'with' if length is not None else 'without'} "
                                     "a body"))
        return None if length is None else self._exactly(length, request, deadline)

    def _headers(self, request: str, deadline: float | None) -> int | None:
        """Reads header lines up to the empty one: the Content-Length, if any."""
        length = None
        while (line := self._line(request, deadline)) != "":
            name, colon, value = line.partition(":")
            if not colon or name != "Content-Length" or not value.strip().isdigit():
                self._fail(ProtocolError(f"unexpected header line '{line}' in the answer to {request}"))
            length = int(value)
        return length

    def _line(self, request: str, deadline: float | None) -> str:
        while (end := self._buffer.find(b"\r\n")) < 0:
            if len(self._buffer) > MAX_LINE:
                self._fail(ProtocolError(f"a line of over {MAX_LINE} bytes in the answer to {request}"))
            self._receive(request, deadline, "")
        line = self._buffer[:end].decode("latin-1")
        del self._buffer[:end + 2]
        return line

    def _exactly(self, count: int, request: str, deadline: float | None) -> bytes:
        while len(self._buffer) < count:
            self._receive(request, deadline, f" (short body: {len(self._buffer)} of {count} bytes)")
        body = bytes(self._buffer[:count])
        del self._buffer[:count]
        return body

    def _receive(self, request: str, deadline: float | None, detail: str) -> None:
        """Adds what arrives to the buffer; `detail` ends the message of a failure."""
        try:
            if deadline is not None:
                self._socket.settimeout(max(deadline - time.monotonic(), 0.001))
            chunk = self._socket.recv(_RECEIVE_CHUNK)
        except TimeoutError:
            self._fail(AnswerTimeout(f"no whole answer to {request} within {self.timeout} s{detail}"))
        except OSError as error:
            self._fail(ConnectionClosed(f"the connection failed before the answer to {request} was whole{detail}: "
                                        f"{error.strerror or error}"))
        if not chunk:
            self._fail(ConnectionClosed(f"the server closed the connection before the answer to {request} "
                                        f"was whole{detail}"))
        self._buffer += chunk

    def _fail(self, error: GnxpError) -> NoReturn:
        self.close()
        raise error


def _encoded(text: str) -> bytes:
    """The definition's bytes in the encoding its XML declaration names
    (UTF-8 when it names none); characters outside it as character references."""
    declared = re.match(r"""<\?xml[^>]*?encoding\s*=\s*["']([A-Za-z0-9._-]+)["']""", text)
    encoding = declared.group(1) if declared else "utf-8"
    try:
        return text.encode(encoding, errors="xmlcharrefreplace")
    except LookupError:
        raise ValueError(f"the definition declares the encoding '{encoding}', which Python does not know") from None
