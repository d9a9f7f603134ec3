"""The exceptions of the GNXP/0.1 client: one class per way a conversation
ends early, each with a message naming what happened."""


class GnxpError(Exception):
    """Any failure of a conversation; the connection is closed afterwards."""


class ServerError(GnxpError):
    """The server answered a request with a failure status (kept in `status`)."""

    def __init__(self, status: str):
        super().__init__(status)
        self.status = status


class DefinitionRefused(ServerError):
    """INIT was answered "500 GN definition error": the net could not be built."""


class NetRuntimeError(ServerError):
    """STEP was answered "502 Runtime error": a step of the net failed."""


class RequestRefused(ServerError):
    """The server took the request as malformed (100) or unknown (102)."""


class ProtocolError(GnxpError):
    """The server's bytes are not a GNXP/0.1 answer (unknown status, bad framing)."""


class ConnectionClosed(GnxpError):
    """The connection closed or failed before the answer was whole."""


class AnswerTimeout(GnxpError, TimeoutError):
    """The server did not answer within the time limit."""
