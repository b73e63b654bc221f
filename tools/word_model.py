#!/usr/bin/env python3
"""Builds the word models of the automatic mend from the system's word lists.

Each language gets a table of letter trigrams over its alphabet, word
boundaries included: for every pair of preceding signs and every next sign,
how surprising the next one is, as a byte of -log2 P in eighths of a bit.
The decision adds these up along a word. Beside them, one Bloom filter
holds every form of either list up to DICTIONARY_LETTERS letters, and a
short sorted table the hashes of the closed-class words. The output is one
C++ source of constant arrays, so that all of it lands in the library's
read-only data.

    word_model.py --english LIST [--english LIST...] --ukrainian LIST
                  --closed-class FILE --output FILE.cpp
"""
import argparse
import math
import sys

ENGLISH = "abcdefghijklmnopqrstuvwxyz'"
UKRAINIAN = "абвгґдеєжзиіїйклмнопрстуфхцчшщьюя'"
SCALE = 8        # table units per bit
MOST = 255       # the table's ceiling
DISCOUNT = 0.75  # absolute discounting of every seen trigram and bigram
# The dictionary: forms of at most this many letters, in a filter of
# 2**BLOOM_BITS_LOG2 bits, BLOOM_PROBES bits a form. These must match
# automend/word_model.h.
DICTIONARY_LETTERS = 7
BLOOM_BITS_LOG2 = 21
BLOOM_PROBES = 6
MASK = 0xFFFFFFFF
# Room for the closed-class hashes; unused entries hold all ones.
CLOSED_CLASS_ROOM = 512
# The hash's starting value for each set of words.
# Mixed into the hash of a form the lists hold only with a capital: such a
# form is known only when typed with one.
NAME_MIX = 0x5BD1E995
SALTS = {"english": 0x811C9DC5, "ukrainian": 0x050C5D1F, "english-closed": 0x2F1A3B7D, "ukrainian-closed": 0x6B8E2C41}


def form_hash(codes, salt):
    """FNV-1a over the sign codes; the same as formHash in automend/decision.cpp."""
    h = salt
    for c in codes:
        h = ((h ^ c) * 16777619) & MASK
    return h


def probes(h):
    """The filter's bit indexes of a form: double hashing from one hash."""
    step = (((h * 0x85EBCA6B) & MASK) ^ (h >> 15)) | 1
    return [((h + i * step) & MASK) & ((1 << BLOOM_BITS_LOG2) - 1) for i in range(BLOOM_PROBES)]


def words_of(paths, alphabet):
    """The word list's forms, lower case, split at hyphens, and which of them
    the lists hold only with a capital (names); forms holding a sign outside
    the alphabet are left out."""
    index = {c: i + 1 for i, c in enumerate(alphabet)}
    lower, capital = set(), set()
    for path in paths:
        try:
            text = open(path, encoding="utf-8").read()
        except OSError as error:
            sys.exit(f"word_model.py: cannot read the word list {path}: {error.strerror}. "
                     "Install the Debian package that provides it (wamerican, wbritish, wukrainian).")
        for line in text.split("\n"):
            for part in line.strip().replace("\u2019", "'").split("-"):
                small = part.lower()
                if small and all(c in index for c in small):
                    (lower if part == small else capital).add(small)
    if not lower:
        sys.exit(f"word_model.py: no usable word in {', '.join(paths)}")
    return sorted(lower | capital), sorted(capital - lower), index


