#!/usr/bin/python3
"""Build Pexil's English definitions file from the WordNet database.

Usage:
    build_definitions.py --list WORDLIST --out FILE [--force] [--wordnet DIR]
    build_definitions.py --check FILE [--list WORDLIST]

WORDLIST is a Latin-1 file with one lowercase word per line.  The output
is a Latin-1 (in practice ASCII) text file, one line per word, sorted by
key in byte order so the program can binary-search it by byte offset:

    cat (n.) feline mammal usually having thick soft fur ... / (v.) ...
    cats (plural of/cat)

A word WordNet defines gets the first gloss of its first sense, for each
part of speech it has (best-ranked part of speech first).  A word that
WordNet does not define but that is an inflection of a defined word of the
list gets a reference line "(KIND of/BASE)"; the program shows BASE's
definition after it.  References always point at a defined line, so they
never chain and never loop.  Senses where WordNet has the word only as a
capitalised name are skipped when the word has other senses; a word known
only as a name ('sung': the Sung dynasty) prefers an inflection reference
('sung (past of/sing)') and falls back to the name's gloss.

WordNet comes from the Debian package wordnet-base (/usr/share/wordnet).
Only the Python 3 standard library is used.
"""

import argparse
import os
import re
import sys
import time

from build_wordlists import write_whole

WORDNET_DIR = "/usr/share/wordnet"
POSES = ("noun", "verb", "adj", "adv")          # default order on ties
POS_LABEL = {"noun": "(n.)", "verb": "(v.)", "adj": "(adj.)", "adv": "(adv.)"}
SS_TYPE_POS = {"1": "noun", "2": "verb", "3": "adj", "4": "adv", "5": "adj"}
MAX_LINE = 1000                                  # bytes, newline included
KINDS = ("plural", "past", "past participle", "present participle",
         "third-person singular", "comparative", "superlative")
# Part of speech the base word must have for each kind of inflection.
KIND_POS = {"plural": ("noun",), "third-person singular": ("verb",),
            "past": ("verb",), "past participle": ("verb",),
            "present participle": ("verb",),
            "comparative": ("adj", "adv"), "superlative": ("adj", "adv")}
REF_RE = re.compile(r"^\((%s) of/([^ ()/]+)\)$" % "|".join(KINDS))
VOWELS = set("aeiou")


def log(msg):
    print(msg, flush=True)


def fail(msg):
    sys.stderr.write("build_definitions: %s\n" % msg)
    sys.exit(1)


# ---------------------------------------------------------------- WordNet

def wordnet_files(wndir):
    names = ["index." + p for p in POSES] + ["data." + p for p in POSES]
    names += [p + ".exc" for p in POSES] + ["cntlist.rev"]
    paths = [os.path.join(wndir, n) for n in names]
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        what = (wndir if len(missing) == len(paths)
                else ", ".join(os.path.basename(p) for p in missing))
        fail("WordNet database not found (missing %s).\n"
             "Install the Debian package 'wordnet-base' "
             "(apt-get install wordnet-base) or pass --wordnet DIR." % what)
    return paths


def read_index(wndir, pos):
    """Return {lemma: [synset offsets of its senses, most frequent first]}."""
    senses = {}
    with open(os.path.join(wndir, "index." + pos), "rb") as f:
        for raw in f:
            if raw.startswith(b"  "):            # licence header
                continue
            fields = raw.decode("latin-1").split()
            lemma = fields[0]
            if not lemma.isalpha():              # '_' compounds, digits, ...
                continue
            # lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offs
            synset_cnt, p_cnt = int(fields[2]), int(fields[3])
            offsets = fields[6 + p_cnt:]
            if len(offsets) != synset_cnt:
                fail("malformed line in index.%s: %r" % (pos, raw[:80]))
            senses[lemma] = [int(o) for o in offsets]
    return senses


def read_sense_counts(wndir):
    """Return {(lemma, pos, sense number): tag count in the sense corpus}."""
    counts = {}
    with open(os.path.join(wndir, "cntlist.rev"), "rb") as f:
        for raw in f:
            key, sense_no, count = raw.decode("latin-1").split()
            lemma, rest = key.split("%", 1)
            pos = SS_TYPE_POS.get(rest[:1])
            if pos:
                k = (lemma, pos, int(sense_no))
                counts[k] = max(counts.get(k, 0), int(count))
    return counts


def clean_gloss(gloss):
    """Keep the definition part of a WordNet gloss, without the examples."""
    gloss = gloss.strip()
    cut = gloss.find('; "')
    if cut >= 0:
        gloss = gloss[:cut]
    # A few glosses introduce their examples with ':' or without a space.
    m = re.search(r'[:;] ?"', gloss)
    if m and re.search(r"[a-z]{3}", re.sub(r"\([^)]*\)", "", gloss[:m.start()])):
        gloss = gloss[:m.start()]
    gloss = re.sub(r"[\x00-\x1f\x7f-\x9f]", " ", gloss)
    gloss = re.sub(r"\s+", " ", gloss).strip().rstrip(";:,").strip()
    return gloss


