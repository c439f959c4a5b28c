#!/usr/bin/env python3
"""Runs the rule script cases of cases*.txt and the *.vbsinc effect checks with veskctl;
exit status 1 when one fails.

usage: run_cases.py VESKCTL [REPO_ROOT]
"""
import os
import shlex
import subprocess
import sys
import tempfile


def run_effects(veskctl, root, script, path):
    """Runs DataProfile.vbs with the statements of path appended; each "' expect: X" comment
    gives the next line the statements print."""
    with open(script, encoding="utf-8") as f:
        rules = f.read()
    with open(path, encoding="utf-8") as f:
        tail = f.read()
    profile = None
    want = []
    for line in tail.splitlines():
        if line.startswith("' xml:"):
            profile = line[len("' xml:"):].strip()
        elif "' expect: " in line:
            want.append(line.split("' expect: ", 1)[1])
    with tempfile.NamedTemporaryFile("w", suffix=".vbs", delete=False, encoding="utf-8") as out:
        out.write(rules + "\n" + tail)
        combined = out.name
    try:
        run = subprocess.run([veskctl, "script", combined, "--xml", os.path.join(root, profile)],
                             capture_output=True, text=True)
    finally:
        os.unlink(combined)
    got = run.stdout.splitlines()
    if got == want and run.returncode == 0:
        return True
    print(f"FAIL {os.path.basename(path)} (exit {run.returncode}) {run.stderr.strip()}")
    for i in range(max(len(got), len(want))):
        w = want[i] if i < len(want) else "<none>"
        g = got[i] if i < len(got) else "<none>"
        if w != g:
            print(f"  line {i + 1}: want {w!r}\n          got  {g!r}")
    return False


def main():
    veskctl = sys.argv[1]
    root = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "..", "..")
    script = os.path.join(root, "install", "profiletemplate", "DataProfile.vbs")
    here = os.path.dirname(os.path.abspath(__file__))
    failed = passed = 0
    for name in sorted(os.listdir(here)):
        if not (name.startswith("cases") and name.endswith(".txt")):
            continue
        profile = None
        with open(os.path.join(here, name), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if line.startswith("# xml:"):
                    profile = line[len("# xml:"):].strip()
                    continue
                if not line.strip() or line.startswith("#"):
                    continue
                handler, args, expected = (part.strip() for part in line.split("|"))
                cmd = [veskctl, "script", script, "--xml", os.path.join(root, profile),
                       "--call", handler] + shlex.split(args)
                run = subprocess.run(cmd, capture_output=True, text=True)
                got = run.stdout.rstrip("\n")
                want = expected.replace("\\n", "\n")
                if got == want and run.returncode == 0:
                    passed += 1
                else:
                    failed += 1
                    print(f"FAIL {name}:{number}: {handler} {args}\n  want: {want!r}\n"
                          f"  got:  {got!r} (exit {run.returncode}) {run.stderr.strip()}")
    for name in sorted(os.listdir(here)):
        if not name.endswith(".vbsinc"):
            continue
        ok = run_effects(veskctl, root, script, os.path.join(here, name))
        passed, failed = (passed + 1, failed) if ok else (passed, failed + 1)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
