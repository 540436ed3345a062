// The notes behind the '*' markers of a verse text. A marker of n '*' right after a word is
// keyed to that word: the note text holds the word's segment after a row of exactly n '*'.
// A marker after punctuation or a blank, or at the start of the verse, is unkeyed and
// stands for the note as a whole (its text up to the first '*').
#pragma once

// True when a marker that follows the run wordBefore is keyed to it; false for a null or
// empty run (the marker opens the verse) and for one that ends in punctuation or a blank.
bool IsKeyedMarker(const char* wordBefore);
// The segment of note for a marker of stars '*' (0: unkeyed) into out (size bytes with the
// NUL): after the row of exactly that many '*' (neither the character before it nor the
// one after it is a '*'), blanks skipped, up to the next '*', trailing blanks removed.
// False when there is no such row or the segment is empty.
bool FindNoteSegment(const char* note, int stars, char* out, int size);
