#!/usr/bin/python3
"""Reads the running veskcps through the accessibility bus, as a screen reader would.

Opens the main window's dialogs through their menu commands (New Profile, Dealer Information,
About), and fails when a control that takes input or shows state has no accessible name, or when
a window never appears. With --shots FOLDER it saves a screenshot of each dialog it opened.
"""

import subprocess
import sys
import time

import pyatspi

# Roles a person works with; each must say what it is.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_ENTRY,
}


def find_app(name, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.3)
    sys.exit(f"no application '{name}' on the accessibility bus")


def walk(node, visit, depth=0):
    if node is None or depth > 40:
        return
    visit(node)
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), visit, depth + 1)


checked = {"count": 0}


def labels_something(node):
    try:
        return any(r.getRelationType() == pyatspi.RELATION_LABEL_FOR
                   for r in node.getRelationSet())
    except Exception:
        return False


def labelled(node):
    try:
        return any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                   for r in node.getRelationSet())
    except Exception:
        return False


def unnamed(root):
    found = []

    def visit(node):
        try:
            role = node.getRole()
            showing = node.getState().contains(pyatspi.STATE_SHOWING)
        except Exception:
            return
        if role in NAMED_ROLES and showing:
            checked["count"] += 1
        # A drop-down list reads its chosen item as its name: what it is for comes from its label.
        if role == pyatspi.ROLE_COMBO_BOX and showing and not labelled(node):
            found.append(f"combo box {node.name!r} has no label")
        if role in NAMED_ROLES and showing and not (node.name or "").strip():
            path = []
            parent = node
            while parent is not None and len(path) < 4:
                path.append(f"{parent.getRoleName()}:{parent.name!r}")
                parent = parent.parent
            found.append(" < ".join(path))

    walk(root, visit)
    return found


def find(root, role, name):
    """The first node of `role` (any role when None) whose name starts with `name`."""
    result = []

    def visit(node):
        try:
            if (role is None or node.getRole() == role) and \
                    (node.name or "").replace("&", "").startswith(name):
                result.append(node)
        except Exception:
            pass

    walk(root, visit)
    return result[0] if result else None


