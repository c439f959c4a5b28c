#!/usr/bin/env python3
"""Runs the profile verb cases of cases.txt (or of CASES, written the same way) against veskctl
and its installation; exit status 1 when one fails. The file format is described at the top of
cases.txt.

usage: run_cases.py VESKCTL [REPO_ROOT [CASES]]
"""
import fnmatch
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NAMESPACE = "urn:corvane:vesk-kel:profile:1"
PLACEHOLDERS = ("in", "out", "dir", "templates", "template", "template_list")


class CaseError(Exception):
    pass


class Step:
    def __init__(self, line, args):
        self.line = line
        self.args = args
        self.exit = 0
        self.stdout = None  # ("=", text) or ("~", regex)
        self.stderr = None


class Patch:
    """Bytes written into a file between two runs, to make what no verb writes."""
    def __init__(self, line, target, offset, data):
        self.line = line
        self.target = target
        self.offset = offset
        self.data = data


class Case:
    def __init__(self, name, line):
        self.name = name
        self.line = line
        self.origin = None  # ("sample", path) or ("template", name)
        self.changes = []
        self.each_template = False
        self.writes = []
        self.without = None  # glob patterns left out of a private copy of the installation
        self.steps = []
        self.checks = []  # (line, kind, text)


def parse_cases(path):
    cases = []
    case = None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("== "):
                case = Case(line[3:].strip(), number)
                cases.append(case)
                continue
            if case is None:
                raise CaseError(f"{path}:{number}: text before the first case")
            if line.startswith("$ "):
                case.steps.append(Step(number, line[2:].strip()))
                continue
            match = re.fullmatch(r"([a-z]+)([:~]) ?(.*)", line)
            if not match:
                raise CaseError(f"{path}:{number}: cannot read '{line}'")
            key, tilde, value = match.group(1), match.group(2) == "~", match.group(3)
            step = case.steps[-1] if case.steps and isinstance(case.steps[-1], Step) else None
            if key == "from":
                kind, _, what = value.partition(" ")
                if kind not in ("sample", "template"):
                    raise CaseError(f"{path}:{number}: from: sample PATH or template NAME")
                case.origin = (kind, what.strip())
            elif key == "change":
                old, arrow, new = value.partition(" => ")
                if not arrow:
                    raise CaseError(f"{path}:{number}: change: OLD => NEW")
                case.changes.append((number, old, new))
            elif key == "each" and value.strip() == "template":
                case.each_template = True
            elif key == "install":
                kind, _, patterns = value.partition(" ")
                if kind != "without" or not patterns.split():
                    raise CaseError(f"{path}:{number}: install: without GLOB...")
                case.without = patterns.split()
            elif key == "write":
                name, _, text = value.partition(" ")
                case.writes.append((name, text))
            elif key in ("exit", "stdout", "stderr"):
                if step is None:
                    raise CaseError(f"{path}:{number}: '{key}' before any '$' step")
                if key == "exit":
                    step.exit = int(value)
                else:
                    setattr(step, key, ("~" if tilde else "=", value))
            elif key == "patch":
                parts = value.split()
                try:
                    case.steps.append(Patch(number, parts[0], int(parts[1], 0),
                                            bytes.fromhex("".join(parts[2:]))))
                except (IndexError, ValueError):
                    raise CaseError(f"{path}:{number}: patch: FILE OFFSET HEXBYTES")
            elif key in ("attr", "count", "same", "unchanged", "missing", "scrambled", "size"):
                case.checks.append((number, key, value))
            else:
                raise CaseError(f"{path}:{number}: unknown key '{key}'")
    return cases


def substitute(text, values, for_regex=False):
    def one(match):
        value = values.get(match.group(1))
        if value is None:
            raise CaseError(f"placeholder {{{match.group(1)}}} has no value here")
        return re.escape(value) if for_regex else value
    pattern = r"\{(" + "|".join(PLACEHOLDERS) + r")\}"
    return re.sub(pattern, one, text)


