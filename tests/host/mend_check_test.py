#!/usr/bin/env python3
"""mend-check's interface, case by case: what it prints for given text and
options, and how it exits.   mend_check_test.py MEND_CHECK"""
import subprocess
import sys

CASES = [
    # name, arguments, standard input, standard output, exit code
    ("mends_both_directions", [], "ghbdsn cdsnt\nруддщ\n",
     "mend\tghbdsn\tпривіт\nmend\tcdsnt\tсвіте\nmend\tруддщ\thello\n", 0),
    ("keeps_right_words", [], "hello привіт\n", "keep\thello\nkeep\tпривіт\n", 0),
    ("splits_at_any_white_space", [], "  hello\t\tпривіт \r\n\n", "keep\thello\nkeep\tпривіт\n", 0),
    ("skips_what_no_key_types", [], "ыы при[ blah\u2019s\n", "skip\tыы\nskip\tпри[\nskip\tblah\u2019s\n", 0),
    ("skips_invalid_utf8", [], b"ab\xff\xfe cd\xc3\n", b"skip\tab\xff\xfe\nskip\tcd\xc3\n", 0),
    ("phonetic_layout", ["--layout", "phonetic"], "pryvit pan\n", "mend\tpryvit\tпривіт\nkeep\tpan\n", 0),
    ("layout_with_equals", ["--layout=typewriter"], "ghbdsn\n", "mend\tghbdsn\tпривіт\n", 0),
    ("last_line_without_newline", [], "ghbdsn", "mend\tghbdsn\tпривіт\n", 0),
    ("unknown_layout", ["--layout", "dvorak"], "", "", 2),
    ("unknown_option", ["-x"], "", "", 2),
    ("layout_without_value", ["--layout"], "", "", 2),
]


def main():
    tool = sys.argv[1]
    failed = 0
    for name, arguments, given, expected, code in CASES:
        given = given if isinstance(given, bytes) else given.encode()
        expected = expected if isinstance(expected, bytes) else expected.encode()
        run = subprocess.run([tool] + arguments, input=given, capture_output=True)
        problems = []
        if run.returncode != code:
            problems.append(f"exit {run.returncode}, expected {code}")
        if run.stdout != expected:
            problems.append(f"printed {run.stdout!r}, expected {expected!r}")
        if code == 2 and b"usage: mend-check" not in run.stderr:
            problems.append(f"no usage on standard error: {run.stderr!r}")
        print(f"{'FAIL' if problems else 'ok  '} {name} {'; '.join(problems)}")
        failed += bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
