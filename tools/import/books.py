"""The 66 books in the common Protestant order and the normalised references built on them.

Book numbers are 1-66. A normalised reference is BOOK.CHAPTER.VERSE, BOOK.CHAPTER for a
whole chapter, or two of these joined by "-" for a range (see README.md).
"""

import re

# (OSIS id, English name, further names the sources use: SWORD keys, the WEB's notes)
_BOOKS = [
    ("Gen", "Genesis", []),
    ("Exod", "Exodus", []),
    ("Lev", "Leviticus", []),
    ("Num", "Numbers", []),
    ("Deut", "Deuteronomy", []),
    ("Josh", "Joshua", []),
    ("Judg", "Judges", []),
    ("Ruth", "Ruth", []),
    ("1Sam", "1 Samuel", ["I Samuel"]),
    ("2Sam", "2 Samuel", ["II Samuel"]),
    ("1Kgs", "1 Kings", ["I Kings"]),
    ("2Kgs", "2 Kings", ["II Kings"]),
    ("1Chr", "1 Chronicles", ["I Chronicles"]),
    ("2Chr", "2 Chronicles", ["II Chronicles"]),
    ("Ezra", "Ezra", []),
    ("Neh", "Nehemiah", []),
    ("Esth", "Esther", []),
    ("Job", "Job", []),
    ("Ps", "Psalms", ["Psalm"]),
    ("Prov", "Proverbs", []),
    ("Eccl", "Ecclesiastes", []),
    ("Song", "Song of Solomon", ["Song of Songs"]),
    ("Isa", "Isaiah", []),
    ("Jer", "Jeremiah", []),
    ("Lam", "Lamentations", []),
    ("Ezek", "Ezekiel", []),
    ("Dan", "Daniel", []),
    ("Hos", "Hosea", []),
    ("Joel", "Joel", []),
    ("Amos", "Amos", []),
    ("Obad", "Obadiah", []),
    ("Jonah", "Jonah", []),
    ("Mic", "Micah", []),
    ("Nah", "Nahum", []),
    ("Hab", "Habakkuk", []),
    ("Zeph", "Zephaniah", []),
    ("Hag", "Haggai", []),
    ("Zech", "Zechariah", []),
    ("Mal", "Malachi", []),
    ("Matt", "Matthew", []),
    ("Mark", "Mark", []),
    ("Luke", "Luke", []),
    ("John", "John", []),
    ("Acts", "Acts", []),
    ("Rom", "Romans", []),
    ("1Cor", "1 Corinthians", ["I Corinthians"]),
    ("2Cor", "2 Corinthians", ["II Corinthians"]),
    ("Gal", "Galatians", []),
    ("Eph", "Ephesians", []),
    ("Phil", "Philippians", []),
    ("Col", "Colossians", []),
    ("1Thess", "1 Thessalonians", ["I Thessalonians"]),
    ("2Thess", "2 Thessalonians", ["II Thessalonians"]),
    ("1Tim", "1 Timothy", ["I Timothy"]),
    ("2Tim", "2 Timothy", ["II Timothy"]),
    ("Titus", "Titus", []),
    ("Phlm", "Philemon", []),
    ("Heb", "Hebrews", []),
    ("Jas", "James", []),
    ("1Pet", "1 Peter", ["I Peter"]),
    ("2Pet", "2 Peter", ["II Peter"]),
    ("1John", "1 John", ["I John"]),
    ("2John", "2 John", ["II John"]),
    ("3John", "3 John", ["III John"]),
    ("Jude", "Jude", []),
    ("Rev", "Revelation", ["Revelation of John"]),
]

BOOK_COUNT = len(_BOOKS)
OSIS_IDS = [b[0] for b in _BOOKS]
ENGLISH_NAMES = [b[1] for b in _BOOKS]

_BY_OSIS = {osis: i + 1 for i, osis in enumerate(OSIS_IDS)}
_BY_NAME = {}
for _i, (_osis, _name, _more) in enumerate(_BOOKS):
    for _n in [_osis, _name] + _more:
        _BY_NAME[_n.lower()] = _i + 1

# Books outside the 66 that the sources name (Apocrypha and Deuterocanon). References
# into them are recognised and left out, not taken for errors.
_OTHER_OSIS = {"Tob", "Jdt", "AddEsth", "EsthGr", "Wis", "Sir", "Bar", "EpJer", "PrAzar",
               "Sus", "Bel", "1Macc", "2Macc", "3Macc", "4Macc", "1Esd", "2Esd", "PrMan",
               "Ps151", "AddPs", "AddDan", "DanGr", "Odes", "PssSol", "EpLao"}
_OTHER_NAMES = {"tobit", "judith", "esther (greek)", "wisdom", "wisdom of solomon", "sirach",
                "ecclesiasticus", "baruch", "letter of jeremiah", "prayer of azariah",
                "susanna", "bel and the dragon", "1 maccabees", "2 maccabees", "3 maccabees",
                "4 maccabees", "1 esdras", "2 esdras", "prayer of manasses",
                "prayer of manasseh", "psalm 151", "daniel (greek)"}


class RefError(ValueError):
    """A reference that can't be normalised; `other_book` is set when it names a book
    outside the 66 (a known case, counted apart from real faults)."""

    def __init__(self, message, other_book=False):
        super().__init__(message)
        self.other_book = other_book


def book_from_osis(osis):
    """1-66 for an OSIS book id, None for an unknown id."""
    return _BY_OSIS.get(osis)


def is_other_osis(osis):
    return osis in _OTHER_OSIS


