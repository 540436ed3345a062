// The plain-text and "HTML Format" receivers of copied verses.
#include "TextReceivers.h"
#include <cstdio>
#include <cstring>

namespace {

const char kHtmlHeader[] =
    "Version:0.9\nStartHTML:000095\nEndHTML:000000\nStartFragment:000109\nEndFragment:000000\n"
    "<!DOCTYPE>\n<HTML>\n<BODY>\n";
static_assert(sizeof kHtmlHeader - 1 == kHtmlHeaderLength, "the header's offsets are fixed");

// Windows-1252 128-159: the named entity where HTML has one; the bytes the code page
// leaves undefined are written as nothing.
const char* const kEntities128[32] = {
    "&euro;", "", "&sbquo;", "&fnof;", "&bdquo;", "&hellip;", "&dagger;", "&Dagger;",
    "&circ;", "&permil;", "&Scaron;", "&lsaquo;", "&OElig;", "", "?", "",
    "", "&lsquo;", "&rsquo;", "&ldquo;", "&rdquo;", "&bull;", "&ndash;", "&mdash;",
    "&tilde;", "&trade;", "&scaron;", "&rsaquo;", "&oelig;", "", "?", "&Yuml;"};

// Latin-1 160-255 in code order.
const char* const kEntities160[96] = {
    "&nbsp;", "&iexcl;", "&cent;", "&pound;", "&curren;", "&yen;", "&brvbar;", "&sect;",
    "&uml;", "&copy;", "&ordf;", "&laquo;", "&not;", "&shy;", "&reg;", "&macr;",
    "&deg;", "&plusmn;", "&sup2;", "&sup3;", "&acute;", "&micro;", "&para;", "&middot;",
    "&cedil;", "&sup1;", "&ordm;", "&raquo;", "&frac14;", "&frac12;", "&frac34;", "&iquest;",
    "&Agrave;", "&Aacute;", "&Acirc;", "&Atilde;", "&Auml;", "&Aring;", "&AElig;", "&Ccedil;",
    "&Egrave;", "&Eacute;", "&Ecirc;", "&Euml;", "&Igrave;", "&Iacute;", "&Icirc;", "&Iuml;",
    "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;", "&Otilde;", "&Ouml;", "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;", "&Yacute;", "&THORN;", "&szlig;",
    "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;", "&ccedil;",
    "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;", "&iuml;",
    "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;", "&otilde;", "&ouml;", "&divide;",
    "&oslash;", "&ugrave;", "&uacute;", "&ucirc;", "&uuml;", "&yacute;", "&thorn;", "&yuml;"};

}  // namespace

const char* HtmlEntityOf(unsigned char byte) {
    if (byte >= 160) return kEntities160[byte - 160];
    if (byte >= 128) return kEntities128[byte - 128];
    return "";
}

VoReceiverBuffer::VoReceiverBuffer(char* buffer, int capacity)
    : buffer_(buffer && capacity > 0 ? buffer : nullptr), capacity_(buffer_ ? capacity : 0) {
    if (buffer_) buffer_[0] = '\0';
    else if (buffer) complete_ = false;  // a buffer without room holds nothing
}

void VoReceiverBuffer::Append(const char* text, int count) {
    if (count <= 0) return;
    if (buffer_) {
        if (complete_ && count < capacity_ - length_) {
            std::memcpy(buffer_ + length_, text, static_cast<size_t>(count));
            buffer_[length_ + count] = '\0';
        } else {
            complete_ = false;
        }
    }
    length_ += count;
}

void VoReceiverBuffer::Append(const char* text) { Append(text, static_cast<int>(std::strlen(text))); }

bool VoReceiverBuffer::PatchNumber(const char* field, int value) {
    if (!buffer_ || value < 0) return false;
    char* p = std::strstr(buffer_, field);
    if (!p) return false;
    p += std::strlen(field);
    char* zeros = p;
    while (*p == '0') ++p;
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%d", value);
    if (n <= 0 || n > p - zeros) return false;
    std::memcpy(p - n, digits, static_cast<size_t>(n));
    return true;
}

void VoPlainTextReceiver::AddHeading(const char* text) {
    AddText(text);
    AddLineBreak();
}

void VoPlainTextReceiver::AddVerseNumber(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "%u ", number);
    AddText(text);
}

void VoPlainTextReceiver::AddText(const char* text) { out_.Append(text ? text : ""); }
void VoPlainTextReceiver::AddNewLine() { out_.Append("\r\n", 2); }
void VoPlainTextReceiver::AddLineBreak() { out_.Append("\r\n", 2); }

VoHtmlTextReceiver::VoHtmlTextReceiver(char* buffer, int capacity) : out_(buffer, capacity) {
    out_.Append(kHtmlHeader, kHtmlHeaderLength);
}

void VoHtmlTextReceiver::AddHeading(const char* text) {
    out_.Append("<b>", 3);
    AddText(text);
    out_.Append("</b><br>\n");
}

void VoHtmlTextReceiver::AddVerseNumber(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", number);
    out_.Append("<i><sup>");
    AddText(text);
    out_.Append("&nbsp;</sup></i>");
}

void VoHtmlTextReceiver::AddText(const char* text) {
    if (!text) return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const unsigned char c = *p;
        if (c == '<') out_.Append("&lt;", 4);
        else if (c == '>') out_.Append("&gt;", 4);
        else if (c == '&') out_.Append("&amp;", 5);
        else if (c < 32) out_.Append(" ", 1);
        else if (c < 128) out_.Append(reinterpret_cast<const char*>(p), 1);
        else out_.Append(HtmlEntityOf(c));
    }
}

void VoHtmlTextReceiver::AddNewLine() { out_.Append("\n", 1); }
void VoHtmlTextReceiver::AddLineBreak() { out_.Append("<br>\n", 5); }

bool VoHtmlTextReceiver::Finish() {
    const int fragmentEnd = out_.GetLength();
    out_.Append("</BODY>\n</HTML>\n");
    const int total = out_.GetLength();
    if (total > kHtmlMaxOffset) return false;
    if (out_.IsCounting()) return true;
    if (!out_.IsComplete()) return false;
    return out_.PatchNumber("EndHTML:", total) && out_.PatchNumber("EndFragment:", fragmentEnd);
}
