"""Events as a pandas DataFrame, for notebooks; pandas itself stays optional."""

from .events import Event

EVENT_COLUMNS = ["step", "kind", "token", "place", "merged_into"]


def to_dataframe(events: list[Event]):
    """One row per event: its step, kind, token, place and merged-into token,
    then one column per characteristic name (missing where an event lacks it)."""
    try:
        import pandas
    except ImportError:
        raise ImportError("to_dataframe needs pandas, which is not installed (pip install pandas)") from None
    names = list(dict.fromkeys(c.name for event in events for c in event.characteristics))
    rows = [[event.step, event.kind, event.token, event.place, event.merged_into] + [None] * len(names)
            for event in events]
    for row, event in zip(rows, events):
        for characteristic in event.characteristics:
            row[len(EVENT_COLUMNS) + names.index(characteristic.name)] = characteristic.value
    return pandas.DataFrame(rows, columns=EVENT_COLUMNS + names)
