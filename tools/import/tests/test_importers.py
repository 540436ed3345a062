"""Tests of the importers: markup stripping and reference normalisation on real excerpts
of the SWORD exports (fixtures/), and the counts of the data the build imported
(VERSILO_DATA_DIR, normally build/data)."""

import contextlib
import io
import os
import re
import tempfile
import unittest

import books
import import_bible
import import_lexicons
import import_web_xrefs
import markup

FIXTURES = os.path.join(os.path.dirname(__file__), "fixtures")
TARGET = re.compile(r"^\d+\.\d+(\.\d+)?(-\d+\.\d+(\.\d+)?)?$")


def fixture(name):
    with open(os.path.join(FIXTURES, name), encoding="utf-8") as f:
        return f.read()


class KjvMarkupTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.verses, cls.titles, cls.books, cls.report = import_bible.import_bible(
            fixture("kjv-excerpt.imp"))
        cls.text = {v[:3]: v[3] for v in cls.verses}
        cls.title_rows = [(t[:3], t[3], t[4]) for t in cls.titles]

    def test_verse_texts(self):
        cases = [
            # Strong's tags go, the words stay.
            ((1, 1, 1), b"In the beginning God created the heaven and the earth."),
            # transChange keeps its word; a paragraph milestone leaves no blank behind.
            ((1, 1, 2), b"And the earth was without form, and void; and darkness was upon "
                        b"the face of the deep. And the Spirit of God moved upon the face of "
                        b"the waters."),
            # Preverse milestones and a paragraph start before the first word.
            ((1, 1, 3), b"And God said, Let there be light: and there was light."),
            # A footnote with its reference and text is removed entirely.
            ((1, 1, 4), b"And God saw the light, that it was good: and God divided the "
                        b"light from the darkness."),
            # The pilcrow is text of the 1769 edition, not markup: it stays (0xB6).
            ((1, 2, 4), b"\xb6 These are the generations of the heavens and of the earth "
                        b"when they were created, in the day that the LORD God made the "
                        b"earth and the heavens,"),
            # divineName keeps the word as the module writes it, here "Lord".
            ((4, 23, 15), b"And he said unto Balak, Stand here by thy burnt offering, while I "
                          b"meet the Lord yonder."),
            # A psalm title is taken out of verse 1; line-group markers go.
            ((19, 3, 1), b"LORD, how are they increased that trouble me! many are they that "
                         b"rise up against me."),
            # A line break inside the verse becomes one blank.
            ((19, 1, 4), b"The ungodly are not so: but are like the chaff which the wind "
                         b"driveth away."),
            # Words of Jesus (<q who="Jesus">) and nested segments keep their text.
            ((40, 5, 3), b"Blessed are the poor in spirit: for theirs is the kingdom of "
                         b"heaven."),
            # The module's typographic apostrophe is written as the typed one (0x27), inside
            # a word and after a plural.
            ((1, 6, 18), b"But with thee will I establish my covenant; and thou shalt come into the "
                         b"ark, thou, and thy sons, and thy wife, and thy sons' wives with thee."),
            ((1, 28, 22), b"And this stone, which I have set for a pillar, shall be God's house: and "
                          b"of all that thou shalt give me I will surely give the tenth unto thee."),
            # The subscription after the epistle is not verse text.
            ((45, 16, 27), b"To God only wise, be glory through Jesus Christ for ever. Amen."),
        ]
        for key, want in cases:
            with self.subTest(verse=key):
                self.assertEqual(self.text[key], want)

    def test_titles_by_kind(self):
        # A title in a book's or chapter's heading entry stands at its first verse (the
        # excerpt has no Numbers 1:1, the title's place all the same).
        self.assertEqual(self.title_rows, [
            ((1, 1, 1), "book", b"The First Book of Moses, called Genesis"),
            ((4, 1, 1), "book", b"The Fourth Book of Moses, called Numbers"),
            ((12, 1, 1), "book", b"The Second Book of the Kings"),
            ((12, 1, 1), "subtitle", b"Commonly Called the Fourth Book of the Kings"),
            ((19, 1, 1), "book", b"The Book of Psalms"),
            ((19, 3, 1), "psalm", b"A Psalm of David, when he fled from Absalom his son."),
            # The acrostic headings of Psalm 119 lose their Hebrew letter (not in 1252).
            ((19, 119, 1), "section", b"ALEPH."),
            ((19, 119, 9), "section", b"BETH."),
            ((40, 1, 1), "book", b"THE GOSPEL ACCORDING TO ST. MATTHEW"),
            ((45, 1, 1), "book", b"THE EPISTLE OF PAUL THE APOSTLE TO THE ROMANS"),
            ((45, 16, 27), "colophon", b"Written to the Romans from Corinthus, and sent by "
                                       b"Phebe servant of the church at Cenchrea."),
        ])

    def test_title_at_a_missing_verse_is_an_error(self):
        errors = import_bible.check(self.verses, self.titles, self.books)
        self.assertIn("book title at 4.1.1, which is no verse", errors)
        self.assertIn("%d verses, expected 31102" % len(self.verses), errors)

    def test_book_names_and_dropped_letters(self):
        info = {i.number: i for i in self.books}
        self.assertEqual((info[12].osis, info[12].short, info[12].abbreviation, info[12].long),
                         ("2Kgs", "2 Kings", "2Ki", "The Second Book of the Kings, Commonly "
                          "Called the Fourth Book of the Kings"))
        self.assertIn("character not in Windows-1252 dropped: HEBREW LETTER ALEF (1)",
                      self.report)

    def test_no_markup_tabs_or_double_blanks_left(self):
        for key, text in self.text.items():
            with self.subTest(verse=key):
                self.assertNotRegex(text, rb"[<>\t\n]|  |^ | $")

    def test_verse_before_its_book_heading_is_refused(self):
        with self.assertRaises(ValueError):
            import_bible.import_bible("$$$Genesis 1:1\nIn the beginning\n")


