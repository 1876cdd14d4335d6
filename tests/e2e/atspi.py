#!/usr/bin/python3
"""Finds the widgets of a running Qt program over AT-SPI by role and accessible
name, waits for them and acts on them, as a screen reader would.

Used from e2e.sh as a command:
    atspi.py [--in WINDOW] [--inside ROLE NAME] [--nth N] [--timeout S] COMMAND ROLE NAME [ARG]
COMMAND is one of
    wait      until the widget is on the screen
    gone      until no such widget is on the screen
    press     its first action (push button, menu item, check box, tab)
    set-text  replaces its text (text field)
    text      prints its text
    state     exits 0 when it has the state ARG (checked, selected, focused), 1 when not
    extents   prints "x y width height" on the screen
    dump      prints the tree of roles and names under it, to find the
              names for a new scenario ("dump application Tivaro": all)
    focus     gives it the keyboard focus and selects its text, so that
              keys typed next replace it
ROLE is an AT-SPI role name as in "push button", "check box", "combo box",
"text", "list item", "menu item" (also a menu bar's menu), "panel" (a group
box), "frame" (a main window or a dock), "tool bar" (named by its title),
"filler" (a plain widget). NAME is
matched whole; "" matches any. WINDOW restricts the search to the top-level
window of that title (with or without the * of unsaved changes), --inside to
a group or dock of that role and name in it; N picks the N-th match (from 0)
in reading order. On Linux Qt names a combo box by its current text, so a
combo box is found by the group or tool bar it sits in.
"""
import argparse
import os
import sys
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

APPLICATION = "Tivaro"
# Roles whose many children are rows of data: searched only for their own rows.
ROWS = {"table", "tree table", "list"}


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == APPLICATION:
            return app
    return None


def showing(node):
    states = node.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def matches(node, role, name):
    found = []
    wants_row = role in ("list item", "table cell", "table row header")

    def walk(n):
        try:
            n_role = n.get_role_name()
            if n_role == role and (name is None or n.get_name() == name):
                found.append(n)
            if n_role in ROWS and not wants_row:
                return
            for i in range(n.get_child_count()):
                child = n.get_child_at_index(i)
                if child is not None:
                    walk(child)
        except GLib.Error:
            pass  # a widget that went away while we looked

    walk(node)
    return found


def find(role, name, window=None, nth=0, inside=None):
    """The nth widget of that role and name, or None. A name of None matches any."""
    app = application()
    if app is None:
        return None
    for i in range(app.get_child_count()):
        top = app.get_child_at_index(i)
        if top is None or (window is not None and top.get_name().removesuffix("*") != window):
            continue
        scopes = [top] if inside is None else [g for g in matches(top, *inside) if showing(g)]
        hits = [n for scope in scopes for n in matches(scope, role, name) if showing(n)]
        if nth < len(hits):
            return hits[nth]
        nth -= len(hits)
    return None


def wait(role, name, window=None, nth=0, timeout=20.0, inside=None):
    deadline = time.monotonic() + timeout
    while True:
        node = find(role, name, window, nth, inside=inside)
        if node is not None:
            return node
        if time.monotonic() > deadline:
            where = f' in "{window}"' if window else ""
            where += f' inside the {inside[0]} "{inside[1]}"' if inside else ""
            sys.exit(f'atspi: no {role} "{name or ""}"{where} within {timeout:g} s')
        time.sleep(0.05)


def wait_gone(role, name, window=None, timeout=20.0):
    deadline = time.monotonic() + timeout
    while find(role, name, window) is not None:
        if time.monotonic() > deadline:
            sys.exit(f'atspi: the {role} "{name}" is still there after {timeout:g} s')
        time.sleep(0.05)


def press(node):
    """Qt answers a press only when its handler returns, which a modal dialog
    or a pop-up menu holds up (a button's click, though, comes a moment later).
    So the press waits for the answer a second at most; the caller then waits
    for what the press brings."""
    if node.get_n_actions() == 0:
        sys.exit(f'atspi: {node.get_role_name()} "{node.get_name()}" has no action')
    failure = []

    def do():
        try:
            node.do_action(0)
        except GLib.Error as error:
            failure.append(error)

    thread = threading.Thread(target=do, daemon=True)
    thread.start()
    thread.join(1.0)
    if failure:
        sys.exit(f'atspi: pressing "{node.get_name()}" failed: {failure[0]}')
    if thread.is_alive():
        sys.stdout.flush()
        os._exit(0)  # the press still waits for the handler, which runs on


def set_text(node, text):
    """Sets the text as a program would: a field that applies only what the
    user types (QLineEdit::textEdited) ignores it; type with the keys there."""
    if not node.set_text_contents(text):
        sys.exit(f'atspi: cannot set the text of "{node.get_name()}"')


def text(node):
    """A text field's text; a label's text is its name."""
    try:
        return node.get_text(0, node.get_character_count())
    except GLib.Error:
        return node.get_name()


def focus(node):
    if not node.grab_focus():
        sys.exit(f'atspi: "{node.get_name()}" takes no focus')
    try:
        node.add_selection(0, node.get_character_count())
    except GLib.Error:
        pass  # no text to select


def has_state(node, state):
    return node.get_state_set().contains(getattr(Atspi.StateType, state.upper()))


def extents(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


def dump(node, depth=0):
    print(f'{"  " * depth}{node.get_role_name()} "{node.get_name()}"')
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            dump(child, depth + 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--in", dest="window")
    parser.add_argument("--inside", nargs=2, metavar=("ROLE", "NAME"))
    parser.add_argument("--nth", type=int, default=0)
    parser.add_argument("--timeout", type=float, default=20.0)
    parser.add_argument("command", choices=["wait", "gone", "press", "set-text", "text", "state", "extents", "dump", "focus"])
    parser.add_argument("role")
    parser.add_argument("name", help='"" for any name')
    parser.add_argument("arg", nargs="?")
    args = parser.parse_args()
    if args.command == "dump" and args.role == "application":
        dump(application() or sys.exit(f"atspi: no {APPLICATION} on the accessibility bus"))
        return 0
    if args.command == "gone":
        wait_gone(args.role, args.name, args.window, args.timeout)
        return 0
    node = wait(args.role, args.name or None, args.window, args.nth, args.timeout, args.inside)
    if args.command == "press":
        press(node)
    elif args.command == "set-text":
        set_text(node, args.arg or "")
    elif args.command == "text":
        print(text(node))
    elif args.command == "state":
        return 0 if has_state(node, args.arg) else 1
    elif args.command == "extents":
        print(*extents(node))
    elif args.command == "dump":
        dump(node)
    elif args.command == "focus":
        focus(node)
    return 0


if __name__ == "__main__":
    sys.exit(main())
