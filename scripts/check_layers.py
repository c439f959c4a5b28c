#!/usr/bin/env python3
"""Fails when an include points up the layers, or when the core reaches for Qt GUI or Widgets.

    platform -> model -> radio -> report (generation) -> report/print -> editor | report/window -> app

A layer may include its own headers and those of the layers below it; the editor and the report
window sit side by side and do not include each other. The core (platform, model, radio, report
generation) and the tools that link only the core (veskctl, vesksim) never include Qt GUI or
Widgets. The report printer (report/print) lays reports out on paper with Qt GUI but no widgets, so
that veskctl can write a report as PDF too; it is the one layer above the core that veskctl may
include. Pages and windows (editor, report window, app) and veskctl see the profile through the
model's own types: they never include the XML libraries, the platform's XML layer or the model's
node access. Linking catches an upward call; this catches what linking cannot see: a header-only
type, an inline function, a constant.

    check_layers.py [SOURCE_ROOT]
"""
import pathlib
import re
import sys

LEVEL = {"platform": 0, "model": 1, "radio": 2, "report": 3, "report/print": 4, "editor": 5,
         "report/window": 5, "app": 6}
CORE_LEVEL = LEVEL["report"]
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^">]+)[">]')
XML_HEADER = re.compile(r"^(libxml|libxslt)/")
XML_INCLUDE = re.compile(r"^(platform/xml/|model/profile_node_access\.h$)")
GUI_HEADER = re.compile(r"^(QtGui|QtWidgets|QtPrintSupport|QtHelp)/|^Q(Widget|Application|Image|"
                        r"Pixmap|Icon|Painter|Font|Color|Dialog|MessageBox|MainWindow|Action)\b")


def layer_of(path: str):
    """The layer a path below src/ (or an include's path) belongs to, or None."""
    for sub in ("report/window", "report/print"):
        if path.startswith(sub + "/"):
            return sub
    head = path.split("/", 1)[0]
    return head if head in LEVEL else None


def check_file(root: pathlib.Path, path: pathlib.Path, own, core: bool, sees_model: bool):
    faults = []
    rel = path.relative_to(root)
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        bracket, target = match.groups()
        if sees_model and (XML_HEADER.search(target) if bracket == "<" else XML_INCLUDE.search(target)):
            faults.append(f"{rel}:{number}: {own or path.parent.name} includes {target} (XML under the model)")
            continue
        if bracket == '"':
            other = layer_of(target)
            if own is not None and other is not None and other != own:
                if LEVEL[other] > LEVEL[own] or LEVEL[other] == LEVEL[own]:
                    faults.append(f"{rel}:{number}: {own} includes {target} ({other})")
            elif (own is None and core and other is not None and LEVEL[other] > CORE_LEVEL
                  and other != "report/print"):
                faults.append(f"{rel}:{number}: a core tool includes {target} ({other})")
        elif core and GUI_HEADER.search(target):
            faults.append(f"{rel}:{number}: the core includes <{target}> (Qt GUI or Widgets)")
    return faults


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    sources = sorted(p for p in (root / "src").rglob("*") if p.suffix in (".h", ".cpp"))
    for path in sources:
        own = layer_of(str(path.relative_to(root / "src")))
        if own is None:
            continue
        faults += check_file(root, path, own, LEVEL[own] <= CORE_LEVEL,
                             LEVEL[own] > CORE_LEVEL)
    for tool in ("veskctl", "vesksim"):
        for path in sorted((root / "tools" / tool).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                faults += check_file(root, path, None, True, tool == "veskctl")
    for fault in faults:
        print(fault)
    print(f"{len(sources)} sources checked, {len(faults)} includes out of place")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
