#!/usr/bin/env python3
"""Build Pexil's word lists (ENGLISH.LST, SPANISH.LST, ...) from Debian word-list packages.

Usage:
  build_wordlists.py --out DIR [--only NAME ...] [--force]
  build_wordlists.py --check DIR [--only NAME ...]

Each list is Latin-1, one lower-case word per line (LF), sorted bytewise, without duplicates.
Multi-letter tiles are written as the one-character forms the program uses: Spanish
1 = CH, 2 = LL, 3 = RR; Catalan k = Ç, q = QU, w = L·L, y = NY.
A list is rebuilt only when it is missing or older than this script or one of its sources.
Python 3 standard library only.  See README.md beside this file for the decisions made.
"""

import argparse
import os
import re
import sys
import time
import unicodedata

SCOWL_DIR = "/usr/share/dict/scowl"
SCOWL_MAX_SIZE = 80
# Spelling categories taken from scowl: the main English words, the American and British
# spellings, and the variant spellings that scowl rates as acceptable (levels 1 and 2).
# variant_3 ("seldom used, may not even be considered correct"), british_z, canadian and
# australian are left out on purpose.
SCOWL_CATEGORIES = ("english", "american", "british", "variant_1", "variant_2",
                    "british_variant_1", "british_variant_2")

ENGLISH_TWO = set("""aa ab ad ae ag ah ai al am an ar as at aw ax ay ba be bi bo by da de do ed
ef eh el em en er es ew ex fa fe gi go ha he hi hm ho id if in is it jo ka ki la li lo ma me mi
mm mo mu my na ne no nu od oe of oh oi ok om on op or os ow ox oy pa pe pi po qi re sh si so ta
te ti to uh um un up us ut we wo xi xu ya ye yo za""".split())
assert len(ENGLISH_TWO) == 106

AZ = "abcdefghijklmnopqrstuvwxyz"


def without(letters, drop):
    return "".join(c for c in letters if c not in drop)


# name: (Debian package, source file, encoding, letters kept with their accents,
#        digraph conversions in order (text, marker, output char), tile letters
#        (one-character forms, as written in the list))
LISTS = {
    "ENGLISH.LST": ("scowl", None, "utf-8", "", (), AZ),
    "SPANISH.LST": ("wspanish", "/usr/share/dict/spanish", "utf-8", "ñ",
                    (("ch", "1", "1"), ("ll", "2", "2"), ("rr", "3", "3")),
                    without(AZ, "kw") + "ñ123"),
    "DANISH.LST": ("wdanish", "/usr/share/dict/danish", "utf-8", "æøå", (),
                   without(AZ, "qw") + "æøå"),
    "GERMAN.LST": ("wngerman", "/usr/share/dict/ngerman", "utf-8", "äöü", (), AZ + "äöü"),
    "FRENCH.LST": ("wfrench", "/usr/share/dict/french", "utf-8", "", (), AZ),
    "ITALIAN.LST": ("witalian", "/usr/share/dict/italian", "utf-8", "", (),
                    without(AZ, "jkwxy")),
    # Catalan: the digraphs become upper-case markers first, so a raw k, w, y or q left
    # over afterwards (not in the marker set) makes the word unplayable and drops it.
    "CATALAN.LST": ("wcatalan", "/usr/share/dict/catalan", "utf-8", "ç·",
                    (("l·l", "W", "w"), ("ny", "Y", "y"), ("qu", "Q", "q"), ("ç", "K", "k")),
                    without(AZ, "kqwy") + "kqwy"),
    "SWEDISH.LST": ("wswedish", "/usr/share/dict/swedish", "latin-1", "åäö", (),
                    without(AZ, "qw") + "åäö"),
}

