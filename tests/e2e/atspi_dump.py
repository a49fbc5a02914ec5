#!/usr/bin/python3
# Prints every accessible object of the running Zarvo, one per line:
# role|name|text|showing|checked|enabled
# With "press NAME": does the action of the showing push button NAME instead (exit 1: none).
# With "focus NAME": gives the keyboard focus to the showing object NAME (exit 1: none).
# With "unnamed": prints the showing focusable controls that have no name a person would read
# (exit 1: some).
# With "lists GROUP": prints the current items of the lists directly in the showing group GROUP,
# one a line (a list is named after its current item).
import re
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


# A programming name, not a name a person would read: btnOK, chkPlaySound, Label13, BitBtn1.
IDENTIFIER = re.compile(r'^([a-z]{2,4}[A-Z]\w*|(Label|BitBtn|Panel|GroupBox|Image|Bevel|Button)\d+)$')


def human(name):
    name = (name or '').strip()
    return bool(name) and not IDENTIFIER.match(name) and not name.replace(':', '').isdigit()


def labelled_by(acc):
    """The names of the objects the object is labelled by."""
    names = []
    try:
        for relation in acc.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    target = relation.getTarget(i)
                    names.append((target.name or '') if target is not None else '')
    except Exception:
        pass
    return names


def unnamed(acc, out, depth=0):
    """Focusable, showing controls a screen reader could only call by a programming name or a
    value: a combo box is named by its value, so it needs a label of its own."""
    if depth > 40:
        return
    try:
        role = acc.getRoleName()
        states = acc.getState()
        name = acc.name or ''
    except Exception:
        return
    if states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_FOCUSABLE) \
            and role not in ('frame', 'dialog', 'window', 'page tab list', 'list item', 'menu item'):
        labels = [n for n in labelled_by(acc) if human(n)]
        named = (role != 'combo box' and human(name)) or labels
        if not named:
            out.append('%s|%s|labelled by: %s' % (role, name, ','.join(labelled_by(acc))))
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            unnamed(child, out, depth + 1)


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
    if len(sys.argv) == 2 and sys.argv[1] == 'unnamed':
        out = []
        for app in programs():
            unnamed(app, out)
        print('\n'.join(out))
        return 1 if out else 0
    out = []
    for app in programs():
        walk(app, out)
    print('\n'.join(out))
    return 0


if __name__ == '__main__':
    sys.exit(main())
