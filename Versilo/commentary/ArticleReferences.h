// The references of a shown article: a reference text read as one verse, the heading a
// loaded page is scrolled to for a verse, and a link's reference text as a verse of the
// active bible.
#pragma once
#include <windows.h>

struct IBible;
struct IBibleLangStat;

// Most heading references a page hands over, and the room of each with its NUL.
constexpr int kMaxHeadingReferences = 128;
constexpr int kHeadingReferenceSize = 32;

// String resource of a link text that is no reference: "'%1' er ikke en gyldig henvisning."
constexpr UINT kIdsNotAReference = 209;

// text read as one whole reference (context: the reference a bare verse number belongs
// to, or 0); 0 when it does not parse, leaves text over, or gives the context itself.
int ParseReferenceText(IBibleLangStat* langStat, int context, const char* text);

// The heading of a loaded page to scroll to for verse (in the commentary's numbering):
// the last heading whose reference equals or contains the verse; else, when the headings
// are references that all lie before or after the verse (those before first), the last one
// before it. -1 when nothing should move. A heading that does not parse is passed over (and
// so breaks the run of headings around the verse); at most kMaxHeadingReferences are looked
// at.
int ChooseHeadingForVerse(IBibleLangStat* langStat, const char* const* headings, int count, int verse);

// A link's reference text (in the commentary's language and numbering) as a verse of
// activeBible, or 0. When it is 0 because there is no commentary (langStat null) or the
// text is no reference, message (size bytes with the NUL) tells why; else it is empty.
int ReferenceTextToVerse(IBibleLangStat* langStat, IBible* activeBible, const char* text, char* message, int size);