# Words by which the program recognises a list's language, in the order it tries them.
# (The program also knows Latin; no Latin list is built here.)
PROBES = [
    ("ENGLISH.LST", "there this that the have group against several"),
    ("SPANISH.LST", "abo2an abolaga aboga acervado"),
    ("DANISH.LST", "kurvfulde retrætes småbarn bøddel"),
    ("GERMAN.LST", "afroamerikaner agrikultur ahnungsvolle"),
    ("FRENCH.LST", "abaissait encabanasses huisserie pronassiez"),
    ("ITALIAN.LST", "abavo arteficio gambizzi semipoetica"),
    ("CATALAN.LST", "abarrocarem emmagrix primmirat"),
    ("SWEDISH.LST", "allergisk fältmässig lagspråk"),
]
PROBES = [(name, [w.encode("latin-1") for w in words.split()]) for name, words in PROBES]

MIN_LEN, MAX_LEN = 2, 15


class MissingSource(Exception):
    pass


def scowl_files():
    if not os.path.isdir(SCOWL_DIR):
        raise MissingSource(f"{SCOWL_DIR} not found: install the Debian package 'scowl'")
    pat = re.compile(r"^(%s)-words\.(\d+)$" % "|".join(SCOWL_CATEGORIES))
    files = []
    for f in sorted(os.listdir(SCOWL_DIR)):
        m = pat.match(f)
        if m and int(m.group(2)) <= SCOWL_MAX_SIZE:
            files.append(os.path.join(SCOWL_DIR, f))
    if not any(os.path.basename(f).startswith("english-words.") for f in files):
        raise MissingSource(f"no english-words.N in {SCOWL_DIR}: reinstall the Debian package 'scowl'")
    return files


def sources(name):
    pkg, path = LISTS[name][:2]
    if path is None:
        return scowl_files()
    if not os.path.isfile(path):
        raise MissingSource(f"{path} not found: install the Debian package '{pkg}'")
    return [path]


def build_english(files):
    ok = re.compile(r"^[a-z]{%d,%d}$" % (MIN_LEN, MAX_LEN))
    words = set()
    for path in files:
        with open(path, encoding="utf-8") as f:
            for line in f:
                w = line.strip()
                if ok.match(w) and (len(w) > 2 or w in ENGLISH_TWO):
                    words.add(w)
    words |= ENGLISH_TWO
    return {w.encode("latin-1") for w in words}


def fold(word, keep):
    """Strip accents from every letter not in keep (NFD, combining marks dropped)."""
    out = []
    for ch in word:
        if ch in keep:
            out.append(ch)
        else:
            out.extend(c for c in unicodedata.normalize("NFD", ch) if not unicodedata.combining(c))
    return "".join(out)


def convert(name, raw):
    """One source entry -> the word in one-character tile form (Latin-1 bytes), or None."""
    _, _, _, keep, digraphs, tiles = LISTS[name]
    if not all(c.isalpha() or (c == "·" and "·" in keep) for c in raw):
        return None                      # spaces, apostrophes, hyphens, digits, dots...
    if raw != raw.lower():
        # German capitalises nouns: a plain capitalised word is taken in lower case;
        # all-caps abbreviations and mixed case are dropped.  Elsewhere upper case
        # means a proper name.
        if name == "GERMAN.LST" and raw[0].isupper() and raw[1:] == raw[1:].lower():
            raw = raw.lower()
        else:
            return None
    w = fold(raw.replace("ß", "ss"), keep)
    allowed = set(tiles)
    for text, marker, _ in digraphs:
        w = w.replace(text, marker)
        allowed.add(marker)
    if not all(c in allowed for c in w):
        return None
    for _, marker, out in digraphs:
        w = w.replace(marker, out)
    if not MIN_LEN <= len(w) <= MAX_LEN:
        return None
    return w.encode("latin-1")


def build_foreign(name, path):
    enc = LISTS[name][2]
    words = set()
    with open(path, encoding=enc) as f:
        for line in f:
            raw = line.strip()
            if raw:
                w = convert(name, raw)
                if w is not None:
                    words.add(w)
    return words


def probes_for(name):
    return next(p for n, p in PROBES if n == name)


def earlier_hits(name, words):
    """Names of languages tried before this one whose probes are all in words."""
    hits = []
    for n, p in PROBES:
        if n == name:
            break
        if all(w in words for w in p):
            hits.append(n)
    return hits