def window(app, title, timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and title in (child.name or "") and \
                    child.getState().contains(pyatspi.STATE_SHOWING):
                return child
        time.sleep(0.2)
    return None


def select_node(root, name):
    """Selects a node of the navigation tree (the tree that holds "General Settings"; pages have
    lists of channels too) through the tree's table interface."""
    matches = []

    def visit(node):
        try:
            if node.getRole() == pyatspi.ROLE_TABLE_CELL and (node.name or "") == name:
                matches.append(node)
        except Exception:
            pass

    walk(root, visit)
    for node in matches:
        tree = node.parent
        while tree is not None and tree.getRole() not in (pyatspi.ROLE_TREE,
                                                           pyatspi.ROLE_TREE_TABLE):
            tree = tree.parent
        if tree is None or find(tree, pyatspi.ROLE_TABLE_CELL, "General Settings") is None:
            continue
        # Qt's tree offers its rows through the table interface.
        try:
            table = tree.queryTable()
            table.addRowSelection(table.getRowAtIndex(node.getIndexInParent()))
        except Exception as error:
            return [f"tree node '{name}' cannot be selected: {error!r}"]
        return []
    return [f"no tree node '{name}'"]


def act(node):
    """Works the control's first action. A command that opens a modal dialog answers only when
    the dialog closes, so a missing answer is waited for no longer than a moment."""
    from gi.repository import Atspi, GLib
    Atspi.set_timeout(1500, 15000)
    try:
        node.queryAction().doAction(0)
    except GLib.GError:
        pass
    finally:
        Atspi.set_timeout(25000, 15000)


def shot(folder, name):
    if folder:
        time.sleep(0.6)
        subprocess.run(["import", "-window", "root", f"{folder}/{name}.png"], check=False)


def report_windows(app, main_window, shots):
    """The Report command on the open profile: the choice of report, then each report's window,
    read through the bus, its view holding the report, and closed with its Close button."""
    problems = []
    for kind, row, words in (("handout", 0, "Customer Handout"), ("detailed", 1, "Detailed Report")):
        # The toolbar's button: the menu bar's item of that name only opens its menu.
        item = find(main_window, pyatspi.ROLE_PUSH_BUTTON, "Report")
        if item is None:
            return ["no toolbar button 'Report'"]
        act(item)
        choice = window(app, "Reports")
        if choice is None:
            return ["'Report' opened no window 'Reports'"]
        problems += [f"report choice: {p}" for p in unnamed(choice)]
        names = find(choice, pyatspi.ROLE_LIST, "")
        try:
            names.queryTable().addRowSelection(row)
        except Exception as error:
            problems.append(f"report choice: the {kind} cannot be chosen: {error!r}")
        shot(shots, f"report_choice_{kind}")
        act(find(choice, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        time.sleep(1.5)
        shown = window(app, "Reports")
        if shown is None or find(shown, pyatspi.ROLE_PUSH_BUTTON, "Print Preview") is None:
            problems.append(f"no report window for the {kind}")
            continue
        shot(shots, f"report_{kind}")
        problems += [f"{kind} report window: {p}" for p in unnamed(shown)]
        # The view is named after the report and holds its text.
        text = ""
        view = find(shown, None, words)
        try:
            body = view.queryText()
            text = body.getText(0, body.characterCount)
        except Exception as error:
            problems.append(f"{kind} report window: its view gives no text: {error!r}")
        if words not in text:
            problems.append(f"{kind} report window: the view does not hold '{words}'")
        act(find(shown, pyatspi.ROLE_PUSH_BUTTON, "Close"))
        time.sleep(0.5)
    return problems


def every_template(main_window, program, shots):
    """Each installed template, handed to the running copy by a second start (as a file manager
    hands a file over): every page of its window is read, the fixed nodes and its first channel."""
    import glob
    import os
    import shutil
    import tempfile
    problems = []
    templates = os.path.join(os.path.dirname(program), "..", "stage", "share", "veskcps",
                             "profiletemplate")
    folder = tempfile.mkdtemp()
    files = sorted(glob.glob(os.path.join(templates, "*.vk4")))
    if len(files) < 9:
        problems.append(f"only {len(files)} templates found in {templates}")
    for template in files:
        name = "handed-" + os.path.basename(template)
        given = os.path.join(folder, name)
        shutil.copy(template, given)
        second = subprocess.run([program, given], timeout=30, check=False)
        if second.returncode != 0:
            problems.append(f"{name}: the second start ended with {second.returncode}")
        end = time.time() + 15
        while time.time() < end and find(main_window, None, name) is None:
            time.sleep(0.3)
        frame = find(main_window, None, name)
        if frame is None:
            problems.append(f"{name}: the profile a second start handed over did not open")
            continue
        nodes = []

        def visit(node):
            try:
                if node.getRole() == pyatspi.ROLE_TABLE_CELL and node.name:
                    nodes.append(node.name)
            except Exception:
                pass

        tree = find(frame, pyatspi.ROLE_TABLE_CELL, "General Settings")
        if tree is None:
            problems.append(f"{name}: no navigation tree")
            continue
        walk(tree.parent, visit)
        # The fixed nodes, then the first channel: all channels share one page.
        fixed = [n for n in nodes if not n.startswith(("CH ", "RPT ", "TA ", "SIMP "))]
        channels = [n for n in nodes if n not in fixed]
        for node in fixed + channels[:1]:
            problems += [f"{name}: {p}" for p in select_node(frame, node)]
            time.sleep(0.4)
            problems += [f"{name} / {node}: {p}" for p in unnamed(frame)]
        shot(shots, name)
    shutil.rmtree(folder, ignore_errors=True)
    return problems


def main():
    shots = sys.argv[sys.argv.index("--shots") + 1] if "--shots" in sys.argv else None
    app = find_app(sys.argv[1] if len(sys.argv) > 1 and not sys.argv[1].startswith("-") else "ZN420 CPS")
    main_window = window(app, "ZN420 CPS")
    if main_window is None:
        sys.exit("the main window did not appear")
    problems = [f"main window: {p}" for p in unnamed(main_window)]
    # The menu titles and the toolbar's buttons at the least: a walk that sees fewer saw
    # nothing of the window.
    if checked["count"] < 15:
        problems.append(f"main window: only {checked['count']} controls seen")

    # Each dialog through its menu command, then away with its cancelling button.
    dialogs = [
        ("New", "New Profile", "Cancel", "new_profile"),
        ("Dealer Info", "Dealer Information", "Cancel", "dealer_info"),
        ("About", "About ZN420 CPS", "OK", "about"),
    ]
    for command, title, close, name in dialogs:
        item = find(main_window, pyatspi.ROLE_MENU_ITEM, command)
        if item is None:
            problems.append(f"no menu command '{command}'")
            continue
        act(item)
        dialog = window(app, title)
        if dialog is None:
            problems.append(f"'{command}' opened no window '{title}'")
            continue
        shot(shots, name)
        before = checked["count"]
        problems += [f"{title}: {p}" for p in unnamed(dialog)]
        if checked["count"] - before < 1:
            problems.append(f"{title}: no controls seen")
        button = find(dialog, pyatspi.ROLE_PUSH_BUTTON, close)
        if button is None:
            problems.append(f"{title}: no button '{close}'")
        else:
            act(button)
        time.sleep(0.3)

    # A profile window: New, and the dialog's OK.
    act(find(main_window, pyatspi.ROLE_MENU_ITEM, "New"))
    dialog = window(app, "New Profile")
    if dialog is not None:
        act(find(dialog, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        time.sleep(1.0)
        shot(shots, "profile_window")
        problems += [f"profile window: {p}" for p in unnamed(main_window)]
        # The radio information page is read by its labels, and the help pane by its name.
        for field in ("Regional Code", "Serial Number", "Firmware Version", "Codeplug Version",
                      "Frequency Range (MHz)", "Maximum Channel"):
            if find(main_window, pyatspi.ROLE_TEXT, field) is None:
                problems.append(f"profile window: no field named '{field}'")
        if find(main_window, None, "Help Pane") is None:
            problems.append("profile window: no help pane")
        # A channel's page, reached through the tree as a screen reader user selects a node.
        problems += select_node(main_window, "CH 01")
        time.sleep(1.0)
        shot(shots, "channel_page")
        problems += [f"channel page: {p}" for p in unnamed(main_window)]
        problems += select_node(main_window, "General Settings")
        time.sleep(1.0)
        shot(shots, "settings_page")
        problems += [f"settings page: {p}" for p in unnamed(main_window)]
        if find(main_window, pyatspi.ROLE_PASSWORD_TEXT, "") is None:
            problems.append("settings page: no password field")
        for node, page in (("Audio Settings", "audio page"), ("Customized KT", "customized KT page"),
                           ("Scan List", "scan list page"), ("Channels", "channels page"),
                           ("Buttons", "buttons page")):
            problems += select_node(main_window, node)
            time.sleep(1.0)
            problems += [f"{page}: {p}" for p in unnamed(main_window)]
        problems += select_node(main_window, "RF Frequency")
        time.sleep(1.0)
        shot(shots, "frequency_page")
        problems += [f"frequency page: {p}" for p in unnamed(main_window)]
        for label in ("Bandwidth", "Power Level"):
            node = find(main_window, pyatspi.ROLE_LABEL, label)
            if node is None or not labels_something(node):
                problems.append(f"frequency page: no label '{label}' naming a control")
        problems += select_node(main_window, "CH 01")
        time.sleep(1.0)
        for label in ("Name", "Frequency (MHz)", "KT/VRC Code", "Scramble", "Auto Scan"):
            node = find(main_window, pyatspi.ROLE_LABEL, label)
            if node is None or not labels_something(node):
                problems.append(f"channel page: no label '{label}' naming a control")
        problems += report_windows(app, main_window, shots)
    else:
        problems.append("'New' opened no window the second time")

    # A second start hands its profile to this copy and ends.
    if "--program" in sys.argv:
        problems += every_template(main_window, sys.argv[sys.argv.index("--program") + 1], shots)

    print(f"{checked['count']} controls checked")
    for p in problems:
        print(p)
    print(f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