class WebMarkupTest(unittest.TestCase):
    """The WEB's module: another numbering, the Deuterocanon, a preface and a glossary
    around the books, footnotes written between words, the speakers' names in the Song of
    Solomon."""

    WEB = import_bible.TRANSLATIONS["web"]

    @classmethod
    def setUpClass(cls):
        cls.export = fixture("web-bible-excerpt.imp")
        cls.verses, cls.titles, cls.books, cls.report = import_bible.import_bible(
            cls.export, cls.WEB)
        cls.text = {v[:3]: v[3] for v in cls.verses}

    def test_verse_texts(self):
        cases = [
            # A footnote between a word and the next leaves a blank.
            ((1, 1, 1), b"In the beginning, God created the heavens and the earth."),
            ((28, 1, 1), b"Yahweh's word that came to Hosea the son of Beeri, in the days of "
                         b"Uzziah, Jotham, Ahaz, and Hezekiah, kings of Judah, and in the days "
                         b"of Jeroboam the son of Joash, king of Israel."),
            # Apostrophes become the typed one (0x27); a single quote closed after a word
            # stays the typographic one (0x91 ... 0x92), even after a word ending in "s".
            ((1, 3, 1), b"Now the serpent was more subtle than any animal of the field which Yahweh "
                        b"God had made. He said to the woman, \x93Has God really said, \x91You shall "
                        b"not eat of any tree of the garden\x92?\x94"),
            ((1, 6, 18), b"But I will establish my covenant with you. You shall come into the ship, "
                         b"you, your sons, your wife, and your sons' wives with you."),
            ((28, 13, 10), b"Where is your king now, that he may save you in all your cities? And your "
                           b"judges, of whom you said, \x91Give me a king and princes\x92?"),
            # The speakers' names before the lines of the Song are not verse text.
            ((22, 1, 2), b"Let him kiss me with the kisses of his mouth; for your love is "
                         b"better than wine."),
            ((22, 1, 4), b"Take me away with you. Let's hurry. The king has brought me into "
                         b"his rooms. We will be glad and rejoice in you. We will praise your "
                         b"love more than wine! They are right to love you."),
            # A verse the WEB leaves out is empty: its footnote goes.
            ((42, 17, 36), b""),
            # The doxology the module appends to Romans 14:23 stands at 16:25-27.
            ((45, 14, 23), b"But he who doubts is condemned if he eats, because it isn't of "
                           b"faith; and whatever is not of faith is sin."),
            ((45, 16, 25), b"Now to him who is able to establish you according to my Good News "
                           b"and the preaching of Jesus Christ, according to the revelation of "
                           b"the mystery which has been kept secret through long ages,"),
            ((45, 16, 26), b"but now is revealed, and by the Scriptures of the prophets, "
                           b"according to the commandment of the eternal God, is made known "
                           b"for obedience of faith to all the nations;"),
            ((45, 16, 27), b"to the only wise God, through Jesus Christ, to whom be the glory "
                           b"forever! Amen."),
            # Its 3 John 1:15 and Revelation 12:18 stand in 1:14 and 13:1, as in the KJV.
            ((64, 1, 14), b"but I hope to see you soon. Then we will speak face to face. Peace "
                          b"be to you. The friends greet you. Greet the friends by name."),
            ((64, 1, 15), b""),
            ((66, 13, 1), b"Then I stood on the sand of the sea. I saw a beast coming up out of "
                          b"the sea, having ten horns and seven heads. On his horns were ten "
                          b"crowns, and on his heads, blasphemous names."),
            # The glossary after the book's end is not verse text.
            ((66, 22, 21), b"The grace of the Lord Jesus Christ be with all the saints. Amen."),
        ]
        for key, want in cases:
            with self.subTest(verse=key):
                self.assertEqual(self.text[key], want)
        for key, text in self.text.items():
            with self.subTest(verse=key):
                self.assertNotRegex(text, rb"[<>\t\n\x00]|  |^ | $")

    def test_titles(self):
        # None of the preface, the glossary, or Daniel (Greek), which the module keeps in
        # Hosea's heading entry (cut short there: Hosea's own division is missing).
        self.assertEqual([(t[:3], t[3], t[4]) for t in self.titles], [
            ((1, 1, 1), "subtitle", b"The First Book of Moses,"),
            ((1, 1, 1), "subtitle", b"Commonly Called"),
            ((1, 1, 1), "book", b"Genesis"),
            ((19, 1, 1), "book", b"The Psalms"),
            # The Psalter's five books, from the chapter's heading entry.
            ((19, 1, 1), "section", b"BOOK 1"),
            ((19, 42, 1), "section", b"BOOK 2"),
            ((19, 42, 1), "psalm", b"For the Chief Musician. A contemplation by the sons of Korah."),
            # The note inside the title goes.
            ((19, 46, 1), "psalm", b"For the Chief Musician. By the sons of Korah. According to Alamoth."),
            # The WEB marks the acrostic headings as psalm titles.
            ((19, 119, 1), "psalm", b"ALEPH"),
            ((22, 1, 1), "book", b"The Song of Solomon"),
            ((27, 1, 1), "subtitle", b"The Book of"),
            ((27, 1, 1), "book", b"Daniel"),
            ((42, 1, 1), "subtitle", b"The Good News According to"),
            ((42, 1, 1), "book", b"Luke"),
            ((45, 1, 1), "subtitle", b"Paul\x92s Letter to the"),
            ((45, 1, 1), "book", b"Romans"),
            ((64, 1, 1), "book", b"John\x92s Third Letter"),
            ((66, 1, 1), "book", b"The Revelation to John"),
        ])

    def test_books_and_report(self):
        # Tobit is left out; Hosea, without its heading's names, gets the English one.
        self.assertEqual([i.number for i in self.books], [1, 19, 22, 27, 28, 42, 45, 64, 66])
        info = {i.number: i for i in self.books}
        self.assertEqual((info[1].short, info[1].long),
                         ("Genesis", "The First Book of Moses, Commonly Called Genesis"))
        self.assertEqual((info[28].osis, info[28].short, info[28].abbreviation, info[28].long),
                         ("Hos", "Hosea", "", "Hosea"))
        for line in ["Genesis 0:0: text outside the book dropped",
                     "Hosea: no book division in its heading; its names are the English ones",
                     "Tobit: a book outside the 66 left out",
                     "Revelation of John 22:21: text outside the book dropped",
                     "45.14.23: its end moved to 45.16.25-45.16.27",
                     "Luke 17:36: empty verse"]:
            self.assertIn(line, self.report)

    def test_verses_outside_the_numbering(self):
        numbering = set(self.text) - {(64, 1, 15), (66, 12, 18)}
        verses, _, _, report = import_bible.import_bible(self.export, self.WEB, numbering)
        self.assertEqual([v[:3] for v in verses], sorted(numbering))
        self.assertIn("3John 1:15: empty verse outside the numbering left out", report)
        # One with text can't be left out.
        with self.assertRaises(ValueError) as ctx:
            import_bible.import_bible(self.export, self.WEB, numbering - {(64, 1, 14)})
        self.assertEqual(str(ctx.exception), "3John 1:14: a verse with text outside the numbering")

    def test_moves_that_do_not_fit_the_text_are_errors(self):
        Move = import_bible.Move
        cases = [
            ("opening words missing", [((45, 16, 25), "Now unto him")], "not found"),
            ("opening words out of order", [((45, 16, 25), "but now is revealed"),
                                            ((45, 16, 26), "Now to him who is able")], "not found"),
            ("a target with text", [((45, 16, 24), "Now to him who is able")],
             "45.16.24: has text of its own"),
        ]
        for what, targets, message in cases:
            with self.subTest(what):
                translation = import_bible.Translation("engWEB2015eb", [Move((45, 14, 23), targets)])
                with self.assertRaises(ValueError) as ctx:
                    import_bible.import_bible(self.export, translation)
                self.assertIn(message, str(ctx.exception))