def read_synsets(wndir, pos, offsets):
    """Return {offset: (member words as written, cleaned gloss)}."""
    with open(os.path.join(wndir, "data." + pos), "rb") as f:
        data = f.read()
    out = {}
    for off in offsets:
        end = data.index(b"\n", off)
        line = data[off:end].decode("latin-1")
        if not line.startswith("%08d " % off) or " | " not in line:
            fail("data.%s: no synset at offset %d" % (pos, off))
        head, gloss = line.split(" | ", 1)
        # offset lex_filenum ss_type w_cnt(hex) word lex_id word lex_id ...
        fields = head.split()
        members = {re.sub(r"\(.*\)$", "", m)      # adjective markers: (a)
                   for m in fields[4:4 + 2 * int(fields[3], 16):2]}
        out[off] = (members, clean_gloss(gloss))
    return out


def read_exceptions(wndir):
    """Return [(form, kind, base, pos)] from the *.exc irregular form lists."""
    result = []
    for pos in POSES:
        with open(os.path.join(wndir, pos + ".exc"), "rb") as f:
            for raw in f:
                fields = raw.decode("latin-1").split()
                form, bases = fields[0], fields[1:]
                if not form.isalpha() or form in ("am", "are"):
                    continue                     # no kind fits 'am', 'are'
                if pos == "noun":
                    kind = "plural"
                elif pos == "verb":
                    if form.endswith("ing"):
                        kind = "present participle"
                    elif form.endswith("s") and form != "was":
                        kind = "third-person singular"
                    elif form.endswith(("en", "wn", "done", "gone", "borne")):
                        kind = "past participle"     # taken, flown, gone
                    else:                        # ran, went; or both (sung)
                        kind = "past"
                elif form.endswith("st"):
                    kind = "superlative"
                elif form.endswith(("er", "re", "se", "ss")):
                    kind = "comparative"
                else:
                    continue
                for base in bases:
                    if base != form and base.isalpha():
                        result.append((form, kind, base, pos))
    return result


# ------------------------------------------------------------- morphology

def cvc(stem):
    """True if the stem ends consonant-vowel-consonant, as in 'hop', 'big':
    such a stem would normally double its last letter before -ed/-ing/-er,
    so 'hoped' more likely comes from 'hope' than from 'hop'."""
    return (len(stem) >= 3 and stem[-1] not in VOWELS and stem[-1] not in "wxy"
            and stem[-2] in VOWELS and stem[-3] not in VOWELS)


def suffix_bases(stem):
    """Candidate bases for STEM + -ed/-ing/-er/-est, best spelling first.
    Returns [(base, dispreferred)]."""
    out = []
    if len(stem) >= 2 and stem[-1] == stem[-2] and stem[-1] not in VOWELS:
        out.append((stem, False))                # add+ed, call+ed
        out.append((stem[:-1], False))           # stopp+ed -> stop
    elif cvc(stem):
        out.append((stem + "e", False))          # hop+ed -> hope
        out.append((stem, True))                 # hop (would be 'hopped')
    else:
        out.append((stem, False))                # walk+ed
        out.append((stem + "e", False))          # bak+ed -> bake
    return out


def regular_candidates(word):
    """Yield (kind, base, dispreferred) guesses from regular inflection."""
    n = len(word)
    if word.endswith("s") and not word.endswith("ss") and n >= 3:
        bases = []
        if word.endswith("ies") and n >= 5:
            bases.append(word[:-3] + "y")        # flies -> fly
        bases.append(word[:-1])                  # cats, horses
        if word.endswith("es") and word[:-2].endswith(("s", "x", "z", "ch", "sh", "o")):
            bases.append(word[:-2])              # boxes, goes
        if word.endswith("ves"):
            bases += [word[:-3] + "f", word[:-3] + "fe"]
        for b in bases:
            yield "plural", b, False
            yield "third-person singular", b, False
    for suffix, kind in (("ed", "past"), ("ing", "present participle"),
                         ("er", "comparative"), ("est", "superlative")):
        if not word.endswith(suffix) or n < len(suffix) + 2:
            continue
        stem = word[:-len(suffix)]
        if stem.endswith("i") and suffix != "ing":
            yield kind, stem[:-1] + "y", False   # tried, happier
        if suffix == "ing" and stem.endswith("y") and len(stem) >= 2:
            yield kind, stem[:-1] + "ie", False  # dying -> die
        for base, bad in suffix_bases(stem):
            yield kind, base, bad


