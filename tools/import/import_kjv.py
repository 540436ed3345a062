#!/usr/bin/env python3
"""Imports the King James Version (SWORD module engKJV2006eb) as plain verse texts in
Windows-1252, with the titles the module has and its book names.

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

MODULE = "engKJV2006eb"
EXPECTED_VERSES = 31102

_KEY = re.compile(r"^(.+) (\d+):(\d+)$")

# Elements that break the line or start a paragraph, line, line group, chapter or book:
# they stand for a blank between their neighbours.
_BREAKS = {"lb", "l", "lg", "div", "chapter", "milestone", "p", "list", "item", "cell", "row"}
# Elements whose content is verse text; their tags go.
_KEEP = {"w", "transChange", "divineName", "q", "seg", "foreign", "hi", "name", "inscription",
         "catchWord", "rdg", "speaker", "mentioned", "abbr", "added"}
# Elements whose content never belongs to the verse text.
_SKIP = {"note", "title"}


class Verse:
    """The text of one verse entry and the titles found in it."""

    def __init__(self):
        self.text = []
        self.titles = []      # (kind, text) in source order
        self.unbalanced = []  # element names left open at the end of the entry
        self.unknown = set()


def split_entry(body):
    """Splits one entry's markup into verse text and titles.

    Notes (with everything inside them) are removed. A <title> becomes a title: "psalm"
    for the canonical psalm titles, "book" and "subtitle" for a book's main titles (level
    1 and 2), "colophon" for a title after the verse text (the subscriptions after the
    epistles, which the module keeps in the last verse after the chapter's end), and
    "section" for any other title."""
    verse = Verse()
    stack = []          # open <note>/<title> elements, innermost last
    title_parts = None  # text of the open title, without its notes
    title_tag = None
    after_text = False  # verse text or the chapter's end seen: a title now is a colophon
    for tok in markup.tokens(body):
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
                if name == "title" and not stack:
                    verse.titles.append((_title_kind(title_tag, after_text),
                                         "".join(title_parts)))
                    title_parts = title_tag = None
            continue
        if name == "chapter" and tok.get("eID"):
            after_text = True
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


def import_kjv(text):
    """Reads the export text. Returns (verses, titles, book_infos, report) where verses
    is a list of (book, chapter, verse, bytes), titles of (book, chapter, verse, kind,
    bytes), book_infos of BookInfo and report a list of lines about odd entries."""
    enc = markup.Cp1252()
    verses, titles, infos, report = [], [], [], []
    book = None
    seen_key_books = {}   # the module's key name -> book number
    for key, body in markup.entries(text):
        m = _KEY.match(key)
        if not m:
            continue  # module and testament headings
        name, chapter, verse_no = m.group(1), int(m.group(2)), int(m.group(3))
        if chapter == 0:
            book = _start_book(body, name, infos, report)
            seen_key_books[name] = book
        elif seen_key_books.get(name) != book or book is None:
            raise ValueError("entry %r comes before its book's heading" % key)
        parsed = split_entry(body)
        if parsed.unknown:
            report.append("%s: content of unknown elements kept: %s"
                          % (key, ", ".join(sorted(parsed.unknown))))
        if parsed.unbalanced:
            report.append("%s: entry ends inside <%s>" % (key, ">, <".join(parsed.unbalanced)))
        # A title in a book's or chapter's heading entry stands at its first verse.
        at = (book, max(chapter, 1), max(verse_no, 1))
        for kind, title in parsed.titles:
            data = squeeze_encode(enc, title)
            if data:
                titles.append(at + (kind, data))
            else:
                report.append("%s: empty %s title dropped" % (key, kind))
        if chapter == 0 or verse_no == 0:
            if squeeze_encode(enc, "".join(parsed.text)):
                report.append("%s: text outside a verse dropped" % key)
            continue
        data = squeeze_encode(enc, "".join(parsed.text))
        if not data:
            report.append("%s %d:%d: empty verse" % (books.OSIS_IDS[book - 1], chapter, verse_no))
        verses.append((book, chapter, verse_no, data))
    report.extend(enc.dropped_lines())
    report.append(enc.summary())
    return verses, titles, infos, report


def _start_book(body, key_name, infos, report):
    """A book's heading entry: its OSIS id gives the book number; the usfm milestones give
    its names. Returns the book number."""
    osis = None
    names = {}
    for tok in markup.tokens(body):
        if isinstance(tok, str):
            continue
        if tok.name == "div" and tok.get("type") == "book" and tok.get("sID") and osis is None:
            osis = tok.get("osisID")
        elif tok.name == "milestone" and tok.get("type", "").startswith("x-usfm-"):
            names[tok.get("type")[len("x-usfm-"):]] = tok.get("n", "")
    number = books.book_from_osis(osis) if osis else books.book_from_name(key_name)
    if number is None:
        raise ValueError("book %r (%s) is not one of the 66" % (key_name, osis))
    if infos and infos[-1].number == number:
        return number
    info = BookInfo(number, books.OSIS_IDS[number - 1])
    info.short = names.get("toc2") or names.get("h") or key_name
    info.abbreviation = names.get("toc3", "")
    info.long = names.get("toc1") or info.short
    if not osis:
        report.append("%s: no book division; number taken from the key name" % key_name)
    infos.append(info)
    return number


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
    ap.add_argument("--out", required=True, help="output folder (created when missing)")
    ap.add_argument("--imp", help="read a saved mod2imp export instead of running mod2imp")
    ap.add_argument("--report", action="store_true", help="print every odd entry")
    args = ap.parse_args(argv)
    try:
        verses, titles, infos, report = import_kjv(markup.read_export(MODULE, args.imp))
    except (RuntimeError, ValueError, OSError) as e:
        print("import_kjv: %s" % e, file=sys.stderr)
        return 1
    errors = check(verses, titles, infos)
    if errors:
        print("import_kjv: " + "; ".join(errors), file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    markup.write_lines(os.path.join(args.out, "verses.txt"), verses)
    markup.write_lines(os.path.join(args.out, "titles.txt"), titles)
    markup.write_lines(os.path.join(args.out, "books.txt"),
                [(i.number, i.osis, i.short, i.abbreviation, i.long) for i in infos])
    kinds = {}
    for t in titles:
        kinds[t[3]] = kinds.get(t[3], 0) + 1
    print("import_kjv: %d verses, %d books, titles %s" % (
        len(verses), len(infos), ", ".join("%s %d" % kv for kv in sorted(kinds.items()))))
    markup.print_report(report, args.report)
    return 0


if __name__ == "__main__":
    sys.exit(main())