class FailureTest(unittest.TestCase):
    """A failing export or an incomplete bible is an error that writes nothing."""

    def test_incomplete_bible_writes_no_files(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "kjv")
            with contextlib.redirect_stderr(io.StringIO()) as err:
                code = import_bible.main(["kjv", "--imp", os.path.join(FIXTURES, "kjv-excerpt.imp"),
                                          "--out", out])
            self.assertIn("16 verses, expected 31102", err.getvalue())
            self.assertEqual(code, 1)
            self.assertFalse(os.path.exists(out))

    def test_missing_module(self):
        with self.assertRaises(RuntimeError) as ctx:
            markup.run_mod2imp("NoSuchModuleHere")
        self.assertIn("NoSuchModuleHere", str(ctx.exception))

    def test_damaged_verse_table(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "verses.txt")
            with open(path, "wb") as f:
                f.write(b"1\t1\t1\tIn the beginning\n1\t1\n")
            with self.assertRaises(ValueError) as ctx:
                books.load_verse_table(path)
            self.assertIn("verses.txt:2: not a verse line", str(ctx.exception))

    def test_field_with_a_tab_is_refused(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "x.txt")
            with self.assertRaises(ValueError):
                markup.write_lines(path, [(1, 1, 1, b"a\tb")])
            self.assertEqual(os.listdir(tmp), [])


