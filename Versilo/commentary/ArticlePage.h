// The article view's pages: the three page resources (style sheet, script, default page;
// resource type 100 of the program), the page an article is put together into, the body
// rule made from the view's font, the title of a page, and the plain text of a page with
// its links for a view without a browser.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

constexpr WORD kPageResourceType = 100;
constexpr WORD kPageStyleSheet = 150;
constexpr WORD kPageDefault = 151;
constexpr WORD kPageScript = 152;
constexpr int kPageTitleLimit = 255;
constexpr int kBodyRuleLimit = 255;

// A page resource as text; false (and an empty text) when the module lacks it.
bool LoadPageResource(HMODULE module, WORD id, std::string* text);

struct VoPageResources {
    std::string styleSheet, script, defaultPage;
    bool hasStyleSheet = false, hasScript = false, hasDefaultPage = false;

    void Load(HMODULE module);
};

// The page of an article: its head text (none when null), the script, the body rule before
// the style sheet (so the sheet's own body rule follows it), the body and the verse tip's
// element.
std::string BuildArticlePage(const VoPageResources& resources, const char* head, const char* body,
                             const std::string& bodyRule);

// The size in pixels of a font height: a negative height is the character height, a
// positive one the cell height, taken as 4/5 of it.
int FontPixelSize(LONG height);
// The style rule of the page body for a font face and height; a face with a blank is quoted.
std::string MakeBodyRule(const char* face, LONG height);

// The text between "<title ...>" and "</title" (tags compared case-blind) with its character
// entities decoded ("&amp;" reads '&'), at most kPageTitleLimit characters; empty when the
// page has no title.
std::string FindPageTitle(const char* html);

// A link of the plain text: the characters [begin, end) and the target ("bible:...").
struct VoTextLink {
    int begin, end;
    std::string target;
};
// The readable text of a page's body for a plain text box: tags dropped, paragraphs, breaks
// and headings as line breaks ("\r\n"), the common character entities decoded, script and
// style left out. Every anchor with an href gives a link over its text; an anchor that is
// the first element of an H1 is also one of the page's headings.
struct VoPlainPage {
    std::string text;
    std::vector<VoTextLink> links;
    std::vector<VoTextLink> headings;
};
VoPlainPage PageToPlainText(const char* html);
// The target of a "bible:" or "lexicon:" link with every "%20" turned into a blank, and
// which kind it is; false for any other target.
bool SplitLinkTarget(const std::string& target, bool* bible, std::string* reference);

// The reference of a heading's anchor: href "bible:" (case-blind) and fewer than size
// characters after it, copied with every "%20" as a blank; false for any other href.
bool HeadingReference(const char* href, char* reference, int size);
