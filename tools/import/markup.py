"""Reading SWORD exports and writing the importers' text files: the entries of `mod2imp`
output, a tokenizer for their OSIS and TEI markup, the conversion of the text to
Windows-1252, and the writing of tab-separated lines.

The markup of one entry is a fragment, not a document: milestones open in one verse and
close in another (sID/eID), so it is read as a flat run of tags and text, never parsed as
XML.
"""

import html
import os
import re
import subprocess
import unicodedata

ENTRY_MARK = "$$$"


def run_mod2imp(module):
    """The raw export of a SWORD module as text. Raises RuntimeError when mod2imp fails
    (module missing, program missing) instead of producing an empty file."""
    try:
        done = subprocess.run(["mod2imp", module], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, check=False)
    except OSError as e:
        raise RuntimeError("mod2imp can't be started (%s); scripts/setup.sh installs "
                           "libsword-utils" % e) from e
    if done.returncode != 0 or not done.stdout.startswith(ENTRY_MARK.encode()):
        raise RuntimeError("mod2imp %s failed (exit %d): %s" % (
            module, done.returncode, done.stderr.decode("utf-8", "replace").strip()[:300]))
    return done.stdout.decode("utf-8")


def read_export(module, path=None):
    """The export text: from a saved file when `path` is given, else from mod2imp."""
    if path:
        with open(path, encoding="utf-8") as f:
            return f.read()
    return run_mod2imp(module)


def entries(text):
    """Yields (key, body) for every "$$$KEY" line and the lines up to the next one; the
    body's surrounding white space is dropped. Text before the first key is ignored."""
    key, lines = None, []
    for line in text.split("\n"):
        if line.startswith(ENTRY_MARK):
            if key is not None:
                yield key, "\n".join(lines).strip()
            key, lines = line[len(ENTRY_MARK):].strip(), []
        elif key is not None:
            lines.append(line)
    if key is not None:
        yield key, "\n".join(lines).strip()


_TOKEN = re.compile(r"<(/?)([A-Za-z][\w:.-]*)((?:\s+[\w:.-]+\s*=\s*(?:\"[^\"]*\"|'[^']*'))*)"
                    r"\s*(/?)>")
_ATTR = re.compile(r"([\w:.-]+)\s*=\s*(?:\"([^\"]*)\"|'([^']*)')")


class Tag:
    __slots__ = ("name", "attrs", "closing", "empty")

    def __init__(self, name, attrs, closing, empty):
        self.name, self.attrs, self.closing, self.empty = name, attrs, closing, empty

    def get(self, attr, default=None):
        return self.attrs.get(attr, default)

    def __repr__(self):
        return "<%s%s %r%s>" % ("/" if self.closing else "", self.name, self.attrs,
                                "/" if self.empty else "")


def tokens(body):
    """Yields Tag objects and text strings (entities resolved) in document order. A "<"
    that does not start a well-formed tag stays text."""
    pos = 0
    for m in _TOKEN.finditer(body):
        if m.start() > pos:
            yield _text(body[pos:m.start()])
        raw = m.group(3)
        attrs = {a.group(1): _text(a.group(2) if a.group(2) is not None else a.group(3))
                 for a in _ATTR.finditer(raw)} if raw else {}
        yield Tag(m.group(2), attrs, bool(m.group(1)), bool(m.group(4)))
        pos = m.end()
    if pos < len(body):
        yield _text(body[pos:])


def _text(raw):
    return html.unescape(raw) if "&" in raw else raw


def squeeze(text):
    """Every run of white space (tabs and line breaks too) as one blank, none at the ends."""
    return " ".join(text.split())


# Characters outside Windows-1252 that have a close stand-in there.
_STAND_INS = {
    "\u201b": "\u2018",  # reversed comma quotation mark (Hebrew transliteration)
    "\u02bc": "\u2019", "\u02bb": "\u2018", "\u02be": "\u2019", "\u02bf": "\u2018",
    "\u2010": "-", "\u2011": "-", "\u2012": "\u2013", "\u2015": "\u2014",
    "\u2032": "'", "\u2033": '"', "\u00a0": " ", "\u2009": " ", "\u200a": " ",
    "\u202f": " ", "\u2002": " ", "\u2003": " ",
}


_OPEN_QUOTE, _CLOSE_QUOTE = "\u2018", "\u2019"
_BEFORE_NOUN = re.compile(r"\s+[a-z]")