def build(name, out_dir, force):
    srcs = sources(name)
    target = os.path.join(out_dir, name)
    newest = max(os.path.getmtime(p) for p in srcs + [os.path.abspath(__file__)])
    if not force and os.path.isfile(target) and os.path.getmtime(target) > newest:
        print(f"{name} is up to date")
        return True
    pkg = LISTS[name][0]
    print(f"Building {name} from {pkg} ({len(srcs)} file{'s' if len(srcs) > 1 else ''}) ...",
          end=" ", flush=True)
    words = build_english(srcs) if name == "ENGLISH.LST" else build_foreign(name, srcs[0])
    print(f"{len(words)} words")
    for w in probes_for(name):
        if w not in words:
            words.add(w)
            print(f"  added probe word missing from {pkg}: {w.decode('latin-1')}")
    ok = True
    for n in earlier_hits(name, words):
        print(f"  WARNING: {name} contains all probe words of {n}")
        ok = False
    write_whole(target, b"".join(w + b"\n" for w in sorted(words)))
    return ok


def write_whole(path, data):
    """Writes through a temporary file renamed over `path`: a failed write
    leaves the old file as it was and no temporary file behind."""
    tmp = path + ".tmp"
    try:
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    except BaseException:
        try:
            os.remove(tmp)
        except OSError:
            pass
        raise


def check(name, out_dir):
    path = os.path.join(out_dir, name)
    if not os.path.isfile(path):
        print(f"{name}: MISSING")
        return False
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    try:
        data.decode("latin-1")
    except UnicodeDecodeError:  # cannot happen for Latin-1, kept for clarity
        problems.append("not Latin-1")
    if data and not data.endswith(b"\n"):
        problems.append("no final LF")
    words = data.split(b"\n")[:-1] if data else []
    if any(b < a for a, b in zip(words, words[1:])):
        problems.append("not sorted")
    if len(set(words)) != len(words):
        problems.append("duplicates")
    tiles = set(LISTS[name][5].encode("latin-1"))
    bad = [w for w in words if not set(w) <= tiles]
    if bad:
        problems.append(f"{len(bad)} words with other characters, e.g. {bad[0]!r}")
    bad = [w for w in words if not MIN_LEN <= len(w) <= MAX_LEN]
    if bad:
        problems.append(f"{len(bad)} words of wrong length, e.g. {bad[0]!r}")
    if name == "ENGLISH.LST":
        two = {w.decode() for w in words if len(w) == 2}
        if two != ENGLISH_TWO:
            problems.append("two-letter words differ from the fixed set")
    wordset = set(words)
    missing = [w.decode("latin-1") for w in probes_for(name) if w not in wordset]
    if missing:
        problems.append("missing probe words: " + " ".join(missing))
    for n in earlier_hits(name, wordset):
        problems.append(f"contains all probe words of {n}")
    print(f"{name}: {len(words)} words, " + ("ok" if not problems else "; ".join(problems)))
    return not problems


def main():
    ap = argparse.ArgumentParser(description="Build Pexil's word lists from Debian packages.")
    mode = ap.add_mutually_exclusive_group(required=True)
    mode.add_argument("--out", metavar="DIR", help="write the lists into DIR")
    mode.add_argument("--check", metavar="DIR", help="verify the lists in DIR")
    ap.add_argument("--only", nargs="+", metavar="NAME",
                    help="only these lists (ENGLISH.LST or english, ...)")
    ap.add_argument("--force", action="store_true", help="rebuild even if up to date")
    args = ap.parse_args()

    names = list(LISTS)
    if args.only:
        names = []
        for n in args.only:
            full = n.upper() if n.upper().endswith(".LST") else n.upper() + ".LST"
            if full not in LISTS:
                ap.error(f"unknown list {n!r}; known: {' '.join(LISTS)}")
            names.append(full)

    start = time.time()
    ok = True
    if args.check:
        for n in names:
            ok &= check(n, args.check)
    else:
        os.makedirs(args.out, exist_ok=True)
        try:
            for n in names:
                ok &= build(n, args.out, args.force)
        except MissingSource as e:
            print(f"error: {e}", file=sys.stderr)
            return 2
    print(f"done in {time.time() - start:.1f} s" + ("" if ok else " (with problems)"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
