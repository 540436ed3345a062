#!/usr/bin/env python3
"""Imports a bible translation from its SWORD module (`kjv`: the King James Version,
engKJV2006eb; `web`: the World English Bible, engWEB2015eb) as plain verse texts in
Windows-1252 in the KJV's numbering of the 66 books, with the titles the module has and its
book names.

Writes, into the output folder:
  verses.txt  BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TEXT, one line per verse (31,102)
  titles.txt  BOOK<TAB>CHAPTER<TAB>VERSE<TAB>KIND<TAB>TEXT
  books.txt   BOOK<TAB>OSIS<TAB>SHORT<TAB>ABBREVIATION<TAB>LONG
The formats are described in README.md beside this file.
"""

import argparse
import os
import re
import sys

import books
import markup

EXPECTED_VERSES = 31102


class Move:
    """Verses that a module keeps at the end of another verse: the text of `source` from the
    first target's opening words on is cut off, and each target gets the text from its own
    opening words to the next target's. Every target must be empty in the module."""

    def __init__(self, source, targets):
        self.source = source
        self.targets = targets  # [(position, opening words)] in text order


class Translation:
    """What sets one module apart: its name and the verses it keeps elsewhere than the KJV
    numbering has them."""

    def __init__(self, module, moves=()):
        self.module = module
        self.moves = list(moves)


TRANSLATIONS = {
    "kjv": Translation("engKJV2006eb"),
    # The WEB's module has another numbering (NRSVA). It prints the doxology of Romans after
    # 14:23 (its 14:24-26, which that numbering lacks, so the module appends them to 14:23);
    # the KJV numbering has it as 16:25-27, which the module leaves empty but for a note. Its
    # 3 John 1:15 and Revelation 12:18 are empty: the text stands in 1:14 and 13:1, as in
    # the KJV. It has the Deuterocanon, a preface before Genesis and a glossary after
    # Revelation.
    "web": Translation("engWEB2015eb", [
        Move((45, 14, 23), [((45, 16, 25), "Now to him who is able"),
                            ((45, 16, 26), "but now is revealed"),
                            ((45, 16, 27), "to the only wise God")]),
    ]),
}

_KEY = re.compile(r"^(.+) (\d+):(\d+)$")

# Elements that break the line or start a paragraph, line, line group, chapter or book:
# they stand for a blank between their neighbours.
_BREAKS = {"lb", "l", "lg", "div", "chapter", "milestone", "p", "list", "item", "cell", "row"}
# Elements whose content is verse text; their tags go.
_KEEP = {"w", "transChange", "divineName", "q", "seg", "foreign", "hi", "name", "inscription",
         "catchWord", "rdg", "mentioned", "abbr", "added"}
# Elements whose content never belongs to the verse text: notes, titles, and the names of
# the speakers that the WEB puts before the lines of the Song of Solomon.
_SKIP = {"note", "title", "speaker"}


# Where a note, title or speaker's name was taken out of the text. The WEB writes some
# footnotes between a word (or its punctuation) and the next word without a blank
# ("God<note>...</note>created", "conceived,<note>...</note>and"): there the note stands
# for one.
_GAP = "\x00"
_GAP_BEFORE_WORD = re.compile(r"(?<=\S)\x00+(?=\w)")


class Verse:
    """The text of one verse entry and the titles found in it."""

    def __init__(self):
        self.text = []
        self.titles = []      # (kind, text) in source order
        self.names = {}       # the book's usfm milestones in a heading: "toc1" -> name
        self.unbalanced = []  # element names left open at the end of the entry
        self.unknown = set()
        self.outside = False  # text or titles outside the book's division were dropped

    def plain_text(self):
        return _GAP_BEFORE_WORD.sub(" ", "".join(self.text)).replace(_GAP, "")