class WindowsCodePageTest(unittest.TestCase):
    def test_conversion_table(self):
        cases = [
            ("\u2018a\u2019 \u201cb\u201d \u2013 \u2014 \u2026", b"\x91a\x92 \x93b\x94 \x96 \x97 \x85"),
            ("\u00e6\u00b6\u00e2", b"\xe6\xb6\xe2"),
            ("A\u0301", b"\xc1"),                 # composed first
            ("Aar\u1e53n", b"Aaron"),              # o with macron and acute: its base letter
            ("z\u201bq", b"z\x91q"),               # reversed comma quote: a stand-in
            ("\u05d0 ALEPH", b" ALEPH"),           # no Latin form: dropped and counted
        ]
        enc = markup.Cp1252()
        for text, want in cases:
            with self.subTest(text=text):
                self.assertEqual(enc.encode(text), want)
        self.assertEqual(enc.dropped, {"HEBREW LETTER ALEF": 1})


class TypedApostropheTest(unittest.TestCase):
    """U+2019 as an apostrophe becomes 0x27; as the end of a single quote it stays. The
    cases are verses of the KJV and the WEB."""

    def test_apostrophes_and_quotes(self):
        cases = [
            # Inside a word: always an apostrophe.
            ("God\u2019s house", "God's house"),
            ("Didn\u2019t he tell me, \u2018She is my sister\u2019?",
             "Didn't he tell me, \u2018She is my sister\u2019?"),
            ("\u2018I\u2019m here,\u2019 he said", "\u2018I'm here,\u2019 he said"),
            # After a plural, no quotation open: a possessive, before a noun or punctuation.
            ("thy sons\u2019 wives", "thy sons' wives"),
            ("it shall be Aaron\u2019s and his sons\u2019: it is", "it shall be Aaron's and his sons': it is"),
            ("the priests\u2019.", "the priests'."),
            ("into Felix\u2019 room", "into Felix' room"),
            # ... but before "?", "!" or a closing double quote it ends a quotation begun in
            # an earlier verse.
            ("It is marvelous in our eyes\u2019?\u201d", "It is marvelous in our eyes\u2019?\u201d"),
            ("I will do it no more\u2019?", "I will do it no more\u2019?"),
            # Any word before a lower-case word, no quotation open: "for conscience' sake".
            ("but also for conscience\u2019 sake.", "but also for conscience' sake."),
            # Inside a quotation: a plural before a noun is a possessive ...
            ("\u2018Let us go three days\u2019 journey into the wilderness.\u2019",
             "\u2018Let us go three days' journey into the wilderness.\u2019"),
            # ... any other word closes the quotation, a plural before punctuation too.
            ("you said, \u2018Give me a king and princes\u2019?", "you said, \u2018Give me a king and princes\u2019?"),
            ("saying \u2018The light is near\u2019 in the presence", "saying \u2018The light is near\u2019 in the presence"),
            ("a \u2018den of robbers\u2019!\u201d", "a \u2018den of robbers\u2019!\u201d"),
            # A quotation of the one word before the next.
            ("let your \u2018Yes\u2019 be \u2018Yes\u2019 and your \u2018No\u2019 be \u2018No.\u2019",
             "let your \u2018Yes\u2019 be \u2018Yes\u2019 and your \u2018No\u2019 be \u2018No.\u2019"),
            # A closed quotation is closed: a possessive after it is one again.
            ("\u2018Topheth\u2019, but the fathers\u2019 houses", "\u2018Topheth\u2019, but the fathers' houses"),
            # After punctuation or a blank: a quotation mark.
            ("\u201cHe said, \u2018Go.\u2019\u201d", "\u201cHe said, \u2018Go.\u2019\u201d"),
            ("\u2019tis", "\u2019tis"),
            ("", ""),
        ]
        for text, want in cases:
            with self.subTest(text=text):
                self.assertEqual(markup.typed_apostrophes(text), want)
        self.assertEqual(markup.Cp1252().encode(markup.typed_apostrophes("sons\u2019 \u2018no\u2019")),
                         b"sons' \x91no\x92")


