#!/usr/bin/env python3
"""Imports Strong's Hebrew and Greek dictionaries and Nave's Topical Bible (SWORD modules
StrongsHebrew, StrongsGreek, Nave; TEI markup) as lexicon sources in Windows-1252.

Writes strongs-hebrew.txt, strongs-greek.txt and nave.txt into the output folder. Each
record is a line "$$$KEY", then alias lines "$$=ALIAS", then the article's lines; in the
article "{TITLE}" links to another entry, "<REF>" is a normalised bible reference, and a
backslash takes the next character literally (README.md beside this file).
"""

import argparse
import os
import re
import sys

import books
import markup

# name: (module, output file, number prefix or None)
LEXICONS = {
    "strongs-hebrew": ("StrongsHebrew", "strongs-hebrew.txt", "H"),
    "strongs-greek": ("StrongsGreek", "strongs-greek.txt", "G"),
    "nave": ("Nave", "nave.txt", None),
}

# Highest Strong's number of each dictionary, for checking links into the other one.
_STRONGS_LAST = {"H": 8674, "G": 5624}

_ITEM = "\x01"  # stands for the start of a list item until the lines are squeezed


def escape(text):
    """Text as an article line holds it: the mark characters after a backslash."""
    return re.sub(r"([\\{}<>])", r"\\\1", text)


def unescape(text):
    """The plain text of escaped text (the inverse of escape)."""
    return re.sub(r"\\(.)", r"\1", text)


class Lexicon:
    """Converts the TEI of one dictionary's entries to article text."""

    def __init__(self, prefix, keys, table=None):
        self.prefix = prefix       # "H", "G" or None (Nave)
        self.keys = keys           # every key of the module, for checking links
        self.table = table         # verses that references must exist in, or None
        self.stats = {"links": 0, "dangling links": 0, "references": 0,
                      "references left as text": 0}

    def article(self, body):
        """The article lines of one entry's markup (a list of str, escaped)."""
        if self.prefix == "H":
            # The Hebrew dictionary writes the transliteration's "ś" (sin) as a Greek
            # omega with tonos; the stand-in keeps it a Latin letter.
            body = body.replace("\u03ce", "\u015b")
        out = []
        skip = 0       # depth inside an element whose content is left out
        ref = None     # (tag, [text]) of an open <ref>
        for tok in markup.tokens(body):
            if isinstance(tok, str):
                if skip:
                    continue
                if ref is not None:
                    ref[1].append(tok)
                else:
                    out.append(escape(tok))
                continue
            name = tok.name
            if skip:
                if name == "orth" and not tok.empty:
                    skip += -1 if tok.closing else 1
                continue
            if name == "orth" and not tok.closing and not tok.empty and tok.get("type") != "trans":
                # The original script (and the Greek's Beta-code spelling): Hebrew and Greek
                # letters have no place in Windows-1252; the transliteration stays.
                skip = 1
            elif name == "lb":
                out.append("\n")
            elif name == "item" and not tok.closing:
                out.append("\n" + _ITEM)
            elif name in ("list", "item") and tok.closing:
                out.append("\n")
            elif name == "ref" and not tok.empty:
                if not tok.closing:
                    ref = (tok, [])
                elif ref is not None:
                    out.append(self._ref(ref[0], "".join(ref[1])))
                    ref = None
        return _lines("".join(out))

    def _ref(self, tag, text):
        osis = tag.get("osisRef")
        if osis:
            # A reference into a book outside the 66 or to a verse the numbering lacks
            # (Nave's "Col.8.16", the source's misreadings) keeps its shown text.
            try:
                norm = books.normalise_osis(osis)
                if self.table is None or books.verses_exist(norm, self.table):
                    self.stats["references"] += 1
                    return "<%s>" % norm
            except books.RefError:
                pass
            self.stats["references left as text"] += 1
            return escape(text)
        target = tag.get("target", "")
        if ":" not in target:
            return escape(text)
        target = target.split(":", 1)[1]
        if self.prefix is None:
            if target in self.keys:
                self.stats["links"] += 1
                return "{%s}" % escape(target)
            self.stats["dangling links"] += 1
            return escape(text)
        # Strong's: the shown text says which dictionary ("H24", "G427"); the Greek
        # dictionary's links to Hebrew numbers carry a Greek target, so the text decides.
        m = re.match(r"^\s*([HG])0*(\d+)\s*$", text)
        if m and 1 <= int(m.group(2)) <= _STRONGS_LAST[m.group(1)]:
            self.stats["links"] += 1
            return "{%s%s}" % (m.group(1), m.group(2))
        self.stats["dangling links"] += 1
        return escape(text)


def _lines(text):
    """Squeezes each line, drops empty lines at both ends and runs of empty lines, and
    writes list items as "  - " lines and lines that open with an arrow as "- " lines."""
    lines = []
    for raw in text.split("\n"):
        line = " ".join(raw.split())
        if line.startswith(_ITEM):
            line = line[1:].strip()
            line = "  - " + line if line else ""
        line = line.replace(_ITEM, "")
        if line.startswith("\u2192"):
            # Nave's arrow that opens each sub-topic, which Windows-1252 lacks.
            line = ("- " + line[1:].strip()).rstrip()
        if line or (lines and lines[-1]):
            lines.append(line)
    while lines and not lines[-1]:
        lines.pop()
    return lines


