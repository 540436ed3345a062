// The markup of verse texts and titles that the verse layout takes apart in place: the
// section title's dots and markers, an inline heading "<<...>>", and hidden brackets.
#pragma once

// At most this many bracketed stretches are recorded; later brackets stay in the text.
constexpr int kMaxBracketPairs = 64;

// Skips the title's leading '.' and cuts its trailing '+' and '.' (one character is kept
// of a title of dots); answers where it begins. An empty title stays empty.
char* TrimTitle(char* title);
// Splits an inline heading "<<...>>" (or "<<*...*>>", a strong one) off the start of text:
// answers the heading (terminated in place) and moves *text past it and the blanks after
// it; null when text has none. The scan stops at the text's end.
char* SplitInlineHeading(char** text, bool* strong);
// Removes every '[' and ']' from text in place and records the bracketed stretches as
// (start, end) offsets into the shortened text in ranges (2 * kMaxBracketPairs integers):
// a stretch runs from a '[' to the first ']' after it, or to the end without one; a '['
// inside a stretch and a ']' outside one are only removed. Once kMaxBracketPairs stretches
// are recorded, the brackets after them stay. Answers the number of pairs.
int HideBrackets(char* text, int* ranges);
