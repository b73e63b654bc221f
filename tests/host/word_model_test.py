#!/usr/bin/env python3
"""The word-model generator on small word lists: the tables' shape, what
they learn, that the same lists give the same source, and a clear failure
when a list is missing.   word_model_test.py GENERATOR"""
import os
import re
import subprocess
import sys
import tempfile


def tables(source):
    found = {}
    for name, body in re.findall(r"const (?:unsigned char|std::uint32_t) (\w+)\[\d+\] = \{(.*?)\};", source, re.S):
        found[name] = [int(v) for v in body.replace("\n", "").split(",") if v.strip()]
    return found


def main():
    generator = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        english = os.path.join(folder, "english")
        ukrainian = os.path.join(folder, "ukrainian")
        with open(english, "w", encoding="utf-8") as f:
            f.write("the\nThe\nthen\nthey\nother\nmother's\nwell-known\nnaïve\n")
        with open(ukrainian, "w", encoding="utf-8") as f:
            f.write("та\nтак\nтам\nм'ясо\nГалина\n")
        closed = os.path.join(folder, "closed")
        with open(closed, "w", encoding="utf-8") as f:
            f.write("# comment\n[english]\nthe then notaword\n[ukrainian]\nта так\n")

        def generate(output, *extra):
            return subprocess.run([sys.executable, generator, "--english", english, "--ukrainian", ukrainian,
                                   "--closed-class", closed, *extra, "--output", output], capture_output=True, text=True)

        first = os.path.join(folder, "first.cpp")
        second = os.path.join(folder, "second.cpp")
        if generate(first).returncode or generate(second).returncode:
            failures.append("the generator failed on good lists")
        source = open(first, encoding="utf-8").read()
        if source != open(second, encoding="utf-8").read():
            failures.append("the same lists gave different sources")
        t = tables(source)
        ua = "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя'"
        en, uk = t.get("kEnglishTrigrams", []), t.get("kUkrainianTrigrams", [])
        if len(en) != 28 ** 3 or len(uk) != 35 ** 3:
            failures.append(f"table sizes {len(en)} and {len(uk)}, expected {28 ** 3} and {35 ** 3}")
        else:
            def e(a, b, c):  # codes: 0 edge, a-z 1-26, apostrophe 27
                code = lambda s: 0 if s == "^" else 27 if s == "'" else ord(s) - ord("a") + 1
                return en[(code(a) * 28 + code(b)) * 28 + code(c)]
            def u(a, b, c):
                code = lambda s: 0 if s == "^" else ua.index(s) + 1
                return uk[(code(a) * 35 + code(b)) * 35 + code(c)]
            checks = [
                (e("^", "t", "h") < e("^", "t", "z"), "a seen English start costs less than an unseen one"),
                (e("h", "e", "y") < e("h", "e", "q"), "a seen English trigram costs less than an unseen one"),
                (e("r", "'", "s") < e("r", "'", "x"), "the apostrophe is a sign of English words"),
                (e("l", "l", "^") < e("l", "l", "k"), "a hyphen ends a word: 'well' ends after ll"),
                (u("^", "т", "а") < u("^", "т", "ю"), "a seen Ukrainian start costs less than an unseen one"),
                (u("м", "'", "я") < u("м", "'", "ї"), "the apostrophe is a sign of Ukrainian words"),
                (u("^", "г", "а") < u("^", "г", "ц"), "capitals are learnt as small letters"),
                (all(0 <= v <= 255 for v in en + uk), "every entry is a cost of one byte"),
            ]
            failures += [what for ok, what in checks if not ok]
        sys.path.insert(0, os.path.dirname(os.path.abspath(generator)))
        import word_model as m
        bloom = t.get("kDictionary", [])
        closed_hashes = t.get("kClosedClass", [])

        def stored(word, alphabet, salt, name=False):
            h = m.form_hash([alphabet.index(c) + 1 for c in word], m.SALTS[salt])
            return all(bloom[b >> 3] >> (b & 7) & 1 for b in m.probes(h ^ m.NAME_MIX if name else h))

        english = "abcdefghijklmnopqrstuvwxyz'"
        checks = [
            (len(bloom) == 1 << (m.BLOOM_BITS_LOG2 - 3), "the dictionary has its size"),
            (stored("they", english, "english") and stored("known", english, "english"),
             "the dictionary holds the short forms, split at hyphens"),
            (not stored("mother", english, "english") and not stored("mother's", english, "english") and not stored("тамм", ua, "ukrainian"),
             "the dictionary holds nothing else"),
            (stored("галина", ua, "ukrainian", name=True) and not stored("галина", ua, "ukrainian"),
             "a form the list has only with a capital is a name"),
            (len([h for h in closed_hashes if h != m.MASK]) == 4 and closed_hashes == sorted(closed_hashes),
             "the closed-class words of the lists, sorted; a word not in the list is dropped"),
        ]
        failures += [what for ok, what in checks if not ok]
        missing = subprocess.run([sys.executable, generator, "--english", os.path.join(folder, "absent"),
                                  "--ukrainian", ukrainian, "--closed-class", closed,
                                  "--output", os.path.join(folder, "x.cpp")],
                                 capture_output=True, text=True)
        if missing.returncode == 0 or "absent" not in missing.stderr or "wamerican" not in missing.stderr:
            failures.append(f"a missing list gave exit {missing.returncode} and {missing.stderr!r}")
    for failure in failures:
        print("FAIL", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