def split_entry(body, heading_osis=None):
    """Splits one entry's markup into verse text and titles.

    Notes (with everything inside them) are removed. A <title> becomes a title: "psalm"
    for the canonical psalm titles, "book" and "subtitle" for a book's main titles (level
    1 and 2 or lower), "colophon" for a title after the verse text (the subscriptions
    after the epistles, which the module keeps in the last verse after the chapter's end),
    and "section" for any other title.

    Only what lies inside the book's division counts: a book's heading entry (heading_osis
    names its book) from the start of that book's own division on, any other entry up to
    the end of a book's division. Front matter before the first book, matter between
    books and back matter after the last are dropped."""
    verse = Verse()
    inside = heading_osis is None
    stack = []          # open <note>/<title> elements, innermost last
    title_parts = None  # text of the open title, without its notes
    title_tag = None
    after_text = False  # verse text or the chapter's end seen: a title now is a colophon
    for tok in markup.tokens(body):
        if not isinstance(tok, str) and tok.name == "div" and tok.get("type") == "book":
            if tok.get("eID"):
                inside = False
            elif tok.get("sID"):
                inside = heading_osis is not None and tok.get("osisID") == heading_osis
            continue
        if not inside:
            if not isinstance(tok, str) and tok.name == "title" or \
                    isinstance(tok, str) and not stack and tok.strip():
                verse.outside = True
            continue
        if isinstance(tok, str):
            if not stack:
                verse.text.append(tok)
                if tok.strip():
                    after_text = True
            elif stack == ["title"]:
                title_parts.append(tok)
            continue
        name = tok.name
        if name in _SKIP and not tok.empty:
            if not tok.closing:
                if name == "title" and not stack:
                    title_parts, title_tag = [], tok
                stack.append(name)
            elif stack and stack[-1] == name:
                stack.pop()
                if not stack:
                    verse.text.append(_GAP)
                if name == "title" and not stack:
                    verse.titles.append((_title_kind(title_tag, after_text),
                                         "".join(title_parts)))
                    title_parts = title_tag = None
            continue
        if name == "chapter" and tok.get("eID"):
            after_text = True
        if name == "milestone" and not stack and tok.get("type", "").startswith("x-usfm-"):
            verse.names.setdefault(tok.get("type")[len("x-usfm-"):], tok.get("n", ""))
        if stack:
            if name in _BREAKS and stack == ["title"]:
                title_parts.append(" ")
            continue
        if name in _BREAKS:
            verse.text.append(" ")
        elif name not in _KEEP:
            verse.unknown.add(name)
    verse.unbalanced = stack
    return verse


def _title_kind(tag, after_text):
    kind = tag.get("type")
    if kind == "psalm":
        return "psalm"
    if kind == "main":
        return "subtitle" if tag.get("level", "1") != "1" else "book"
    return "colophon" if after_text else "section"


class BookInfo:
    def __init__(self, number, osis):
        self.number, self.osis = number, osis
        self.short = self.abbreviation = self.long = ""


def import_bible(text, translation=TRANSLATIONS["kjv"], numbering=None):
    """Reads the export text. Returns (verses, titles, book_infos, report) where verses
    is a list of (book, chapter, verse, bytes) in the KJV numbering, titles of (book,
    chapter, verse, kind, bytes), book_infos of BookInfo and report a list of lines about
    odd entries. numbering, a set of (book, chapter, verse), is the numbering the verses
    must fit: a module's empty verse outside it is left out, one with text is an error."""
    enc = markup.Cp1252()
    texts = {}  # (book, chapter, verse) -> bytes, in the module's order
    titles, infos, report = [], [], []
    book = None
    key_books = {}   # the module's key name -> book number, None for a book outside the 66
    for key, body in markup.entries(text):
        m = _KEY.match(key)
        if not m:
            continue  # module and testament headings
        name, chapter, verse_no = m.group(1), int(m.group(2)), int(m.group(3))
        if chapter == 0:
            book = _heading_book(body, name, report)
            key_books[name] = book
        elif name not in key_books or key_books[name] != book:
            raise ValueError("entry %r comes before its book's heading" % key)
        if book is None:
            continue  # a book outside the 66
        parsed = split_entry(body, books.OSIS_IDS[book - 1] if chapter == 0 else None)
        if chapter == 0:
            _add_book(infos, book, parsed.names, name, report)
        if parsed.unknown:
            report.append("%s: content of unknown elements kept: %s"
                          % (key, ", ".join(sorted(parsed.unknown))))
        if parsed.unbalanced:
            report.append("%s: entry ends inside <%s>" % (key, ">, <".join(parsed.unbalanced)))
        if parsed.outside:
            report.append("%s: text outside the book dropped" % key)
        # A title in a book's or chapter's heading entry stands at its first verse.
        at = (book, max(chapter, 1), max(verse_no, 1))
        for kind, title in parsed.titles:
            data = squeeze_encode(enc, title)
            if data:
                titles.append(at + (kind, data))
            else:
                report.append("%s: empty %s title dropped" % (key, kind))
        # A query's apostrophe is the typed one: the verse texts write it so too.
        data = squeeze_encode(enc, markup.typed_apostrophes(parsed.plain_text()))
        if chapter == 0 or verse_no == 0:
            if data:
                report.append("%s: text outside a verse dropped" % key)
            continue
        texts[(book, chapter, verse_no)] = data
    for move in translation.moves:
        report.append(_move_verses(texts, move))
    verses = []
    for at, data in texts.items():
        where = "%s %d:%d" % (books.OSIS_IDS[at[0] - 1], at[1], at[2])
        if numbering is not None and at not in numbering:
            if data:
                raise ValueError("%s: a verse with text outside the numbering" % where)
            report.append("%s: empty verse outside the numbering left out" % where)
            continue
        if not data:
            report.append("%s: empty verse" % where)
        verses.append(at + (data,))
    report.extend(enc.dropped_lines())
    report.append(enc.summary())
    return verses, titles, infos, report


