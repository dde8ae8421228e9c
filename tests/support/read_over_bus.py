#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a running program over the accessibility bus, as a screen reader does.

    read_over_bus.py PID [SECONDS]

Waits (up to SECONDS, 30 by default) for the application of process PID to appear on the AT-SPI
bus, walks its accessible tree and prints one JSON object:
  "texts":   every name, description and text the tree holds, in tree order;
  "unnamed": each shown, focusable node without a name, as its path of roles and names.
Exits 2 when the application never appears, 3 when no AT-SPI client library is installed.
"""

import json
import sys
import time

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as error:
    print(f"no AT-SPI client: {error}", file=sys.stderr)
    sys.exit(3)

MAX_DEPTH = 200
MAX_NODES = 50000


def application_of(pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except GLib.Error:
                continue
        time.sleep(0.2)
    return None


def text_of(node):
    text = node.get_text_iface() if hasattr(node, "get_text_iface") else None
    if text is None:
        return ""
    try:
        return Atspi.Text.get_text(text, 0, Atspi.Text.get_character_count(text)) or ""
    except GLib.Error:
        return ""


def walk(app):
    texts, unnamed = [], []
    stack = [(app, 0, [])]
    seen = 0
    while stack and seen < MAX_NODES:
        node, depth, path = stack.pop()
        seen += 1
        try:
            name = (node.get_name() or "").strip()
            role = node.get_role_name()
            states = node.get_state_set()
            count = node.get_child_count()
            description = (node.get_description() or "").strip()
        except GLib.Error:
            continue
        here = path + [f"{role} '{name}'"]
        for value in (name, description, text_of(node).strip()):
            if value:
                texts.append(value)
        if (
            states.contains(Atspi.StateType.SHOWING)
            and states.contains(Atspi.StateType.FOCUSABLE)
            and not name
        ):
            unnamed.append(" / ".join(here))
        if depth >= MAX_DEPTH:
            continue
        # Children pushed last first, so that the walk reads them in order.
        for i in reversed(range(count)):
            try:
                child = node.get_child_at_index(i)
            except GLib.Error:
                continue
            if child is not None:
                stack.append((child, depth + 1, here))
    return texts, unnamed


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 1
    pid = int(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    app = application_of(pid, seconds)
    if app is None:
        print(f"process {pid} did not appear on the accessibility bus", file=sys.stderr)
        return 2
    texts, unnamed = walk(app)
    json.dump({"texts": texts, "unnamed": unnamed}, sys.stdout, ensure_ascii=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
