#!/usr/bin/env python3
"""Imports the cross-reference notes of the World English Bible (SWORD module
engWEB2015eb) as normalised references.

Writes xrefs.txt into the output folder, one line per note:
  BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TARGET TARGET ...
with every target normalised to BOOK.CHAPTER.VERSE, BOOK.CHAPTER or a range of two of
these joined by "-" (README.md beside this file). Notes in books outside the 66, and
targets there, are left out and counted.
"""

import argparse
import os
import re
import sys

import books
import markup

MODULE = "engWEB2015eb"

_KEY = re.compile(r"^(.+) (\d+):(\d+)$")
_ORIGIN = re.compile(r"^\s*(\d+):(\d+)\s*$")


class Note:
    def __init__(self):
        self.origin_text = None
        self.refs = []        # (osisRef or None, text) of each <reference> in the note


def find_notes(body):
    """The cross-reference notes of one entry's markup, in order."""
    notes, note, ref, depth = [], None, None, 0
    for tok in markup.tokens(body):
        if isinstance(tok, str):
            if ref is not None:
                ref[1].append(tok)
            continue
        if tok.name == "note" and not tok.empty:
            if tok.closing:
                depth -= 1
                if depth == 0 and note is not None:
                    notes.append(note)
                    note = None
            else:
                depth += 1
                if depth == 1 and tok.get("type") == "crossReference":
                    note = Note()
        elif tok.name == "reference" and note is not None and not tok.empty:
            if not tok.closing:
                ref = (tok, [])
            elif ref is not None:
                text = "".join(ref[1])
                if ref[0].get("subType") == "x-origin":
                    note.origin_text = text
                else:
                    note.refs.append((ref[0].get("osisRef"), text))
                ref = None
    return notes


def import_xrefs(text, table=None):
    """Returns (rows, stats, report): rows of (book, chapter, verse, targets text)."""
    rows, report = [], []
    stats = dict.fromkeys(["notes", "targets", "notes outside the 66", "targets outside the 66",
                           "notes not in the numbering", "targets not in the numbering",
                           "targets unreadable", "notes without targets"], 0)
    book = None
    for key, body in markup.entries(text):
        m = _KEY.match(key)
        if not m:
            continue
        chapter, verse = int(m.group(2)), int(m.group(3))
        if chapter == 0:
            book = _book_of_heading(body, m.group(1))
        notes = find_notes(body) if "crossReference" in body else []
        for note in notes:
            if book is None:
                stats["notes outside the 66"] += 1
                continue
            here = (chapter, verse)
            om = _ORIGIN.match(note.origin_text or "")
            if om:
                origin = (int(om.group(1)), int(om.group(2)))
                if verse == 0 or chapter == 0:
                    here = origin
                elif origin != here:
                    report.append("%s: note names its origin %d:%d" % ((key,) + origin))
            if here[0] == 0 or here[1] == 0:
                report.append("%s: note without an origin verse dropped" % key)
                continue
            if table is not None and (book,) + here not in table:
                stats["notes not in the numbering"] += 1
                report.append("%s: origin %d.%d.%d is not in the verse numbering"
                              % ((key, book) + here))
                continue
            targets = []
            for osis, ref_text in note.refs:
                if osis:
                    try:
                        found, skipped = [books.normalise_osis(osis)], []
                    except books.RefError as e:
                        found, skipped = [], [(osis, "other book" if e.other_book else str(e))]
                else:
                    found, skipped = books.normalise_english(ref_text, book)
                for item, reason in skipped:
                    if reason == "other book":
                        stats["targets outside the 66"] += 1
                    else:
                        stats["targets unreadable"] += 1
                        report.append("%s: %r left out: %s" % (key, item, reason))
                for t in found:
                    if table is not None and not books.verses_exist(t, table):
                        stats["targets not in the numbering"] += 1
                        report.append("%s: %s is not in the verse numbering" % (key, t))
                    else:
                        targets.append(t)
            if not targets:
                stats["notes without targets"] += 1
                continue
            stats["notes"] += 1
            stats["targets"] += len(targets)
            rows.append((book, here[0], here[1], " ".join(targets)))
    return rows, stats, report


def _book_of_heading(body, key_name):
    for tok in markup.tokens(body):
        if not isinstance(tok, str) and tok.name == "div" and tok.get("type") == "book" \
                and tok.get("osisID"):
            return books.book_from_osis(tok.get("osisID"))  # None outside the 66
    return books.book_from_name(key_name)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", required=True, help="output folder (created when missing)")
    ap.add_argument("--imp", help="read a saved mod2imp export instead of running mod2imp")
    ap.add_argument("--verses", help="verses.txt whose numbering every target must exist in")
    ap.add_argument("--report", action="store_true", help="print every target left out")
    args = ap.parse_args(argv)
    try:
        table = books.load_verse_table(args.verses) if args.verses else None
        rows, stats, report = import_xrefs(markup.read_export(MODULE, args.imp), table)
    except (RuntimeError, ValueError, OSError) as e:
        print("import_web_xrefs: %s" % e, file=sys.stderr)
        return 1
    if not rows:
        print("import_web_xrefs: no cross-reference notes found", file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    markup.write_lines(os.path.join(args.out, "xrefs.txt"), rows)
    print("import_web_xrefs: " + ", ".join("%s %d" % kv for kv in stats.items()))
    markup.print_report(report, args.report)
    return 0


if __name__ == "__main__":
    sys.exit(main())