def _heading_book(body, key_name, report):
    """The number of the book a heading entry starts, from the module's key name; None
    for a book outside the 66, which is left out."""
    number = books.book_from_name(key_name)
    if number is not None:
        return number
    osis = None
    for tok in markup.tokens(body):
        if not isinstance(tok, str) and tok.name == "div" and tok.get("type") == "book":
            osis = tok.get("osisID")
            break
    if books.is_other_name(key_name) or (osis and books.is_other_osis(osis)):
        report.append("%s: a book outside the 66 left out" % key_name)
        return None
    raise ValueError("book %r (%s) is not one of the 66" % (key_name, osis))


def _add_book(infos, number, names, key_name, report):
    """The book's names from the usfm milestones of its heading; the English name where
    the heading has none (an entry cut short by the module)."""
    if infos and infos[-1].number == number:
        return
    info = BookInfo(number, books.OSIS_IDS[number - 1])
    info.short = names.get("toc2") or names.get("h") or books.ENGLISH_NAMES[number - 1]
    info.abbreviation = names.get("toc3", "")
    info.long = names.get("toc1") or info.short
    if not names:
        report.append("%s: no book division in its heading; its names are the English ones"
                      % key_name)
    infos.append(info)


def _move_verses(texts, move):
    """Applies one Move to the verse texts; a report line. Raises ValueError when the text
    does not read as the move expects."""
    source = texts.get(move.source, b"")
    cuts = []
    start = 0
    for at, words in move.targets:
        found = source.find(words.encode("cp1252"), start)
        if found < 0:
            raise ValueError("%d.%d.%d: %r not found for %d.%d.%d"
                             % (move.source + (words,) + at))
        if texts.get(at, b""):
            raise ValueError("%d.%d.%d: has text of its own, nothing can move there" % at)
        cuts.append(found)
        start = found + 1
    ends = cuts[1:] + [len(source)]
    for (at, _), begin, end in zip(move.targets, cuts, ends):
        texts[at] = source[begin:end].strip()
    texts[move.source] = source[:cuts[0]].strip()
    first, last = move.targets[0][0], move.targets[-1][0]
    return "%d.%d.%d: its end moved to %d.%d.%d-%d.%d.%d" % (move.source + first + last)


def squeeze_encode(enc, text):
    """Windows-1252 bytes of the text with white space squeezed to single blanks. Squeezing
    after encoding also closes gaps left by dropped characters."""
    return b" ".join(enc.encode(text).split())


def check(verses, titles, infos):
    """Checks the verse count, the book count, the order and that every title stands at a
    verse; returns error lines."""
    errors = []
    positions = {v[:3] for v in verses}
    for t in titles:
        if t[:3] not in positions:
            errors.append("%s title at %d.%d.%d, which is no verse" % ((t[3],) + t[:3]))
    if len(verses) != EXPECTED_VERSES:
        errors.append("%d verses, expected %d" % (len(verses), EXPECTED_VERSES))
    if [i.number for i in infos] != list(range(1, books.BOOK_COUNT + 1)):
        errors.append("books are not 1-66 in order")
    last = (0, 0, 0)
    for v in verses:
        if v[:3] <= last:
            errors.append("verse %d.%d.%d out of order" % v[:3])
            break
        last = v[:3]
    return errors


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("translation", choices=sorted(TRANSLATIONS), help="the translation")
    ap.add_argument("--out", required=True, help="output folder (created when missing)")
    ap.add_argument("--imp", help="read a saved mod2imp export instead of running mod2imp")
    ap.add_argument("--numbering", help="verses.txt of the numbering the verses must fit "
                                        "(the KJV's, for a module of another numbering)")
    ap.add_argument("--report", action="store_true", help="print every odd entry")
    args = ap.parse_args(argv)
    translation = TRANSLATIONS[args.translation]
    try:
        numbering = books.load_verse_table(args.numbering) if args.numbering else None
        verses, titles, infos, report = import_bible(
            markup.read_export(translation.module, args.imp), translation, numbering)
    except (RuntimeError, ValueError, OSError) as e:
        print("import_bible: %s" % e, file=sys.stderr)
        return 1
    errors = check(verses, titles, infos)
    if errors:
        print("import_bible: " + "; ".join(errors), file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    markup.write_lines(os.path.join(args.out, "verses.txt"), verses)
    markup.write_lines(os.path.join(args.out, "titles.txt"), titles)
    markup.write_lines(os.path.join(args.out, "books.txt"),
                [(i.number, i.osis, i.short, i.abbreviation, i.long) for i in infos])
    kinds = {}
    for t in titles:
        kinds[t[3]] = kinds.get(t[3], 0) + 1
    print("import_bible: %s: %d verses (%d empty), %d books, titles %s" % (
        translation.module, len(verses), sum(1 for v in verses if not v[3]), len(infos),
        ", ".join("%s %d" % kv for kv in sorted(kinds.items()))))
    markup.print_report(report, args.report)
    return 0


if __name__ == "__main__":
    sys.exit(main())