def book_from_name(name):
    """1-66 for an English book name or abbreviation (case and spacing ignored), else None."""
    return _BY_NAME.get(" ".join(name.split()).lower())


def is_other_name(name):
    return " ".join(name.split()).lower() in _OTHER_NAMES


_OSIS_POINT = re.compile(r"^([1-4]?[A-Za-z]+)\.(\d+)(?:\.(\d+))?$")


def _osis_point(text):
    m = _OSIS_POINT.match(text)
    if not m:
        raise RefError("not an OSIS reference: %r" % text)
    book = book_from_osis(m.group(1))
    if book is None:
        raise RefError("book outside the 66: %r" % text, is_other_osis(m.group(1)))
    point = (book, int(m.group(2))) + ((int(m.group(3)),) if m.group(3) else ())
    if 0 in point[1:]:
        raise RefError("chapter or verse 0: %r" % text)
    return point


def format_point(point):
    return ".".join(str(n) for n in point)


def normalise_osis(ref):
    """Normalises one OSIS reference ("Gen.1.1", "Ps.23", "Exod.6.16-Exod.6.20") to
    "1.1.1", "19.23", "2.6.16-2.6.20". A range whose two ends are the same point becomes
    that point; a range that runs backwards raises RefError."""
    ends = ref.strip().split("-")
    if len(ends) > 2 or not ends[0]:
        raise RefError("not an OSIS reference: %r" % ref)
    first = _osis_point(ends[0])
    if len(ends) == 1:
        return format_point(first)
    last = _osis_point(ends[1])
    return format_range(first, last)


def format_range(first, last):
    if first == last:
        return format_point(first)
    # Compare chapter-level points as their first (or last) verse would.
    if first[:2] > last[:2] or (first[:2] == last[:2] and len(first) == len(last) == 3
                                and first[2] > last[2]):
        raise RefError("range runs backwards: %s-%s" % (format_point(first), format_point(last)))
    return format_point(first) + "-" + format_point(last)


# One reference item of an English note: an optional book name, then chapter:verse with
# further verses, ranges and chapter:verse ranges, e.g. "1 Kings 19:1-3", "30:12",
# "Exodus 12:3,6-8", "2 Kings 6:31–7:20". The en dash counts as a hyphen.
_ENGLISH_ITEM = re.compile(
    r"^(?:(?P<book>(?:[1-4] )?[A-Za-z][A-Za-z ]*?) )?(?P<ch>\d+)(?::(?P<rest>[\d,\-: ]+))?$")


def normalise_english(text, context_book):
    """Normalises a list of English references separated by ";", as the WEB's notes write
    them ("Exodus 23:13; Psalm 16:4", "See Job 9:8", "Deuteronomy 32:43 LXX"). A bare
    chapter:verse takes the book of the item before it, the first one `context_book`.
    Returns (targets, skipped) where skipped lists (item, reason) of the items left out."""
    targets, skipped = [], []
    book = context_book
    for item in text.replace("\u2013", "-").split(";"):
        item = " ".join(item.split())
        if not item:
            continue
        core = item
        if core.startswith("See "):
            core = core[4:]
        if core.endswith(" LXX"):  # the Greek reading of the same verse: same target
            core = core[:-4]
        m = _ENGLISH_ITEM.match(core)
        if not m:
            skipped.append((item, "not a reference"))
            continue
        if m.group("book"):
            name = m.group("book")
            found = book_from_name(name)
            if found is None:
                skipped.append((item, "other book" if is_other_name(name) else "unknown book"))
                book = None
                continue
            book = found
        if book is None:
            skipped.append((item, "no book"))
            continue
        chapter = int(m.group("ch"))
        rest = m.group("rest")
        try:
            if rest is None:
                targets.append(format_point((book, chapter)))
            else:
                targets.extend(_english_verses(book, chapter, rest.replace(" ", "")))
        except RefError as e:
            skipped.append((item, str(e)))
    return targets, skipped


def _english_verses(book, chapter, rest):
    out = []
    for part in rest.split(","):
        ends = part.split("-")
        if len(ends) > 2 or not all(ends):
            raise RefError("bad verse list %r" % rest)
        first = _chapter_verse(book, chapter, ends[0])
        chapter = first[1]
        if len(ends) == 1:
            out.append(format_point(first))
        else:
            last = _chapter_verse(book, chapter, ends[1])
            chapter = last[1]
            out.append(format_range(first, last))
    return out


def _chapter_verse(book, chapter, text):
    if ":" in text:
        c, v = text.split(":", 1)
    else:
        c, v = chapter, text
    if not str(c).isdigit() or not v.isdigit() or int(c) == 0 or int(v) == 0:
        raise RefError("bad verse %r" % text)
    return (book, int(c), int(v))


def load_verse_table(path):
    """The set of (book, chapter, verse) of a verses.txt file, to check references against."""
    table = set()
    with open(path, "rb") as f:
        for number, line in enumerate(f, 1):
            fields = line.split(b"\t", 3)
            if len(fields) < 4 or not all(x.isdigit() for x in fields[:3]):
                raise ValueError("%s:%d: not a verse line" % (path, number))
            table.add((int(fields[0]), int(fields[1]), int(fields[2])))
    return table


def verses_exist(target, table):
    """Whether both ends of a normalised reference exist in the verse table (a whole
    chapter exists when its verse 1 does)."""
    for end in target.split("-"):
        point = tuple(int(n) for n in end.split("."))
        if (point if len(point) == 3 else point + (1,)) not in table:
            return False
    return True