class ReferenceTest(unittest.TestCase):
    def test_osis(self):
        cases = [
            ("Gen.1.1", "1.1.1"),
            ("Ps.23", "19.23"),
            ("Exod.6.16-Exod.6.20", "2.6.16-2.6.20"),
            ("1John.3.12", "62.3.12"),
            ("Rev.22.21", "66.22.21"),
            ("Num.17-Num.18", "4.17-4.18"),
            ("Gen.2.4-Gen.2.4", "1.2.4"),
        ]
        for ref, want in cases:
            with self.subTest(ref=ref):
                self.assertEqual(books.normalise_osis(ref), want)

    def test_osis_refused(self):
        cases = [("PrAzar.1.2", True), ("Wis.3.1", True), ("Foo.1.1", False),
                 ("Gen.0.1", False), ("Gen.2.5-Gen.2.4", False), ("Gen", False),
                 ("Gen.1.1-Gen.1.2-Gen.1.3", False), ("", False)]
        for ref, other in cases:
            with self.subTest(ref=ref):
                with self.assertRaises(books.RefError) as ctx:
                    books.normalise_osis(ref)
                self.assertEqual(ctx.exception.other_book, other)

    def test_english(self):
        cases = [
            ("Exodus 30:12", 12, ["2.30.12"], []),
            ("Isaiah 61:2; 66:10,13", 40, ["23.61.2", "23.66.10", "23.66.13"], []),
            ("Exodus 20:13-15,17; Deuteronomy 5:17-19,21", 45,
             ["2.20.13-2.20.15", "2.20.17", "5.5.17-5.5.19", "5.5.21"], []),
            ("1 Kings 19:1-3; 2 Kings 6:31\u20137:20", 58,
             ["11.19.1-11.19.3", "12.6.31-12.7.20"], []),
            ("Isaiah 9:7; Daniel 2:44; See Isaiah 53:8", 43,
             ["23.9.7", "27.2.44", "23.53.8"], []),
            ("Deuteronomy 32:43 LXX", 58, ["5.32.43"], []),
            ("Deuteronomy 18:15,18-19 ", 44, ["5.18.15", "5.18.18-5.18.19"], []),
            ("3:16", 43, ["43.3.16"], []),      # no book: the origin's
            ("Song of Solomon 2:1; Psalm 23", 1, ["22.2.1", "19.23"], []),
            ("Exodus 23:13; Wisdom 14:21; 1:2", 1, ["2.23.13"],
             [("Wisdom 14:21", "other book"), ("1:2", "no book")]),
            ("Hezekiah 1:1; Isaiah 5:3-2", 1, [],
             [("Hezekiah 1:1", "unknown book"), ("Isaiah 5:3-2", "range runs backwards: 23.5.3-23.5.2")]),
            ("compare the law", 1, [], [("compare the law", "not a reference")]),
        ]
        for text, context, want, skipped in cases:
            with self.subTest(text=text):
                self.assertEqual(books.normalise_english(text, context), (want, skipped))