def trigram_table(words, index, size):
    tri = [0] * (size ** 3)
    for word in words:
        codes = [0, 0] + [index[c] for c in word] + [0]
        for i in range(2, len(codes)):
            tri[(codes[i - 2] * size + codes[i - 1]) * size + codes[i]] += 1
    # Lower orders from the trigram counts themselves.
    bi = [0] * (size ** 2)
    uni = [0] * size
    for key, n in enumerate(tri):
        if n:
            bi[key % (size * size)] += n
            uni[key % size] += n
    total_uni = sum(uni)
    p1 = [(uni[c] + 1) / (total_uni + size) for c in range(size)]

    def interpolated(counts, context_count, distinct, lower):
        if context_count == 0:
            return lower
        return max(counts - DISCOUNT, 0) / context_count + DISCOUNT * distinct / context_count * lower

    bi_context = [0] * size
    bi_distinct = [0] * size
    for key, n in enumerate(bi):
        if n:
            bi_context[key // size] += n
            bi_distinct[key // size] += 1
    p2 = [interpolated(bi[b * size + c], bi_context[b], bi_distinct[b], p1[c])
          for b in range(size) for c in range(size)]
    tri_context = [0] * (size ** 2)
    tri_distinct = [0] * (size ** 2)
    for key, n in enumerate(tri):
        if n:
            tri_context[key // size] += n
            tri_distinct[key // size] += 1
    table = bytearray(size ** 3)
    for ab in range(size * size):
        for c in range(size):
            p = interpolated(tri[ab * size + c], tri_context[ab], tri_distinct[ab], p2[(ab % size) * size + c])
            table[ab * size + c] = min(MOST, round(-math.log2(p) * SCALE))
    return table


def c_array(name, data, kind="unsigned char", per_line=24):
    lines = [f"extern const {kind} {name}[{len(data)}] = {{"]
    for start in range(0, len(data), per_line):
        lines.append("    " + ",".join(str(b) for b in data[start:start + per_line]) + ",")
    lines.append("};")
    return "\n".join(lines)


def closed_class(path):
    try:
        lines = open(path, encoding="utf-8").read().split("\n")
    except OSError as error:
        sys.exit(f"word_model.py: cannot read {path}: {error.strerror}")
    sets, current = {}, None
    for line in lines:
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            current = sets.setdefault(line.strip("[]"), [])
        elif current is not None:
            current.extend(line.split())
    return sets


def codes_of(word, index):
    return [index[c] for c in word]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--english", action="append", required=True)
    parser.add_argument("--ukrainian", action="append", required=True)
    parser.add_argument("--closed-class", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    closed = closed_class(args.closed_class)

    parts = ["// Generated by tools/word_model.py from the system's word lists; do not edit.",
             '#include "automend/word_model.h"', "",
             "namespace vyrtel::automend::model {", ""]
    bloom = bytearray(1 << (BLOOM_BITS_LOG2 - 3))
    closed_hashes = set()
    for language, name, paths, alphabet in (("english", "kEnglishTrigrams", args.english, ENGLISH),
                                            ("ukrainian", "kUkrainianTrigrams", args.ukrainian, UKRAINIAN)):
        words, names, index = words_of(paths, alphabet)
        names = set(names)
        parts.append(f"// {len(words)} forms")
        parts.append(c_array(name, trigram_table(words, index, len(alphabet) + 1)))
        parts.append("")
        stored = 0
        for word in words:
            if len(word) <= DICTIONARY_LETTERS:
                stored += 1
                h = form_hash(codes_of(word, index), SALTS[language])
                for bit in probes(h ^ NAME_MIX if word in names else h):
                    bloom[bit >> 3] |= 1 << (bit & 7)
        parts.append(f"// the dictionary holds {stored} {language} forms")
        known = set(words) - names
        for word in closed.get(language, []):
            if word in known:
                closed_hashes.add(form_hash(codes_of(word, index), SALTS[language + "-closed"]))
    if len(closed_hashes) > CLOSED_CLASS_ROOM:
        sys.exit(f"word_model.py: {len(closed_hashes)} closed-class words, room for {CLOSED_CLASS_ROOM}")
    parts.append(c_array("kDictionary", bloom))
    parts.append("")
    parts.append(f"// {len(closed_hashes)} closed-class words, by hash")
    parts.append(c_array("kClosedClass", sorted(closed_hashes) + [MASK] * (CLOSED_CLASS_ROOM - len(closed_hashes)),
                         "std::uint32_t", 8))
    parts.append("")
    parts.append("}  // namespace vyrtel::automend::model")
    text = "\n".join(parts) + "\n"
    try:
        with open(args.output, encoding="utf-8") as old:
            if old.read() == text:
                return
    except OSError:
        pass
    with open(args.output, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
