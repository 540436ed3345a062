#include "ArticlePage.h"
#include <cstdio>
#include <cstring>

namespace {

// The first "<" + name at or after text, the name compared case-blind; null when none.
const char* FindTag(const char* text, const char* name) {
    const size_t n = strlen(name);
    for (const char* p = strchr(text, '<'); p; p = strchr(p + 1, '<'))
        if (_strnicmp(p + 1, name, n) == 0) return p;
    return nullptr;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of one attribute of a tag's text (after its name), or false.
bool TagAttribute(const std::string& tag, const char* name, std::string* value) {
    const size_t n = strlen(name);
    for (size_t i = 0; i + n < tag.size(); ++i) {
        if ((i > 0 && !IsSpace(tag[i - 1])) || _strnicmp(tag.c_str() + i, name, n) != 0) continue;
        size_t j = i + n;
        while (j < tag.size() && IsSpace(tag[j])) ++j;
        if (j >= tag.size() || tag[j] != '=') continue;
        ++j;
        while (j < tag.size() && IsSpace(tag[j])) ++j;
        if (j < tag.size() && (tag[j] == '"' || tag[j] == '\'')) {
            const size_t close = tag.find(tag[j], j + 1);
            *value = tag.substr(j + 1, close == std::string::npos ? std::string::npos : close - j - 1);
        } else {
            size_t end = j;
            while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '>') ++end;
            *value = tag.substr(j, end - j);
        }
        return true;
    }
    return false;
}

// A character entity at text ("&...;"), its character and length; false when unknown.
bool DecodeEntity(const char* text, char* c, size_t* length) {
    static const struct { const char* name; char c; } kNamed[] = {
        {"&amp;", '&'},     {"&lt;", '<'},      {"&gt;", '>'},      {"&quot;", '"'},   {"&apos;", '\''},
        {"&nbsp;", ' '},    {"&aelig;", '\xE6'}, {"&oslash;", '\xF8'}, {"&aring;", '\xE5'},
        {"&AElig;", '\xC6'}, {"&Oslash;", '\xD8'}, {"&Aring;", '\xC5'},
    };
    for (const auto& e : kNamed) {
        const size_t n = strlen(e.name);
        if (strncmp(text, e.name, n) == 0) {
            *c = e.c;
            *length = n;
            return true;
        }
    }
    if (text[1] == '#') {
        char* end = nullptr;
        const long v = text[2] == 'x' || text[2] == 'X' ? strtol(text + 3, &end, 16) : strtol(text + 2, &end, 10);
        if (end && *end == ';' && v > 0 && v < 256) {
            *c = static_cast<char>(v);
            *length = static_cast<size_t>(end - text + 1);
            return true;
        }
    }
    return false;
}

class PlainTextWriter {
public:
    explicit PlainTextWriter(VoPlainPage* page) : page_(page) {}

    void Char(char c) {
        if (IsSpace(c)) {
            pendingBlank_ = !AtLineStart();
            return;
        }
        if (pendingBlank_) text_ += ' ';
        pendingBlank_ = false;
        text_ += c;
    }
    void LineBreak() {
        pendingBlank_ = false;
        text_ += "\r\n";
    }
    // Starts a block on a line of its own.
    void Block() {
        if (!AtLineStart()) LineBreak();
    }
    // Starts a heading after a blank line (none at the top).
    void Heading() {
        Block();
        const bool blankLineBefore = text_.size() >= 4 && text_.compare(text_.size() - 4, 4, "\r\n\r\n") == 0;
        if (!text_.empty() && !blankLineBefore) LineBreak();
    }
    void OpenLink(const std::string& target, bool heading) {
        CloseLink();
        Flush();
        linkBegin_ = static_cast<int>(text_.size());
        linkTarget_ = target;
        linkIsHeading_ = heading;
    }
    void CloseLink() {
        if (linkBegin_ < 0) return;
        const VoTextLink link = {linkBegin_, static_cast<int>(text_.size()), linkTarget_};
        if (link.end > link.begin) page_->links.push_back(link);
        if (linkIsHeading_) page_->headings.push_back(link);
        linkBegin_ = -1;
    }
    void Finish() {
        CloseLink();
        while (text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\r\n") == 0) text_.resize(text_.size() - 2);
        page_->text.swap(text_);
    }

private:
    bool AtLineStart() const { return text_.empty() || text_.back() == '\n'; }
    void Flush() {
        if (pendingBlank_) text_ += ' ';
        pendingBlank_ = false;
    }

    VoPlainPage* page_;
    std::string text_;
    bool pendingBlank_ = false;
    int linkBegin_ = -1;
    std::string linkTarget_;
    bool linkIsHeading_ = false;
};

bool IsBlockTag(const std::string& name) {
    static const char* const kBlocks[] = {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "li", "tr", "table", "ul", "ol"};
    for (const char* b : kBlocks)
        if (name == b) return true;
    return false;
}

}  // namespace

bool LoadPageResource(HMODULE module, WORD id, std::string* text) {
    text->clear();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kPageResourceType));
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return false;
    text->assign(bytes, SizeofResource(module, found));
    // A resource file may carry a terminator of its own.
    const size_t nul = text->find('\0');
    if (nul != std::string::npos) text->resize(nul);
    return true;
}