class WebXrefsTest(unittest.TestCase):
    def test_excerpt(self):
        rows, stats, report = import_web_xrefs.import_xrefs(fixture("web-excerpt.imp"))
        self.assertEqual(rows, [
            (12, 12, 4, "2.30.12"),
            (40, 5, 4, "23.61.2 23.66.10 23.66.13"),
            (43, 12, 34, "23.9.7 27.2.44 23.53.8"),
            (45, 13, 9, "2.20.13-2.20.15 2.20.17 5.5.17-5.5.19 5.5.21"),
            (45, 13, 9, "3.19.18"),
            (58, 1, 6, "5.32.43"),
            (58, 11, 34, "27.3.1-27.3.30"),
            (58, 11, 34, "11.19.1-11.19.3 12.6.31-12.7.20"),
        ])
        self.assertEqual(stats["notes"], 8)
        self.assertEqual(stats["targets"], 16)
        self.assertEqual(stats["notes outside the 66"], 1)   # Tobit 2:6
        self.assertEqual(report, [])

    def test_targets_checked_against_the_numbering(self):
        rows, _, _ = import_web_xrefs.import_xrefs(fixture("web-excerpt.imp"))
        table = set()
        for row in rows:
            table.add(row[:3])
            for target in row[3].split(" "):
                for end in target.split("-"):
                    table.add(tuple(int(n) for n in end.split(".")))
        table -= {(23, 66, 13), (58, 1, 6)}
        rows, stats, report = import_web_xrefs.import_xrefs(fixture("web-excerpt.imp"), table)
        self.assertEqual(rows[1], (40, 5, 4, "23.61.2 23.66.10"))
        self.assertNotIn(58, [r[0] for r in rows if r[1:3] == (1, 6)])
        self.assertEqual((stats["targets not in the numbering"], stats["notes not in the numbering"]),
                         (1, 1))
        self.assertEqual(report, ["Matthew 5:4: 23.66.13 is not in the verse numbering",
                                  "Hebrews 1:6: origin 58.1.6 is not in the verse numbering"])


