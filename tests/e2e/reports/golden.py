#!/usr/bin/env python3
"""The reports of two templates as veskctl writes them, byte for byte against the files in
tests/data/reports: the detailed report of a display repeater in German, the handout of a rotary
handheld in English. A change of a style sheet, a token row or the generation shows here first;
when it is meant, write the files anew with --update and read the difference.

    golden.py VESKCTL SOURCE_DIR SCRATCH [--update]
"""
import os
import pathlib
import subprocess
import sys

VESKCTL, SOURCE, SCRATCH = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
UPDATE = "--update" in sys.argv
CASES = [
    ("German", "detailed", "CUD41670", "CUD41670_detailed_de.htm"),
    ("English", "handout", "CUR40800", "CUR40800_handout_en.htm"),
]
DEALER = ("Northline Radio & Co\\nHarbour Road 12", "Service: Mon-Fri <9-17>",
          "Tel. 01224 555 010\\n$#Model stays as typed")


def main():
    failed = 0
    for language, kind, model, golden in CASES:
        home = SCRATCH / language
        hive = home / "config" / "Corvane" / "Vesk Kel CPS.conf"
        hive.parent.mkdir(parents=True, exist_ok=True)
        left, middle, right = DEALER
        hive.write_text(f"[General]\nCurrentLanguage={language}\n\n[Language]\n"
                        f"{language}\\DealerInfoLeft={left}\n"
                        f"{language}\\DealerInfoMiddle={middle}\n"
                        f"{language}\\DealerInfoRight={right}\n", encoding="utf-8")
        out = home / golden
        env = dict(os.environ, XDG_CONFIG_HOME=str(home / "config"), HOME=str(home))
        made = subprocess.run([VESKCTL, "report", kind,
                               str(SOURCE / "install" / "profiletemplate" / f"{model}.vk4"),
                               "-o", str(out)], env=env, capture_output=True, text=True)
        if made.returncode != 0:
            print(f"FAIL: {golden}: veskctl: {made.stderr.strip()}")
            failed += 1
            continue
        expected = SOURCE / "tests" / "data" / "reports" / golden
        if UPDATE:
            expected.write_bytes(out.read_bytes())
        elif not expected.exists() or expected.read_bytes() != out.read_bytes():
            print(f"FAIL: {golden} differs from {expected}: diff {out} {expected}")
            failed += 1
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
