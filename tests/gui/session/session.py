#!/usr/bin/python3
"""A dealer's session through the real veskcps, read and worked through the accessibility bus.

New from the first template, a change on every page, Save, Write to the simulated radio, Read it
back into a new window, Save that too; then `veskctl diff` must find the two files equal.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "a11y"))

import pyatspi  # noqa: E402

from walk import act, find, find_app, select_node, shot, walk, window  # noqa: E402


def arg(name):
    return sys.argv[sys.argv.index(name) + 1] if name in sys.argv else None


def labelled_control(root, label):
    """The control a label names (its buddy), found through the label relation."""
    node = find(root, pyatspi.ROLE_LABEL, label)
    if node is None:
        return None
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
            return relation.getTarget(0)
    return None


def type_into(field, text, then="Tab"):
    """Types into a field as a person types: the field focused, its text replaced, then a key
    (Tab moves on, which commits the field)."""
    field.queryComponent().grabFocus()
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=False)
    if then:
        subprocess.run(["xdotool", "key", then], check=False)
    time.sleep(0.5)


def press(node):
    """Works a button or a check box by its first action."""
    act(node)
    time.sleep(0.4)


def wait_for(predicate, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        result = predicate()
        if result:
            return result
        time.sleep(0.3)
    return None


def save_as(app, main_window, path):
    """File > Save on a profile without a file: the save dialog, the path typed in, Save."""
    act(find(main_window, pyatspi.ROLE_MENU_ITEM, "Save"))
    dialog = wait_for(lambda: find_dialog(app), timeout=15)
    if dialog is None:
        return "no save dialog"
    name = None

    def visit(node):
        nonlocal name
        try:
            if name is None and node.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) and \
                    node.getState().contains(pyatspi.STATE_EDITABLE):
                name = node
        except Exception:
            pass
    walk(dialog, visit)
    if name is None:
        return "no file name field in the save dialog"
    name.queryEditableText().setTextContents(path)
    time.sleep(0.3)
    button = find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Save")
    if button is None:
        return "no Save button in the save dialog"
    press(button)
    if not wait_for(lambda: os.path.exists(path), timeout=15):
        return f"{path} was not written"
    return None


def find_dialog(app):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        try:
            if child is not None and child.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FILE_CHOOSER) \
                    and child.getState().contains(pyatspi.STATE_SHOWING):
                return child
        except Exception:
            pass
    return None


def main():
    work = arg("--work")
    veskctl = arg("--veskctl")
    shots = arg("--shots")
    problems = []
    app = find_app("ZN420 CPS")
    main_window = window(app, "ZN420 CPS")
    if main_window is None:
        sys.exit("the main window did not appear")

    # New from the first template of the list.
    act(find(main_window, pyatspi.ROLE_MENU_ITEM, "New"))
    dialog = window(app, "New Profile")
    if dialog is None:
        sys.exit("'New' opened no window")
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    time.sleep(1.0)

    # A change on every page.
    changes = [
        ("General Settings", "Disable All LEDs"),
        ("Audio Settings", "Keypad Beep"),
        ("Buttons", "Keypad Lock"),
        ("CH 02", "Auto Scan"),
    ]
    for node, label in changes:
        problems += select_node(main_window, node)
        time.sleep(0.8)
        control = labelled_control(main_window, label)
        if control is None:
            problems.append(f"{node}: no control labelled '{label}'")
            continue
        press(control)

    problems += select_node(main_window, "Customized KT")
    time.sleep(0.8)
    tone = labelled_control(main_window, "KT Code 124 (Hz)")
    if tone is None:
        problems.append("Customized KT: no tone fields")
    else:
        type_into(tone, "150.0")

    problems += select_node(main_window, "Scan List")
    time.sleep(0.8)
    members = labelled_control(main_window, "Scan List Members")
    if members is None:
        problems.append("Scan List: no members list")
    else:
        members.queryTable().addRowSelection(0)
        time.sleep(0.3)
        press(find(main_window, pyatspi.ROLE_PUSH_BUTTON, "<<Remove"))

    # A frequency added to the table: Add, the frequency typed, Save.
    problems += select_node(main_window, "RF Frequency")
    time.sleep(0.8)
    field = labelled_control(main_window, "Frequency (MHz)")
    if field is None:
        problems.append("RF Frequency: no frequency field")
    else:
        page = field.parent
        press(find(page, pyatspi.ROLE_PUSH_BUTTON, "Add"))
        type_into(field, "462.55", then=None)
        press(find(page, pyatspi.ROLE_PUSH_BUTTON, "Save"))

    # A channel renamed on its page.
    problems += select_node(main_window, "CH 16")
    time.sleep(0.8)
    name = labelled_control(main_window, "Name")
    if name is None:
        problems.append("CH 16: no name field")
    else:
        type_into(name, "LOBBY")
    shot(shots, "session_changed")

    first = os.path.join(work, "written.vk4")
    error = save_as(app, main_window, first)
    if error:
        problems.append(error)

    # Write to the radio, then read it back into a new window.
    for command, done in (("Write", "Write Successfully!"), ("Read", "Read Successfully!")):
        item = find(main_window, pyatspi.ROLE_MENU_ITEM, command)
        # After a write the radio restarts: the commands wait for it.
        if not wait_for(lambda: item.getState().contains(pyatspi.STATE_ENABLED), timeout=20):
            problems.append(f"{command} never enabled")
            break
        act(item)
        progress = wait_for(lambda: find(app, None, done), timeout=120)
        if progress is None:
            problems.append(f"{command}: never '{done}'")
            break
        dialog = find_dialog(app)
        press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        if command == "Read":
            # Into a new profile window.
            question = wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "Yes"), timeout=15)
            if question is None:
                problems.append("Read: no question where to put the profile")
            else:
                press(question)
        time.sleep(1.0)
    shot(shots, "session_read")

    second = os.path.join(work, "read.vk4")
    error = save_as(app, main_window, second)
    if error:
        problems.append(error)

    if not problems:
        diff = subprocess.run([veskctl, "diff", first, second], capture_output=True, text=True,
                              timeout=60)
        if diff.returncode != 0:
            problems.append(f"veskctl diff: {diff.returncode}\n{diff.stdout}{diff.stderr}")
        # The session's changes are in what was written: the file is no longer the template.
        template = arg("--template")
        changed = subprocess.run([veskctl, "diff", template, first], capture_output=True,
                                 text=True, timeout=60)
        print(changed.stdout)
        for field in ("disableLED", "keypadBeep", "autoScan", "KTcode124", "in_scanlist",
                      "channel 16 name", "frequency 15", "keypadLock"):
            if field not in changed.stdout:
                problems.append(f"the written profile does not differ from the template in {field}")

    for p in problems:
        print(p)
    print(f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
