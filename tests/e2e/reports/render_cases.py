#!/usr/bin/env python3
"""Both reports of every installed template, in English and in German, as a dealer prints them:
made by veskctl (HTML, and PDF through the program's own Qt layout), then printed by headless
Chromium. Each PDF must hold every channel name and frequency of the profile (a clipped table
loses them), every word inside its page, the handout on one page with all its pictures.

    render_cases.py VESKCTL TEMPLATE_DIR SCRATCH
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

VESKCTL, TEMPLATES, SCRATCH = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
NS = "{urn:corvane:vesk-kel:profile:1}"
DEALER = {
    "English": ("Northline Radio Ltd\\nHarbour Road 12\\nAberdeen", "Service every first Monday.",
                "Tel. 01224 555 010\\nservice@northline.example"),
    "German": ("Funkhaus Nord GmbH\\nHafenstrasse 12\\n24103 Kiel",
               "Wartung jeden ersten Montag im Monat.", "Tel. 0431 123456"),
}
SEPARATOR = {"English": ".", "German": ","}
passed = failed = 0


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL:", what)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kw)


def pdf_pages(path):
    out = run(["pdfinfo", str(path)]).stdout
    match = re.search(r"^Pages:\s+(\d+)", out, re.M)
    return int(match.group(1)) if match else 0


def pdf_text(path):
    return run(["pdftotext", "-layout", str(path), "-"]).stdout


def words_outside(path):
    """Words whose box leaves their page: what a printer would cut off."""
    html = run(["pdftotext", "-bbox", str(path), "-"]).stdout
    outside = []
    for page in re.finditer(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>', html, re.S):
        width, height = float(page.group(1)), float(page.group(2))
        for word in re.finditer(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" '
                                r'yMax="([-\d.]+)">([^<]*)</word>', page.group(3)):
            x0, y0, x1, y1 = (float(word.group(i)) for i in range(1, 5))
            if x0 < 0 or y0 < 0 or x1 > width + 0.5 or y1 > height + 0.5:
                outside.append(word.group(5))
    return outside


def pdf_images(path):
    lines = run(["pdfimages", "-list", str(path)]).stdout.splitlines()
    return max(0, len(lines) - 2)


def profile_facts(template, language):
    text = run([VESKCTL, "decode", str(template)]).stdout
    root = ET.fromstring(text)
    names = [c.get("name") for c in root.iter(NS + "channel")]
    freqs = []
    for f in root.iter(NS + "frequency"):
        mhz = int(f.get("freq")) / 1e6
        freqs.append(f"{mhz:.4f}")
    model = root.find(NS + "factory_setting").get("model")
    return names, [x.replace(".", SEPARATOR[language]) for x in freqs], model


def write_hive(home, language):
    hive = home / "config" / "Corvane" / "Vesk Kel CPS.conf"
    hive.parent.mkdir(parents=True, exist_ok=True)
    left, middle, right = DEALER[language]
    hive.write_text(f"[General]\nCurrentLanguage={language}\n\n[Language]\n"
                    f"{language}\\DealerInfoLeft={left}\n{language}\\DealerInfoMiddle={middle}\n"
                    f"{language}\\DealerInfoRight={right}\n", encoding="utf-8")
    return hive


def main():
    chromium = shutil.which("chromium")
    if not chromium:
        print("FAIL: chromium is not installed (scripts/setup.sh installs it)")
        return 1
    for language in ("English", "German"):
        home = SCRATCH / language
        shutil.rmtree(home, ignore_errors=True)
        write_hive(home, language)
        env = dict(os.environ, XDG_CONFIG_HOME=str(home / "config"), HOME=str(home))
        for template in sorted(TEMPLATES.glob("*.vk4")):
            names, freqs, model = profile_facts(template, language)
            display = len(model) > 2 and model[2] in "Dd"
            for kind in ("detailed", "handout"):
                case = f"{language} {template.stem} {kind}"
                folder = home / template.stem / kind
                folder.mkdir(parents=True, exist_ok=True)
                htm, qt_pdf, web_pdf = folder / "report.htm", folder / "qt.pdf", folder / "web.pdf"
                made = run([VESKCTL, "report", kind, str(template), "-o", str(htm),
                            "--pdf", str(qt_pdf)], env=env)
                check(made.returncode == 0, f"{case}: veskctl report: {made.stderr.strip()}")
                if made.returncode != 0:
                    continue
                body = htm.read_bytes()
                check(body.startswith(b"\xef\xbb\xbf"), f"{case}: no byte order mark")
                check(b"$#" not in body, f"{case}: a token was left: "
                      + str(re.findall(rb"\$#[^<]{0,30}", body)[:3]))
                printed = run([chromium, "--headless", "--no-sandbox", "--disable-gpu",
                               "--no-pdf-header-footer", f"--print-to-pdf={web_pdf}",
                               htm.as_uri()], env=env)
                check(web_pdf.exists(), f"{case}: chromium printed nothing: {printed.stderr[-300:]}")
                for renderer, pdf in (("qt", qt_pdf), ("chromium", web_pdf)):
                    if not pdf.exists():
                        check(False, f"{case} {renderer}: no PDF")
                        continue
                    pages = pdf_pages(pdf)
                    if kind == "handout":
                        check(pages == 1, f"{case} {renderer}: {pages} pages, not one")
                        wanted = 13 if display else 14
                        images = pdf_images(pdf)
                        check(images >= wanted, f"{case} {renderer}: {images} pictures of {wanted}")
                    else:
                        check(pages >= 1, f"{case} {renderer}: no page")
                    text = pdf_text(pdf)
                    flat = re.sub(r"\s+", " ", text)
                    missing = [n for n in names if n and n not in flat]
                    check(not missing, f"{case} {renderer}: channel names missing {missing}")
                    if kind == "detailed":
                        lost = [f for f in freqs if f not in flat]
                        check(not lost, f"{case} {renderer}: frequencies missing {lost[:4]}")
                    outside = words_outside(pdf)
                    check(not outside, f"{case} {renderer}: words off the page {outside[:5]}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