def snapshot(folder):
    """Every file below `folder` with its bytes: a refused run must leave exactly this."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            full = os.path.join(root, name)
            with open(full, "rb") as f:
                files[os.path.relpath(full, folder)] = f.read()
    return files


class Runner:
    def __init__(self, veskctl, root):
        self.veskctl = veskctl
        self.root = root
        self.env = None  # the environment of a case's private installation
        config = self.run(["config"])
        text = config.stdout.decode("utf-8", "replace")
        match = re.search(r"^InstallPath: +(.*)$", text, re.M)
        if config.returncode != 0 or not match:
            raise CaseError(f"veskctl config names no InstallPath:\n{text}")
        self.install_dir = match.group(1).strip()
        self.template_dir = os.path.join(self.install_dir, "profiletemplate")
        self.templates = sorted(
            (name[:-4] for name in os.listdir(self.template_dir)
             if name.lower().endswith(".vk4")
             and os.path.isfile(os.path.join(self.template_dir, name))),
            key=str.lower)

    def run(self, args):
        # No terminal on stdin: a question nobody answers must be taken as No.
        return subprocess.run([self.veskctl] + args, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120, env=self.env)

    def private_installation(self, scratch, patterns):
        """A copy of the installation without the files `patterns` match, and a machine hive
        that names it, so that a case can take away what an installation should have."""
        install = os.path.join(scratch, "install")
        shutil.copytree(self.install_dir, install)
        for root, _, names in os.walk(install):
            for name in names:
                relative = os.path.relpath(os.path.join(root, name), install)
                if any(fnmatch.fnmatch(relative, pattern) for pattern in patterns):
                    os.unlink(os.path.join(root, name))
        hive = os.path.join(scratch, "xdg", "Corvane")
        os.makedirs(hive)
        with open(os.path.join(hive, "Vesk Kel CPS.conf"), "w", encoding="utf-8") as f:
            f.write(f'[General]\nDefaultLanguage=English\nInstallPath="{install}"\n'
                    f"ShowContextHelp=1\n")
        env = dict(os.environ)
        env["XDG_CONFIG_DIRS"] = os.path.join(scratch, "xdg")
        return env, os.path.join(install, "profiletemplate")

    def decoded(self, path):
        run = self.run(["decode", path])
        if run.returncode != 0:
            raise CaseError(f"decode {path} exited {run.returncode}: {run.stderr.decode()}")
        return run.stdout.decode("utf-8")

    def prepare(self, case, scratch, template):
        template_dir = self.template_dir
        if case.without:
            self.env, template_dir = self.private_installation(scratch, case.without)
        values = {"dir": scratch, "in": os.path.join(scratch, "in.vk4"),
                  "out": os.path.join(scratch, "out.vk4"), "templates": template_dir,
                  "template_list": "\n".join(self.templates)}
        if template is not None:
            values["template"] = template
        origin = ("template", template) if template is not None else case.origin
        if origin and origin[0] == "template":
            source = os.path.join(self.template_dir, substitute(origin[1], values) + ".vk4")
            if not os.path.isfile(source):
                raise CaseError(f"no installed template {source}")
            shutil.copyfile(source, values["in"])
        elif origin:
            with open(os.path.join(self.root, "tests", "data", "profiles", origin[1]),
                      encoding="utf-8") as f:
                text = f.read()
            for number, old, new in case.changes:
                if text.count(old) != 1:
                    raise CaseError(f"line {number}: '{old}' occurs {text.count(old)} times "
                                    f"in {origin[1]}, not once")
                text = text.replace(old, new)
            plain = os.path.join(scratch, "start.xml")
            with open(plain, "w", encoding="utf-8") as f:
                f.write(text)
            encoded = self.run(["encode", plain, "-o", values["in"]])
            if encoded.returncode != 0:
                raise CaseError(f"encode {origin[1]} exited {encoded.returncode}: "
                                f"{encoded.stderr.decode()}")
            os.unlink(plain)
        for name, text in case.writes:
            with open(os.path.join(scratch, name), "w", encoding="utf-8") as f:
                f.write(text.replace("\\n", "\n"))
        return values

    def check_stream(self, label, want, got, values, step):
        if want is None:
            # A run that succeeds says nothing on stderr unless the case expects it.
            if label == "stderr" and step.exit == 0 and got:
                raise CaseError(f"line {step.line}: unexpected stderr {got!r}")
            return
        kind, text = want
        if kind == "=":
            expected = substitute(text, values).replace("\\n", "\n") + "\n"
            if got != expected:
                raise CaseError(f"line {step.line}: {label}\n  want {expected!r}\n  got  {got!r}")
        elif not re.search(substitute(text, values, for_regex=True), got):
            raise CaseError(f"line {step.line}: {label} does not match {text!r}\n  got {got!r}")

    def run_step(self, step, values, scratch):
        args = shlex.split(substitute(step.args, values))
        if not args or args[0] != "veskctl":
            raise CaseError(f"line {step.line}: a step is '$ veskctl ARGS'")
        args = args[1:]
        before = snapshot(scratch)
        run = self.run(args)
        stdout = run.stdout.decode("utf-8", "replace")
        stderr = run.stderr.decode("utf-8", "replace")
        if run.returncode != step.exit:
            raise CaseError(f"line {step.line}: exit {run.returncode}, want {step.exit}\n"
                            f"  stdout {stdout!r}\n  stderr {stderr!r}")
        self.check_stream("stdout", step.stdout, stdout, values, step)
        self.check_stream("stderr", step.stderr, stderr, values, step)
        if step.exit != 0 and snapshot(scratch) != before:
            raise CaseError(f"line {step.line}: a refused run wrote or changed files")
        return before

    def element(self, tree, steps, number):
        node = tree
        for step in steps:
            match = re.fullmatch(r"([A-Za-z_]\w*)(?:\[(\d+)\])?", step)
            if not match:
                raise CaseError(f"line {number}: bad path step '{step}'")
            found = node.findall(f"{{{NAMESPACE}}}{match.group(1)}")
            index = int(match.group(2) or 1)
            if index > len(found):
                return None
            node = found[index - 1]
        return node

    def check(self, number, kind, text, values, start):
        text = substitute(text, values)
        if kind in ("attr", "count"):
            target, _, rest = text.partition(" ")
            path, eq, want = rest.partition(" = ")
            if not eq:
                raise CaseError(f"line {number}: {kind}: FILE PATH = VALUE")
            tree = ET.fromstring(self.decoded(target).encode("utf-8"))
            steps = path.strip().split("/")
            if kind == "attr":
                node = self.element(tree, steps[:-1], number)
                got = None if node is None else node.get(steps[-1])
                got = "(absent)" if got is None else got
            else:
                node = self.element(tree, steps[:-1], number)
                got = "0" if node is None else str(len(node.findall(f"{{{NAMESPACE}}}{steps[-1]}")))
            if got != want:
                raise CaseError(f"line {number}: {kind} {path}: want {want!r}, got {got!r}")
        elif kind == "same":
            first, second = shlex.split(text)
            if self.decoded(first) != self.decoded(second):
                raise CaseError(f"line {number}: the texts of {first} and {second} differ")
        elif kind == "unchanged":
            relative = os.path.relpath(text.strip(), values["dir"])
            with open(text.strip(), "rb") as f:
                if f.read() != start.get(relative):
                    raise CaseError(f"line {number}: {text} changed")
        elif kind == "scrambled":
            with open(text.strip(), "rb") as f:
                data = f.read()
            units = [data[i:i + 2] for i in range(2, len(data), 2)]
            if (data[:2] != b"\xff\xfe" or len(data) % 2 or b"\x00\x00" in units
                    or data[2:4] == b"<\x00"):
                raise CaseError(f"line {number}: {text} is no scrambled profile file")
        elif kind == "size":
            target, eq, want = text.partition(" = ")
            if not eq:
                raise CaseError(f"line {number}: size: FILE = BYTES")
            got = os.path.getsize(target.strip())
            if got != int(want):
                raise CaseError(f"line {number}: {target} is {got} bytes, want {want}")
        elif kind == "missing":
            if os.path.exists(text.strip()):
                raise CaseError(f"line {number}: {text} exists")

    def patch(self, patch, values):
        target = substitute(patch.target, values)
        with open(target, "r+b") as f:
            f.seek(patch.offset)
            f.write(patch.data)

    def run_case(self, case, template=None):
        scratch = tempfile.mkdtemp(prefix="profile_verbs_")
        try:
            values = self.prepare(case, scratch, template)
            start = snapshot(scratch)
            for step in case.steps:
                if isinstance(step, Patch):
                    self.patch(step, values)
                else:
                    self.run_step(step, values, scratch)
            for number, kind, text in case.checks:
                self.check(number, kind, text, values, start)
        finally:
            self.env = None
            shutil.rmtree(scratch, ignore_errors=True)


def main():
    veskctl = os.path.abspath(sys.argv[1])
    root = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "..", "..")
    here = os.path.dirname(os.path.abspath(__file__))
    cases_file = sys.argv[3] if len(sys.argv) > 3 else os.path.join(here, "cases.txt")
    cases_name = os.path.basename(cases_file)
    runner = Runner(veskctl, root)
    if not runner.templates:
        print(f"FAIL no templates in {runner.template_dir}")
        return 1
    passed = failed = 0
    for case in parse_cases(cases_file):
        rows = runner.templates if case.each_template else [None]
        for template in rows:
            label = case.name + (f" [{template}]" if template else "")
            try:
                runner.run_case(case, template)
                passed += 1
            except (CaseError, subprocess.TimeoutExpired, ET.ParseError, OSError) as error:
                failed += 1
                print(f"FAIL {label} ({cases_name}:{case.line}): {error}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
