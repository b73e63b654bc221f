#!/usr/bin/env python3
"""The automatic mend's accuracy on running text: the man pages of Debian's
`manpages` (English) and `manpages-uk` (Ukrainian), which the word models
are not built from.

    mend_accuracy.py BUILD_DIR [--layout typewriter|phonetic] [--half even|odd|all]

Renders the pages to plain text once (BUILD_DIR/mend-corpora/, one
paragraph a line), then runs BUILD_DIR/tools/mend-check on each text as it
stands, where every mend is a false one, and on the same text typed in the
wrong mode (BUILD_DIR/tools/retype), where every word of three or more
letters should come back mended to exactly what it was.
"""
import argparse
import concurrent.futures
import hashlib
import os
import re
import subprocess
import sys

PACKAGES = {"English": "manpages", "Ukrainian": "manpages-uk"}


def pages_of(package):
    listing = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True)
    if listing.returncode != 0:
        sys.exit(f"mend_accuracy.py: the package {package} is not installed")
    return sorted(p for p in listing.stdout.split("\n") if re.search(r"/man/(uk/)?man\d/[^/]+\.gz$", p))


def render(page):
    environment = dict(os.environ, MANWIDTH="4000", LC_ALL="C.UTF-8", MAN_KEEP_FORMATTING="")
    shown = subprocess.run(["man", "--no-hyphenation", "--no-justification", "-E", "UTF-8", "-l", page],
                           capture_output=True, env=environment)
    plain = subprocess.run(["col", "-b", "-x"], input=shown.stdout, capture_output=True).stdout
    return plain.decode("utf-8", "replace")


def corpus(build, language, half):
    folder = os.path.join(build, "mend-corpora")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, f"{PACKAGES[language]}-{half}.txt")
    if os.path.exists(path):
        return path
    pages = pages_of(PACKAGES[language])
    if half != "all":
        parity = 0 if half == "even" else 1
        pages = [p for p in pages if hashlib.sha1(os.path.basename(p).encode()).digest()[0] % 2 == parity]
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        texts = list(pool.map(render, pages))
    lines = []
    for text in texts:
        lines.extend(line.strip() for line in text.split("\n") if line.strip())
    with open(path + ".part", "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    os.replace(path + ".part", path)
    return path


def run(tool, layout, text):
    return subprocess.run([tool, "--layout", layout], input=text, capture_output=True, check=True).stdout


LETTER = r"[A-Za-z]" + "|[абвгґдеєжзиіїйклмнопрстуфхцчшщьюяАБВГҐДЕЄЖЗИІЇЙКЛМНОПРСТУФХЦЧШЩЬЮЯ]"
WORD = re.compile(r"^[(\"'«]*((?:%s)+(?:['-](?:%s)+)*)[,.;:!?)\"'»]*$" % (LETTER, LETTER))


def letters_of(word):
    match = WORD.match(word)
    return len(re.findall(LETTER, match.group(1))) if match else 0


def measure(build, language, layout, half, verbose):
    tools = os.path.join(build, "tools")
    text = open(corpus(build, language, half), "rb").read()
    kept = run(os.path.join(tools, "mend-check"), layout, text).decode("utf-8", "replace").split("\n")
    decided = [line for line in kept if line and not line.startswith("skip\t")]
    false = [line for line in decided if line.startswith("mend\t")]
    wrong = run(os.path.join(tools, "retype"), layout, text)
    originals = [w.decode("utf-8", "replace") for line in text.split(b"\n")
                 for w in re.split(rb"[ \t\r\f\v]+", line) if w]
    mended = run(os.path.join(tools, "mend-check"), layout, wrong).decode("utf-8", "replace").split("\n")
    mended = [line for line in mended if line]
    if len(mended) != len(originals):
        sys.exit(f"mend_accuracy.py: {len(mended)} decisions for {len(originals)} words")
    eligible = caught = wrong_mends = wrong_decided = 0
    misses = []
    for original, line in zip(originals, mended):
        fields = line.split("\t")
        if fields[0] == "skip":
            continue
        wrong_decided += 1
        if fields[0] == "mend" and fields[2] != original:
            wrong_mends += 1
        if letters_of(original) >= 3 and original.encode() != fields[1].encode():
            eligible += 1
            if fields[0] == "mend" and fields[2] == original:
                caught += 1
            else:
                misses.append(original)
    if verbose:
        for line in false:
            print("false\t" + line, file=sys.stderr)
        for word in misses:
            print("miss\t" + word, file=sys.stderr)
    return {"words": len(decided), "false": len(false), "wrong_words": wrong_decided, "eligible": eligible,
            "caught": caught, "wrong_mends": wrong_mends}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build")
    parser.add_argument("--layout", action="append", choices=["typewriter", "phonetic"])
    parser.add_argument("--half", default="all", choices=["even", "odd", "all"])
    parser.add_argument("--verbose", action="store_true", help="list false mends and misses on standard error")
    args = parser.parse_args()
    print("| Layout | Text | Words | False mends | Wrong-mode words (3+ letters) | Mended back |")
    print("|---|---|---:|---:|---:|---:|")
    for layout in args.layout or ["typewriter", "phonetic"]:
        for language in PACKAGES:
            r = measure(args.build, language, layout, args.half, args.verbose)
            if r["wrong_mends"]:
                sys.exit(f"mend_accuracy.py: {r['wrong_mends']} mends into something else than the original")
            print(f"| {layout} | {PACKAGES[language]} | {r['words']} | {r['false']} "
                  f"({100 * r['false'] / max(r['words'], 1):.3f} %) | {r['eligible']} | {r['caught']} "
                  f"({100 * r['caught'] / max(r['eligible'], 1):.2f} %) |", flush=True)


if __name__ == "__main__":
    main()
