// The link under the caret in the article editor's text: a bible reference in angle
// brackets, an article title in braces, or a heading line (starting with '>') read as a
// reference up to its first full stop.
#pragma once
#include <string>

enum class EditLinkKind {
    kNone,
    kBibleReference,  // "<...>" or a heading
    kArticleTitle,    // "{...}"
};

// The link around caret (a character index of text) and its text in *link; kNone (link
// emptied) when the caret stands in none.
EditLinkKind FindEditLink(const char* text, int caret, std::string* link);
