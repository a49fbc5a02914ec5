#!/usr/bin/python3
# Prints every accessible object of the running Zarvo, one per line:
# role|name|text|showing|checked|enabled
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


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    out = []
    for app in desktop:
        if app is not None and (app.name or '').lower().startswith('zarvo'):
            walk(app, out)
    print('\n'.join(out))
    return 0


if __name__ == '__main__':
    sys.exit(main())
