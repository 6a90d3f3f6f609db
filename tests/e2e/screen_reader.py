#!/usr/bin/python3
# The ears of a screen reader: writes down, one JSON line each, what the game tells
# assistive technology over AT-SPI, through pyatspi as Orca hears it.
#
# Usage: screen_reader.py LOG
#   LOG gets a line per focus change, description change and alert that shows;
#   a file LOG.ask holding "clock" makes it look up the game's clock and write
#   what it reads ("asked"), as a player asking the screen reader would.
import json
import os
import sys

import pyatspi
from gi.repository import GLib

log_path = sys.argv[1]
log = open(log_path, "a", buffering=1, encoding="utf-8")


def texts_below(accessible, depth=0):
    """The names of an object's descendants, as a screen reader reads an alert."""
    found = []
    if depth > 4:
        return found
    for child in accessible:
        if child is None:
            continue
        if child.name:
            found.append(child.name)
        found.extend(texts_below(child, depth + 1))
    return found


def write(kind, accessible, **more):
    entry = {"event": kind, "role": accessible.getRoleName(), "name": accessible.name,
             "description": accessible.description}
    entry.update(more)
    log.write(json.dumps(entry, ensure_ascii=False) + "\n")


def heard(event):
    try:
        source = event.source
        if event.type.startswith("object:state-changed:focused"):
            if event.detail1:
                write("focus", source)
        elif event.type.startswith("object:property-change:accessible-description"):
            write("description", source)
        elif event.type.startswith("object:state-changed:showing"):
            if event.detail1 and source.getRole() == pyatspi.ROLE_ALERT:
                write("alert", source, texts=texts_below(source))
    except Exception as error:  # an object gone meanwhile: nothing to hear
        log.write(json.dumps({"event": "error", "error": str(error)}) + "\n")


def answer_questions():
    ask = log_path + ".ask"
    if os.path.exists(ask):
        with open(ask, encoding="utf-8") as question:
            asked = question.read().strip()
        os.remove(ask)
        if asked == "clock":
            for application in pyatspi.Registry.getDesktop(0):
                if application is None:
                    continue
                clock = pyatspi.findDescendant(application, lambda a: a is not None and a.name == "Czas gry")
                if clock is not None:
                    write("asked", clock)
    return True


pyatspi.Registry.registerEventListener(heard, "object:state-changed:focused",
                                       "object:property-change:accessible-description",
                                       "object:state-changed:showing")
GLib.timeout_add(100, answer_questions)
log.write(json.dumps({"event": "listening"}) + "\n")
pyatspi.Registry.start()
