#!/usr/bin/python3
# Prints every accessible object of the running Zarvo, one per line:
# role|name|text|showing|checked|enabled
# With "press NAME": does the action of the showing push button NAME instead (exit 1: none).
# With "focus NAME": gives the keyboard focus to the showing object NAME (exit 1: none).
# With "lists GROUP": prints the current items of the lists directly in the showing group GROUP,
# one a line (a list is named after its current item).
import sys

import pyatspi


def walk(acc, out, depth=0):
    if depth > 40:
        return
    try:
        role = acc.getRoleName()
        name = acc.name or ''
        states = acc.getState()
    except Exception:
        return
    text = ''
    try:
        t = acc.queryText()
        text = t.getText(0, -1)
    except Exception:
        pass
    flags = [
        'showing' if states.contains(pyatspi.STATE_SHOWING) else '',
        'checked' if states.contains(pyatspi.STATE_CHECKED) else '',
        'enabled' if states.contains(pyatspi.STATE_ENABLED) else '',
    ]
    out.append('|'.join([role, name, text.replace('\n', ' ')] + flags))
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            walk(child, out, depth + 1)


def find_button(acc, name, depth=0):
    if depth > 40:
        return None
    try:
        if (acc.getRoleName() == 'push button' and (acc.name or '').replace('&', '') == name
                and acc.getState().contains(pyatspi.STATE_SHOWING)):
            return acc
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            found = child is not None and find_button(child, name, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def find_showing(acc, name, depth=0):
    if depth > 40:
        return None
    try:
        if (acc.name or '') == name and acc.getState().contains(pyatspi.STATE_SHOWING):
            return acc
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            found = child is not None and find_showing(child, name, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def programs():
    desktop = pyatspi.Registry.getDesktop(0)
    return [app for app in desktop if app is not None and (app.name or '').lower().startswith('zarvo')]


def main():
    if len(sys.argv) == 3 and sys.argv[1] == 'press':
        for app in programs():
            button = find_button(app, sys.argv[2])
            if button:
                button.queryAction().doAction(0)
                return 0
        return 1
    if len(sys.argv) == 3 and sys.argv[1] == 'focus':
        for app in programs():
            found = find_showing(app, sys.argv[2])
            if found:
                return 0 if found.queryComponent().grabFocus() else 1
        return 1
    if len(sys.argv) == 3 and sys.argv[1] == 'lists':
        for app in programs():
            group = find_showing(app, sys.argv[2])
            if group:
                for child in group:
                    if child is not None and child.getRoleName() == 'combo box':
                        print(child.name or '')
                return 0
        return 1
    out = []
    for app in programs():
        walk(app, out)
    print('\n'.join(out))
    return 0


if __name__ == '__main__':
    sys.exit(main())
