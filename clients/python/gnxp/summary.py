"""A run told for people: a line per event, step by step, what the net printed,
where the tokens are at the end and how many events of each kind there were.

As a program it reads what `gnxp run NET --batch 1` writes (one events document
per step, with whatever the net printed in between) and prints the summary:
    gnxp run queue.xml --steps 20 --batch 1 | python3 -m gnxp.summary
"""

import re
import sys

from .events import KINDS, Event, parse_events

_DOCUMENT = re.compile(rb"<\?xml[^>]*\?>\s*(?:<events\s*/>|<events>.*?</events>)\n?", re.S)
_MARGIN = 9  # the width of "step 123 " that event lines are indented by
_COUNTED = {"entrance": "entered", "movement": "moved", "merge": "merged", "exit": "left"}


def split_output(output: bytes) -> tuple[list[tuple[str, list[Event]]], str]:
    """Per events document: the text printed before it and its events (the
    document's index is its step); and the text printed after the last one."""
    steps = []
    start = 0
    for number, match in enumerate(_DOCUMENT.finditer(output), 1):
        printed = output[start:match.start()].decode("latin-1")
        steps.append((printed, parse_events(match.group(), number)))
        start = match.end()
    return steps, output[start:].decode("latin-1")


class _Tracker:
    """Where each token is and what its characteristics last were."""

    def __init__(self):
        self.place_of: dict[str, str] = {}
        self.counts: dict[str, int] = {}  # tokens per place, places in order of first sight
        self.seen: dict[str, dict[str, str]] = {}
        self.kinds = dict.fromkeys(KINDS, 0)

    def line(self, event: Event) -> str:
        """The event in words, and the tracker updated by it."""
        self.kinds[event.kind] += 1
        origin = self.place_of.get(event.token, "?")
        if event.kind == "entrance":
            self._put(event.token, event.place)
            return f"{event.token} enters {event.place}{self._changes(event.token, event)}"
        if event.kind == "movement":
            self._put(event.token, event.place)
            return f"{event.token} {origin} -> {event.place}{self._changes(event.token, event)}"
        self._take(event.token)
        if event.kind == "exit":
            return f"{event.token} leaves {event.place}"
        self._put(event.merged_into, event.place)
        return f"{event.token} merged into {event.merged_into} in {event.place}" \
               f"{self._changes(event.merged_into, event)}"

    def _take(self, token: str) -> None:
        if token in self.place_of:
            self.counts[self.place_of.pop(token)] -= 1

    def _put(self, token: str, place: str) -> None:
        self._take(token)
        self.place_of[token] = place
        self.counts[place] = self.counts.get(place, 0) + 1

    def _changes(self, token: str, event: Event) -> str:
        """ " (name = text, ...)" for the characteristics that are new or changed."""
        before = self.seen.get(token, {})
        now = {c.name: c.text for c in event.characteristics}
        self.seen[token] = now
        changed = [f"{name} = {text}" for name, text in now.items() if before.get(name) != text]
        return f" ({', '.join(changed)})" if changed else ""


def summary_lines(steps: list[tuple[str, list[Event]]], printed_after: str = "") -> list[str]:
    tracker = _Tracker()
    lines = []
    for number, (printed, events) in enumerate(steps, 1):
        said = [f"prints: {text}" for text in printed.splitlines()]
        said += [tracker.line(event) for event in events] or ["-"]
        lines += [f"{'step ' + str(number) if i == 0 else '':<{_MARGIN}}{text}" for i, text in enumerate(said)]
    lines += [f"prints: {text}" for text in printed_after.splitlines()]
    held = [f"{place} {count}" for place, count in tracker.counts.items() if count > 0]
    lines.append(f"Tokens in places after step {len(steps)}: {', '.join(held) or 'none'}")
    lines.append(f"{len(steps)} steps: " + ", ".join(f"{count} {_COUNTED[kind]}" for kind, count in tracker.kinds.items()))
    return lines


def main() -> int:
    steps, printed_after = split_output(sys.stdin.buffer.read())
    sys.stdout.write("\n".join(summary_lines(steps, printed_after)) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