class LexiconTest(unittest.TestCase):
    def records(self, name, prefix):
        records, stats, report = import_lexicons.import_lexicon(fixture(name), prefix)
        return {r[0]: r for r in records}, stats, report

    def test_strongs_hebrew(self):
        recs, stats, report = self.records("strongs-hebrew-excerpt.imp", "H")
        self.assertEqual(list(recs), ["00001", "00002", "02200", "03478", "05624"])
        self.assertEqual(recs["00002"], ("00002", ["H2", "H0002"], [
            "'ab ab", "(Chaldee); corresponding to {H1}: - father."]))
        # The original script goes; the source's own braces are escaped text.
        self.assertEqual(recs["00001"][2][:2], ["'\u00e2b awb", "A primitive word;"])
        self.assertIn("X \\{patrimony\\} principal.", recs["00001"][2][2])
        # The omega that stands for sin becomes a Latin s (here before encoding: "ś").
        self.assertTrue(recs["03478"][2][0].startswith("yi\u015br\u00e2'\u00eal"))
        self.assertEqual(stats["duplicates dropped"], 1)
        self.assertEqual(report, ["02200: second identical entry dropped"])

    def test_strongs_greek_links_by_shown_number(self):
        recs, stats, _ = self.records("strongs-greek-excerpt.imp", "G")
        # The Greek dictionary points at Hebrew numbers with a Greek target ("H0175").
        self.assertIn("of Hebrew origin ({H175});", recs["00002"][2])
        self.assertEqual(recs["02717"][2], ["Not Used"])
        self.assertEqual(recs["00004"][1], ["G4", "G0004"])

    def test_nave(self):
        recs, stats, report = self.records("nave-excerpt.imp", None)
        self.assertEqual(recs["ABEL"][2], [
            "1. Son of Adam. History of <1.4.1-1.4.15>,<1.4.25>",
            "  - References to the death of <40.23.35>; <42.11.51>; <58.11.4>; <58.12.24>; "
            "<62.3.12>",
            "",
            "2. A stone <9.6.18>",
        ])
        self.assertEqual(recs["AVEN"][2][0], "1. \u201cThe plain of the Sun,\u201d <30.1.5>")
        # A link to a missing entry stays text; the arrow opens a "- " line.
        self.assertEqual(recs["CHRIST"][2], ["- See JESUS, THE CHRIST&gt;"])
        self.assertEqual(recs["ZUZIMS"][2], ["- See {ZAMZUMMIMS}"])
        self.assertEqual(recs["SKIRT"][2], ["- See"])
        # A reference into a book outside the 66 (the source's misreading of
        # "Azariah 2Ki 15:2") keeps its shown text.
        self.assertEqual(recs["JECHOLIAH"][2][1], "- Mother of Azariah 2Ki 15:2; <14.26.3>")
        self.assertEqual(recs["ZUZIMS"][1], [])
        self.assertEqual((stats["links"], stats["dangling links"],
                          stats["references left as text"]), (1, 1, 1))

    def test_reference_outside_the_numbering_stays_text(self):
        table = {(1, 4, n) for n in range(1, 26)} | {(28, 10, 8), (26, 30, 17)}
        records, stats, _ = import_lexicons.import_lexicon(fixture("nave-excerpt.imp"), None, table)
        aven = [r for r in records if r[0] == "AVEN"][0]
        self.assertEqual(aven[2], ["1. \u201cThe plain of the Sun,\u201d Am 1:5",
                                   "2. Another name for ON <26.30.17>", "3. BETH-AVEN <28.10.8>"])

    def test_duplicate_keys_merged(self):
        text = ("$$$SIN\n<entryFree n=\"SIN\"><def><lb/>1. Desert of</def></entryFree>\n"
                "$$$SIN\n<entryFree n=\"SIN\"><def><lb/>\u2192 Confession of</def></entryFree>\n")
        records, stats, report = import_lexicons.import_lexicon(text, None)
        self.assertEqual(records, [("SIN", [], ["1. Desert of", "", "- Confession of"])])
        self.assertEqual(stats["duplicates merged"], 1)

    def test_written_file_reads_back(self):
        records = [
            ("00001", ["H1", "H0001"], ["first {H2} <1.1.1>", "", "$$$not a key", "\\{x\\}"]),
            ("EMPTY", [], []),
            ("A, B", [], ["$$=not an alias", "caf\u00e9 \u2014 \u2018q\u2019"]),
        ]
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "lex.txt")
            import_lexicons.write_lexicon(path, records, markup.Cp1252())
            with open(path, "rb") as f:
                data = f.read()
            self.assertEqual(data, (
                b"$$$00001\n$$=H1\n$$=H0001\nfirst {H2} <1.1.1>\n\n\\$$$not a key\n\\{x\\}\n"
                b"$$$EMPTY\n"
                b"$$$A, B\n\\$$=not an alias\ncaf\xe9 \x97 \x91q\x92\n"))
            self.assertEqual(import_lexicons.read_lexicon(path), [
                ("00001", ["H1", "H0001"], ["first {H2} <1.1.1>", "", "$$$not a key", "\\{x\\}"]),
                ("EMPTY", [], []),
                ("A, B", [], ["$$=not an alias", "caf\u00e9 \u2014 \u2018q\u2019"]),
            ])

    def test_escape_round_trip(self):
        for text in ["a{b}c", "<1.1.1>", "back\\slash\\", "{", "plain"]:
            with self.subTest(text=text):
                self.assertEqual(import_lexicons.unescape(import_lexicons.escape(text)), text)
        self.assertEqual(import_lexicons.escape("{x} <y> \\"), "\\{x\\} \\<y\\> \\\\")


DATA = os.environ.get("VERSILO_DATA_DIR")