def aliases(key, prefix):
    """Strong's numbers as the sources write them: "H24" in the dictionaries' own links and
    "H0024" in the Strong's tags of the bible modules. Nave's gives none."""
    if prefix is None or not key.isdigit():
        return []
    n = int(key)
    return ["%s%d" % (prefix, n), "%s%04d" % (prefix, n)]


def import_lexicon(text, prefix, table=None):
    """Returns (records, stats, report); a record is (key, aliases, article lines).
    With a verse table, references to verses outside it stay text."""
    raw = list(markup.entries(text))
    keys = {k for k, _ in raw}
    lex = Lexicon(prefix, keys, table)
    records, by_key, report = [], {}, []
    stats = {"entries": 0, "duplicates dropped": 0, "duplicates merged": 0, "empty articles": 0}
    for key, body in raw:
        if not key:
            report.append("an entry without a key dropped")
            continue
        lines = lex.article(body)
        if key in by_key:
            earlier = by_key[key]
            if earlier[2] == lines:
                stats["duplicates dropped"] += 1
                report.append("%s: second identical entry dropped" % key)
            else:
                # Two different articles under one key (Nave's SIN: the desert and the
                # sin): one entry holding both, the second after an empty line.
                stats["duplicates merged"] += 1
                report.append("%s: second entry appended to the first" % key)
                earlier[2].extend([""] + lines)
            continue
        if not lines:
            stats["empty articles"] += 1
            report.append("%s: empty article" % key)
        record = (key, aliases(key, prefix), lines)
        by_key[key] = record
        records.append(record)
    stats["entries"] = len(records)
    stats.update(lex.stats)
    return records, stats, report


def write_lexicon(path, records, enc):
    """Writes the records in Windows-1252 with LF line ends, atomically."""
    def chunks():
        for key, alias_list, lines in records:
            yield b"$$$" + _field(enc, key) + b"\n"
            for a in alias_list:
                yield b"$$=" + _field(enc, a) + b"\n"
            for line in lines:
                data = enc.encode(line)
                yield (b"\\" + data if data.startswith(b"$") else data) + b"\n"
    markup.write_atomically(path, chunks())


def read_lexicon(path):
    """Reads a file written by write_lexicon back into (key, aliases, article lines), the
    text decoded from Windows-1252 with the line-start "$" escape undone; the marks inside
    the lines stay as written."""
    records = []
    with open(path, "rb") as f:
        data = f.read()
    for raw in data.decode("cp1252").split("\n")[:-1] if data else []:
        if raw.startswith("$$$"):
            records.append((raw[3:], [], []))
        elif not records:
            raise ValueError("%s: text before the first record" % path)
        elif raw.startswith("$$=") and not records[-1][2]:
            records[-1][1].append(raw[3:])
        else:
            records[-1][2].append(raw[1:] if raw.startswith("\\$") else raw)
    return records


def _field(enc, text):
    data = enc.encode(text)
    if not data.strip() or b"\n" in data or b"\r" in data:
        raise ValueError("key or alias unfit for a record line: %r" % text)
    return data


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", required=True, help="output folder (created when missing)")
    ap.add_argument("--only", choices=sorted(LEXICONS), action="append",
                    help="import only this lexicon (may be repeated)")
    ap.add_argument("--imp", help="with one --only: read a saved mod2imp export")
    ap.add_argument("--verses", help="verses.txt whose numbering every reference must exist in")
    ap.add_argument("--report", action="store_true", help="print every odd entry")
    args = ap.parse_args(argv)
    names = args.only or sorted(LEXICONS)
    if args.imp and len(names) != 1:
        ap.error("--imp needs exactly one --only")
    try:
        table = books.load_verse_table(args.verses) if args.verses else None
    except (OSError, ValueError) as e:
        print("import_lexicons: %s" % e, file=sys.stderr)
        return 1
    os.makedirs(args.out, exist_ok=True)
    for name in names:
        module, file_name, prefix = LEXICONS[name]
        enc = markup.Cp1252()
        try:
            records, stats, report = import_lexicon(markup.read_export(module, args.imp),
                                                    prefix, table)
            if not records:
                raise ValueError("no entries")
            write_lexicon(os.path.join(args.out, file_name), records, enc)
        except (RuntimeError, ValueError, OSError) as e:
            print("import_lexicons: %s: %s" % (module, e), file=sys.stderr)
            return 1
        print("import_lexicons: %s: %s; %s" % (
            file_name, ", ".join("%s %d" % kv for kv in stats.items()), enc.summary()))
        markup.print_report(report + enc.dropped_lines(), args.report)
    return 0


if __name__ == "__main__":
    sys.exit(main())