# ------------------------------------------------------------------ build

def read_word_list(path):
    words = set()
    with open(path, "rb") as f:
        for raw in f:
            w = raw.strip().decode("latin-1")
            if w:
                words.add(w)
    return words


def truncate(text, limit):
    """Cut TEXT to at most LIMIT bytes at a word boundary, adding '...'."""
    if len(text) <= limit:
        return text
    cut = text.rfind(" ", 0, limit - 3)
    if cut <= 0:
        cut = limit - 3
    return text[:cut].rstrip(" ,;:") + "..."


def build(list_path, out_path, wndir):
    t0 = time.time()
    words = read_word_list(list_path)
    log("word list: %d words from %s" % (len(words), list_path))

    counts = read_sense_counts(wndir)
    # first[pos][word] = (tag count, gloss) of the word's first sense in pos,
    # skipping senses where WordNet only has the word capitalised, i.e. as a
    # name (Sung, the dynasty; Ate, the goddess).  Words known only as names
    # keep their first sense but come second to an inflection (sung: sing).
    first = {}
    name_only = set()
    for pos in POSES:
        senses = read_index(wndir, pos)
        wanted = {o for w, offs in senses.items() if w in words for o in offs}
        synsets = read_synsets(wndir, pos, wanted)
        first[pos] = {}
        for w, offs in senses.items():
            if w not in words:
                continue
            common = [n for n, off in enumerate(offs) if w in synsets[off][0]]
            n = common[0] if common else 0
            first[pos][w] = (counts.get((w, pos, n + 1), 0),
                             synsets[offs[n]][1], bool(common))
        log("WordNet %s: %d lemmas, %d in the word list"
            % (pos, len(senses), len(first[pos])))
    for w in words:
        entries = [first[p][w] for p in POSES if w in first[p]]
        if entries and not any(e[2] for e in entries):
            name_only.add(w)                     # only a name in every POS
        elif entries:                            # drop name-only POSes
            for p in POSES:
                if w in first[p] and not first[p][w][2]:
                    del first[p][w]

    # Irregular forms; a base with irregular forms of some kind makes a
    # regular guess of that kind less likely (singed: singe, not sing).
    exceptions = {}
    irregular = set()
    for form, kind, base, pos in read_exceptions(wndir):
        exceptions.setdefault(form, []).append((kind, base, pos))
        irregular.add((base, kind))

    primary_pos = {}                             # word -> its first POS
    lines = {}

    def define(w):
        """Each part of speech's first gloss, best-ranked first."""
        poses = [p for p in POSES if w in first[p]]
        poses.sort(key=lambda p: (-first[p][w][0], POSES.index(p)))
        primary_pos[w] = poses[0]
        room = MAX_LINE - 1 - len(w) - 1         # newline, key and space
        parts = []
        for p in poses:
            part = POS_LABEL[p] + " " + first[p][w][1]
            if not parts:
                parts.append(truncate(part, room))
            elif sum(len(x) + 3 for x in parts) + len(part) <= room:
                parts.append(part)
        lines[w] = " / ".join(parts)

    def score(kind, base, source, bad, order):
        """Lower is better: plausible spelling first, then a base whose main
        part of speech fits the inflection (runs: verb run, cats: noun cat),
        then WordNet's irregular forms, then the more frequent base (does:
        do rather than doe)."""
        pos_match = primary_pos[base] in KIND_POS[kind]
        freq = max(first[p][base][0] if base in first[p] else 0
                   for p in KIND_POS[kind])
        return (bad, (base, kind) in irregular and source == 1,
                not pos_match, source, -freq, order)

    def refer(w, bases, guess_comparatives=True):
        """Make W a reference to its most plausible base among BASES."""
        best = None
        cands = [(k, b, 0, False) for k, b, _ in exceptions.get(w, [])]
        cands += [(k, b, 1, bad) for k, b, bad in regular_candidates(w)
                  if guess_comparatives
                  or k not in ("comparative", "superlative")]
        for order, (kind, base, source, bad) in enumerate(cands):
            if base == w or base not in bases:
                continue
            # The base must really be (say) a verb for a past tense guess.
            if source == 1 and not any(base in first[p]
                                       for p in KIND_POS[kind]):
                continue
            if (source == 1 and kind == "third-person singular"
                    and (base, kind) in irregular):
                continue                         # 'bes': be has only 'is'
            s = score(kind, base, source, bad, order)
            if best is None or s < best[0]:
                best = (s, kind, base)
        if best:
            lines[w] = "(%s of/%s)" % (best[1], best[2])
        return bool(best)

    strong = {w for w in words if any(w in first[p] for p in POSES)} - name_only
    for w in strong:
        define(w)
    # References only ever point at defined words, so they cannot chain.
    # A name ending in -er is rarely a comparative (Lowlander, Southerner).
    names_referred = {w for w in name_only if refer(w, strong, False)}
    for w in name_only - names_referred:
        define(w)
    defined = strong | (name_only - names_referred)
    refs = len(names_referred)
    refs += sum(refer(w, defined) for w in words - defined - names_referred)
    log("defined words: %d (%d known to WordNet only as names)"
        % (len(defined), len(name_only) - len(names_referred)))
    log("reference lines: %d (%d instead of a name's gloss)"
        % (refs, len(names_referred)))

    out = []
    for w in sorted(lines, key=lambda k: k.encode("latin-1")):
        line = (w + " " + lines[w]).encode("latin-1")
        assert len(line) < MAX_LINE, w
        out.append(line + b"\n")
    write_whole(out_path, b"".join(out))
    log("wrote %s: %d lines, %d bytes in %.1fs"
        % (out_path, len(out), os.path.getsize(out_path), time.time() - t0))


