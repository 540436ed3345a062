// The HTML of an article: its stored text (a ">>" title line, ">" heading lines, paragraphs,
// bible references in angle brackets, cross references to other articles in braces) turned
// into the head and body that the article view wraps into a page, in two stages.
//
// No text of an article becomes markup: the title's '<', '>' and '&' are written as
// entities, the body's '<' and '>' become the reference marks '[' and ']' (typed brackets
// are written as "&#91;" and "&#93;"), and a '"' in a link target is written as "&quot;".
#pragma once
#include <windows.h>
#include <string>

struct IBibleLangStat;

// Room of one reference's link text and of its formatted reference, each with the NUL;
// longer ones are cut.
constexpr int kLinkTextCapacity = 1024;
constexpr int kLinkTargetCapacity = 256;

// First stage: cuts text into lines (in place) and builds the head ("<title>...</title>",
// or empty when the first line is no ">>" title line) and the body (one "<h1>" or "<p>"
// block per line). False when memory runs out; what was built stays in head and body.
bool SplitArticleText(char* text, std::string* head, std::string* body);

// Second stage: the body with its marked references turned into "bible:" links and its
// braced titles into "lexicon:" links. Answers the length of the result without the NUL;
// with an output of capacity bytes it also writes the result, cut to capacity - 1 bytes
// when it would not fit. Called once with a null output to learn the length, then with
// that length + 1. A null input counts as empty; without language statistics no reference
// parses. context: the reference a bare verse number belongs to, or 0.
int BuildArticleLinks(char* output, int capacity, const char* input, IBibleLangStat* langStat, int context);

// Both stages into one text: the head and the linked body. False when memory runs out.
bool RenderArticle(const char* text, IBibleLangStat* langStat, int context, std::string* head, std::string* body);

// The title a head holds, with its entities decoded, into buffer (size bytes with the NUL,
// cut at a whole character); an empty text for an empty head.
void ReadArticleTitle(const char* head, char* buffer, int size);