void VoPageResources::Load(HMODULE module) {
    hasStyleSheet = LoadPageResource(module, kPageStyleSheet, &styleSheet);
    hasScript = LoadPageResource(module, kPageScript, &script);
    hasDefaultPage = LoadPageResource(module, kPageDefault, &defaultPage);
}

std::string BuildArticlePage(const VoPageResources& resources, const char* head, const char* body,
                             const std::string& bodyRule) {
    std::string page = "<html>\r\n<head>\r\n";
    page += head ? head : "";
    page += "</head>\r\n<script LANGUAGE=\"javascript\">\r\n";
    page += resources.script;
    page += "</script>\r\n<style>\r\n";
    page += bodyRule;
    page += resources.styleSheet;
    page += "</style>\r\n<body>\r\n";
    page += body ? body : "";
    page += "<DIV ID=\"reftip\" CLASS=\"reftip\" STYLE=\"position:absolute;visibility:hidden;overflow:visible;\"></DIV>\r\n";
    page += "</body>\r\n</html>\r\n";
    return page;
}

int FontPixelSize(LONG height) { return height < 0 ? static_cast<int>(-height) : static_cast<int>(height * 4 / 5); }

std::string MakeBodyRule(const char* face, LONG height) {
    char family[LF_FACESIZE + 8];
    snprintf(family, sizeof family, strchr(face, ' ') ? "\"%s\";\r\n" : "%s;\r\n", face);
    char size[48];
    snprintf(size, sizeof size, "      font-size: %ipx;\r\n", FontPixelSize(height));
    std::string rule = std::string("   body\r\n   {\r\n      font-family: ") + family + size + "   }\r\n";
    if (rule.size() > kBodyRuleLimit) rule.resize(kBodyRuleLimit);
    return rule;
}

std::string FindPageTitle(const char* html) {
    const char* open = html ? FindTag(html, "title") : nullptr;
    const char* start = open ? strchr(open, '>') : nullptr;
    if (!start) return std::string();
    ++start;
    const char* end = FindTag(start, "/title");
    if (!end) return std::string();
    // The page writes the title's '<', '>' and '&' as entities; the strip shows the characters.
    std::string title;
    for (const char* p = start; p < end;) {
        char c = 0;
        size_t n = 0;
        if (*p == '&' && DecodeEntity(p, &c, &n) && p + n <= end) {
            title += c;
            p += n;
        } else {
            title += *p++;
        }
    }
    if (title.size() > kPageTitleLimit) title.resize(kPageTitleLimit);
    return title;
}

VoPlainPage PageToPlainText(const char* html) {
    VoPlainPage page;
    PlainTextWriter out(&page);
    if (!html) return page;
    bool inHeadingStart = false;  // in an H1 before its first element
    const char* body = FindTag(html, "body");
    const char* p = body ? body : html;
    while (*p) {
        if (*p == '&') {
            char c = 0;
            size_t n = 0;
            if (DecodeEntity(p, &c, &n)) {
                out.Char(c);
                p += n;
                continue;
            }
        }
        if (*p != '<') {
            out.Char(*p++);
            continue;
        }
        const char* close = strchr(p, '>');
        if (!close) break;
        std::string tag(p + 1, static_cast<size_t>(close - p - 1));
        p = close + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        size_t nameEnd = closing ? 1 : 0;
        while (nameEnd < tag.size() && !IsSpace(tag[nameEnd]) && tag[nameEnd] != '/') ++nameEnd;
        std::string name = tag.substr(closing ? 1 : 0, nameEnd - (closing ? 1 : 0));
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (!closing && (name == "script" || name == "style" || name == "title")) {
            const char* end = FindTag(p, ("/" + name).c_str());
            if (!end) break;
            p = end;
            continue;
        }
        if (closing && name == "body") break;
        const bool firstInHeading = inHeadingStart && !closing;
        inHeadingStart = !closing && name == "h1";
        if (name == "br") {
            out.LineBreak();
        } else if (!closing && name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
            out.Heading();
        } else if (IsBlockTag(name)) {
            out.Block();
        } else if (name == "a") {
            std::string href;
            if (closing) out.CloseLink();
            else if (TagAttribute(tag, "href", &href)) out.OpenLink(href, firstInHeading);
        }
    }
    out.Finish();
    return page;
}

bool SplitLinkTarget(const std::string& target, bool* bible, std::string* reference) {
    size_t skip = 0;
    if (_strnicmp(target.c_str(), "bible:", 6) == 0) {
        *bible = true;
        skip = 6;
    } else if (_strnicmp(target.c_str(), "lexicon:", 8) == 0) {
        *bible = false;
        skip = 8;
    } else {
        return false;
    }
    std::string r = target.substr(skip);
    for (size_t i; (i = r.find("%20")) != std::string::npos;) r.replace(i, 3, " ");
    *reference = r;
    return !r.empty();
}

bool HeadingReference(const char* href, char* reference, int size) {
    if (!href || _strnicmp(href, "bible:", 6) != 0) return false;
    const char* rest = href + 6;
    if (static_cast<int>(strlen(rest)) >= size) return false;
    int n = 0;
    for (const char* p = rest; *p; ++p) {
        if (strncmp(p, "%20", 3) == 0) {
            reference[n++] = ' ';
            p += 2;
        } else {
            reference[n++] = *p;
        }
    }
    reference[n] = '\0';
    return true;
}