# ------------------------------------------------------------------ check

def check(path, list_path=None):
    with open(path, "rb") as f:
        data = f.read()
    errors = []

    def err(msg):
        if len(errors) < 20:
            print("error: " + msg)
        errors.append(msg)

    if data and not data.endswith(b"\n"):
        err("file does not end with a newline")
    raw_lines = data.split(b"\n")[:-1] if data.endswith(b"\n") else data.split(b"\n")
    keys = []
    refs = {}
    defined = 0
    prev = None
    for i, raw in enumerate(raw_lines, 1):
        if len(raw) + 1 > MAX_LINE:
            err("line %d: %d bytes (max %d)" % (i, len(raw) + 1, MAX_LINE))
        if re.search(rb"[\x00-\x1f\x7f]", raw):
            err("line %d: control character or tab" % i)
        key, sep, text = raw.partition(b" ")
        if not key or not sep or not text.strip() or text != text.strip():
            err("line %d: expected 'key definition': %r" % (i, raw[:60]))
        if key.decode("latin-1") != key.decode("latin-1").lower():
            err("line %d: key %r is not lowercase" % (i, key))
        if prev is not None and key <= prev:
            err("line %d: key %r %s" % (i, key, "duplicated" if key == prev
                                        else "out of order"))
        prev = key
        keys.append(key)
        m = REF_RE.match(text.decode("latin-1"))
        if m:
            refs[key] = m.group(2).encode("latin-1")
        elif text.startswith(b"(") and b" of/" in text:
            err("line %d: malformed reference %r" % (i, text))
        else:
            defined += 1
    keyset = set(keys)
    for key, target in refs.items():
        if target == key:
            err("%r refers to itself" % key)
        elif target not in keyset:
            err("%r refers to missing key %r" % (key, target))
        elif target in refs:
            err("%r refers to %r, which is itself a reference" % (key, target))
    if list_path:
        words = {w.encode("latin-1") for w in read_word_list(list_path)}
        extra = keyset - words
        if extra:
            err("%d keys not in %s, e.g. %r" % (len(extra), list_path,
                                                sorted(extra)[:5]))
    print("%s: %d lines, %d defined words, %d reference lines, %d bytes"
          % (path, len(raw_lines), defined, len(refs), len(data)))
    if errors:
        print("FAILED: %d error(s)" % len(errors))
        return 1
    print("OK")
    return 0


# ------------------------------------------------------------------- main

def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--list", help="word list (Latin-1, one word per line)")
    ap.add_argument("--out", help="definitions file to write")
    ap.add_argument("--force", action="store_true",
                    help="rebuild even if the output is up to date")
    ap.add_argument("--wordnet", default=WORDNET_DIR,
                    help="WordNet database directory (default %(default)s)")
    ap.add_argument("--check", metavar="FILE",
                    help="verify an existing definitions file and exit")
    args = ap.parse_args()

    if args.check:
        if not os.path.isfile(args.check):
            fail("no such file: %s" % args.check)
        if args.list and not os.path.isfile(args.list):
            fail("no such word list: %s" % args.list)
        sys.exit(check(args.check, args.list))
    if not args.list or not args.out:
        ap.error("--list and --out are required (or use --check FILE)")
    if not os.path.isfile(args.list):
        fail("no such word list: %s" % args.list)
    inputs = wordnet_files(args.wordnet) + [args.list, os.path.abspath(__file__)]
    if not args.force and os.path.isfile(args.out):
        newest = max(os.path.getmtime(p) for p in inputs)
        if os.path.getmtime(args.out) > newest:
            log("%s is up to date (use --force to rebuild)" % args.out)
            return
    build(args.list, args.out, args.wordnet)


if __name__ == "__main__":
    main()
