"""A client for VanterServer's GNXP/0.1 protocol: send a generalized net's
definition, step it, and get its events back as plain objects.

    import gnxp
    with gnxp.Connection("localhost") as net:
        net.init(path="queue.xml")
        for event in net.step(20):
            print(event.step, event.kind, event.token, event.place, event.values())
"""

from .connection import ANSWER_TIMEOUT, CONNECT_TIMEOUT, DEFAULT_PORT, Connection
from .dataframe import to_dataframe
from .errors import (AnswerTimeout, ConnectionClosed, DefinitionRefused, GnxpError, NetRuntimeError, ProtocolError,
                     RequestRefused, ServerError)
from .events import Characteristic, Event, parse_events

__version__ = "0.1.0"
__all__ = [
    "ANSWER_TIMEOUT", "CONNECT_TIMEOUT", "DEFAULT_PORT", "Connection", "to_dataframe", "AnswerTimeout",
    "ConnectionClosed", "DefinitionRefused", "GnxpError", "NetRuntimeError", "ProtocolError", "RequestRefused",
    "ServerError", "Characteristic", "Event", "parse_events",
]
