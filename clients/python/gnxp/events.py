"""Events as plain objects, read from the events document that answers a
STEP request: one element per entrance, movement, merge or exit, each
listing the token's characteristics (name, type and text) at that moment."""

from dataclasses import dataclass
import xml.etree.ElementTree as ElementTree

from .errors import ProtocolError

KINDS = ("entrance", "movement", "merge", "exit")


@dataclass(frozen=True)
class Characteristic:
    name: str
    type: str  # "double", "string", "vector" or "object"
    value: object  # float, str, list of values, or the text for an object
    text: str  # exactly as the server wrote it


@dataclass(frozen=True)
class Event:
    kind: str  # one of KINDS
    token: str  # for a merge, the token merged away
    place: str
    characteristics: tuple[Characteristic, ...] = ()
    merged_into: str | None = None  # for a merge, the token that remains
    step: int = 0  # steps the conversation had made when this event's request ended

    def values(self) -> dict:
        """The characteristics as a name -> value dictionary."""
        return {c.name: c.value for c in self.characteristics}


def parse_events(document: bytes, step: int = 0) -> list[Event]:
    """The events of one events document; ProtocolError when it is not one."""
    try:
        root = ElementTree.fromstring(document)
    except ElementTree.ParseError as error:
        raise ProtocolError(f"the events document is not XML: {error}") from None
    if root.tag != "events":
        raise ProtocolError(f"the answer's root element is '{root.tag}', not 'events'")
    return [_event(element, step) for element in root]


def _event(element, step: int) -> Event:
    if element.tag not in KINDS:
        raise ProtocolError(f"unknown event element '{element.tag}'")
    characteristics = tuple(_characteristic(child) for child in element)
    if element.tag == "merge":
        return Event("merge", _attribute(element, "oldtoken"), _attribute(element, "place"), characteristics,
                     merged_into=_attribute(element, "newtoken"), step=step)
    return Event(element.tag, _attribute(element, "token"), _attribute(element, "place"), characteristics, step=step)


def _characteristic(element) -> Characteristic:
    text = element.text or ""
    kind = _attribute(element, "type")
    return Characteristic(_attribute(element, "name"), kind, typed_value(kind, text), text)


def _attribute(element, name: str) -> str:
    value = element.get(name)
    if value is None:
        raise ProtocolError(f"a '{element.tag}' element has no '{name}' attribute")
    return value


def typed_value(kind: str, text: str) -> object:
    """The Python value of a characteristic's text: a float for "double", a
    list for "vector", the text itself otherwise or when it does not read."""
    try:
        if kind == "double":
            return float(text)
        if kind == "vector":
            items, end = _elements(text, 0)
            if end == len(text):
                return items
    except (ValueError, IndexError):
        pass
    return text


# A vector's text: "[empty]", or its elements separated by blanks, where an
# element is a number, a string in double quotes or a vector in brackets.
def _elements(text: str, at: int) -> tuple[list, int]:
    if text.startswith("[empty]", at):
        return [], at + len("[empty]")
    items = []
    while True:
        item, at = _element(text, at)
        items.append(item)
        if at < len(text) and text[at] == " ":
            at += 1
        else:
            return items, at


def _element(text: str, at: int) -> tuple[object, int]:
    if text[at] == "[":
        items, at = _elements(text, at + 1)
        if text[at] != "]":
            raise ValueError(text)
        return items, at + 1
    if text[at] == '"':
        # The form has no escapes: a string holding a quote ends at its first one.
        close = text.index('"', at + 1)
        return text[at + 1:close], close + 1
    end = at
    while end < len(text) and text[end] not in " ]":
        end += 1
    return float(text[at:end]), end