@unittest.skipUnless(DATA, "VERSILO_DATA_DIR names the build's data folder")
class ImportedDataTest(unittest.TestCase):
    """The data the build imported from the installed modules."""

    def lines(self, *path):
        with open(os.path.join(DATA, *path), "rb") as f:
            return f.read().split(b"\n")[:-1]

    def test_kjv_counts(self):
        verses = [l.split(b"\t") for l in self.lines("kjv", "verses.txt")]
        self.assertEqual(len(verses), 31102)
        self.assertTrue(all(len(v) == 4 and v[3] for v in verses))
        self.assertEqual(sorted({int(v[0]) for v in verses}), list(range(1, 67)))
        # Every chapter runs from verse 1 without gaps; 1,189 chapters.
        chapters = {}
        for b, c, v, _ in verses:
            chapters.setdefault((int(b), int(c)), []).append(int(v))
        self.assertEqual(len(chapters), 1189)
        for key, numbers in chapters.items():
            self.assertEqual(numbers, list(range(1, len(numbers) + 1)), key)
        self.assertEqual(len(chapters[(19, 119)]), 176)
        books_txt = [l.split(b"\t") for l in self.lines("kjv", "books.txt")]
        self.assertEqual([int(b[0]) for b in books_txt], list(range(1, 67)))
        kinds = {}
        for t in self.lines("kjv", "titles.txt"):
            kind = t.split(b"\t")[3]
            kinds[kind] = kinds.get(kind, 0) + 1
        self.assertEqual(kinds, {b"book": 66, b"subtitle": 2, b"psalm": 116,
                                 b"section": 22, b"colophon": 14})

    def test_web_bible(self):
        kjv = [l.split(b"\t")[:3] for l in self.lines("kjv", "verses.txt")]
        web = [l.split(b"\t") for l in self.lines("web", "verses.txt")]
        # The KJV's numbering, verse for verse; empty only where the WEB leaves a verse out.
        self.assertEqual([v[:3] for v in web], kjv)
        self.assertEqual([tuple(int(n) for n in v[:3]) for v in web if not v[3]],
                         [(42, 17, 36), (44, 8, 37), (44, 15, 34), (44, 24, 7)])
        for v in web:
            self.assertNotRegex(v[3], rb"[<>\x00]|  |^ | $", v[:3])
        books_txt = [l.split(b"\t") for l in self.lines("web", "books.txt")]
        self.assertEqual([int(b[0]) for b in books_txt], list(range(1, 67)))
        kinds = {}
        for t in self.lines("web", "titles.txt"):
            kind = t.split(b"\t")[3]
            kinds[kind] = kinds.get(kind, 0) + 1
        self.assertEqual((kinds[b"psalm"], kinds[b"section"]), (138, 5))

    def test_apostrophes_are_the_typed_one(self):
        # What a reader types finds the texts: no typographic apostrophe is left inside a
        # word, and the KJV, which quotes nothing with single quotes, has none left at all.
        gods = re.compile(rb"\bGod's\b", re.I)
        for name, found in [("kjv", 25), ("web", 355)]:
            with self.subTest(bible=name):
                verses = [l.split(b"\t") for l in self.lines(name, "verses.txt")]
                self.assertEqual([v[:3] for v in verses if re.search(rb"\w\x92\w", v[3])][:5], [])
                self.assertEqual(sum(1 for v in verses if gods.search(v[3])), found)
        self.assertEqual(sum(v.split(b"\t")[3].count(b"\x92") for v in self.lines("kjv", "verses.txt")), 0)
        web = {tuple(v.split(b"\t")[:3]): v.split(b"\t")[3] for v in self.lines("web", "verses.txt")}
        self.assertIn(b"the Good News of God's Kingdom", web[(b"41", b"1", b"14")])

    def test_web_xrefs(self):
        rows = [l.split(b"\t") for l in self.lines("web", "xrefs.txt")]
        self.assertGreater(len(rows), 300)
        for row in rows:
            self.assertEqual(len(row), 4)
            for target in row[3].split(b" "):
                self.assertRegex(target.decode(), TARGET)

    def test_lexicon_counts(self):
        for name, count in [("strongs-hebrew.txt", 8674), ("strongs-greek.txt", 5624),
                            ("nave.txt", 5320)]:
            with self.subTest(name=name):
                records = import_lexicons.read_lexicon(os.path.join(DATA, "lexicons", name))
                self.assertEqual(len(records), count)
                self.assertTrue(all(r[2] for r in records))


if __name__ == "__main__":
    unittest.main()