def typed_apostrophes(text):
    """The text with every typographic apostrophe (U+2019, the closing single quote) that
    stands for an apostrophe written as the one a reader types ('), so that the texts'
    words ("God's", "didn't", "fathers'") are the words a typed query names. A U+2019 that
    closes a quotation opened by U+2018 stays a quotation mark.

    Inside a word it is always an apostrophe. After a word it is one when it marks a
    possessive: with no quotation open in the text, after a word ending in "s" ("his sons'.")
    unless a question mark, exclamation mark or closing double quote follows (the end of a
    quotation opened in an earlier verse), or before a lower-case word ("for conscience'
    sake"); inside a quotation only after a word ending in "s" and before a lower-case word
    ("three days' journey"), and not when the quotation opened at that very word ("'Yes' be")."""
    if _CLOSE_QUOTE not in text:
        return text
    out = list(text)
    opened = []  # where the quotations still open begin
    for i, ch in enumerate(text):
        if ch == _OPEN_QUOTE:
            opened.append(i)
        elif ch == _CLOSE_QUOTE:
            if _is_apostrophe(text, i, opened[-1] if opened else None):
                out[i] = "'"
            elif opened:
                opened.pop()
    return "".join(out)


def _is_apostrophe(text, i, quote_start):
    """Whether the U+2019 at text[i] is an apostrophe; quote_start is where the innermost
    open quotation begins, None when none is open."""
    if i == 0 or not text[i - 1].isalnum():
        return False
    after = text[i + 1:i + 2]
    if after.isalnum():
        return True
    start = i
    while start > 0 and text[start - 1].isalnum():
        start -= 1
    plural = text[i - 1] in "sS"
    before_noun = _BEFORE_NOUN.match(text, i + 1) is not None
    if quote_start is None:
        return plural and after not in ("?", "!", "\u201d") or before_noun
    return plural and before_noun and quote_start != start - 1


class Cp1252:
    """Converts text to Windows-1252 bytes. A character outside the code page becomes its
    stand-in, or its base letter without accents when that letter is in the code page
    ("ṓ" to "o"), or is dropped; dropped characters are counted by name for the report."""

    def __init__(self):
        self.dropped = {}
        self.approximated = 0

    def encode(self, text):
        text = unicodedata.normalize("NFC", text)
        try:
            return text.encode("cp1252")
        except UnicodeEncodeError:
            return b"".join(self._char(ch) for ch in text)

    def _char(self, ch):
        try:
            return ch.encode("cp1252")
        except UnicodeEncodeError:
            pass
        if ch in _STAND_INS:
            self.approximated += 1
            return _STAND_INS[ch].encode("cp1252")
        base = "".join(c for c in unicodedata.normalize("NFD", ch)
                       if not unicodedata.combining(c))
        if base and base != ch:
            try:
                encoded = base.encode("cp1252")
                self.approximated += 1
                return encoded
            except UnicodeEncodeError:
                pass
        name = unicodedata.name(ch, "U+%04X" % ord(ch))
        self.dropped[name] = self.dropped.get(name, 0) + 1
        return b""

    def dropped_lines(self):
        """One report line per character dropped, with its count."""
        return ["character not in Windows-1252 dropped: %s (%d)" % kv
                for kv in sorted(self.dropped.items())]

    def summary(self):
        dropped = sum(self.dropped.values())
        return "%d characters approximated, %d dropped" % (self.approximated, dropped)


def write_lines(path, rows):
    """Writes rows of fields (str or bytes) as tab-separated lines with LF."""
    def lines():
        for row in rows:
            fields = [x if isinstance(x, bytes) else str(x).encode("cp1252") for x in row]
            for x in fields:
                if b"\t" in x or b"\n" in x or b"\r" in x:
                    raise ValueError("tab or line break inside a field: %r" % x[:60])
            yield b"\t".join(fields) + b"\n"
    write_atomically(path, lines())


def write_atomically(path, chunks):
    """Writes the byte chunks to a temporary file and renames it over `path`, so a failed
    run leaves neither a half file nor the temporary one."""
    tmp = path + ".tmp"
    try:
        with open(tmp, "wb") as f:
            for chunk in chunks:
                f.write(chunk)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.remove(tmp)
        raise


def print_report(report, verbose):
    """Prints the report lines (odd entries, characters dropped) when asked for."""
    if verbose:
        for line in report:
            print("  " + line)
