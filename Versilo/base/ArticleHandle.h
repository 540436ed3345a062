// ArticleHandle: the 32-bit value that names one article of one commentary between the
// bible view and the commentary pane: commentary index x 2^22 + sorted entry position + 1,
// 0 for none. The index is the commentary's place in the commentary list, the position the
// entry's place in that commentary's sorted order; a handle is valid only while both stay
// unchanged.
#pragma once
#include <windows.h>

using ArticleHandle = INT32;

constexpr ArticleHandle kNoArticle = 0;
constexpr int kArticlePositionBits = 22;
constexpr INT32 kArticlePositionMask = 0x3FFFFF;
// The largest index and position a handle can carry: above them the value would spill
// into the sign bit or into the commentary index.
constexpr int kMaxArticleIndex = 511;
constexpr int kMaxArticlePosition = kArticlePositionMask - 1;

// The handle of an entry; kNoArticle for a negative index or position, and for one too
// large to be told apart from another commentary's entries.
ArticleHandle MakeArticleHandle(int commentaryIndex, int position);
// The commentary index: the value shifted right by 22 as a signed value.
int ArticleCommentaryIndex(ArticleHandle article);
// The sorted entry position; -1 for kNoArticle.
int ArticlePosition(ArticleHandle article);
