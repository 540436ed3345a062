// VoBibleInfoList::FormatPosition: the caption of a bible, book or chapter position.
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "MessageText.h"
#include <cstring>

namespace {

// Copies text after what out already holds, bounded by remaining (bytes with the NUL).
void CopyBounded(char* out, int remaining, const char* text) {
    if (remaining > 0) lstrcpynA(out, text, remaining);
}

}  // namespace

bool VoBibleInfoList::FormatPosition(int index, int book, int chapter, bool withName, char* buffer, int size) {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    if (index < 0 || index >= GetCount()) return false;
    VoBibleInfo& record = GetAt(index);
    VoBibleObjects objects;
    if (book != -1) {
        ComPtr<IBible> bible = ComPtr<IBible>::Attach(record.GetBible());
        if (!bible || !objects.Attach(bible.Get())) return false;
    }

    char* out = buffer;
    int remaining = size;
    if (withName && book != -1) {
        int length = static_cast<int>(std::strlen(record.GetShortName()));
        if (remaining > length + 1) {
            std::memcpy(out, record.GetShortName(), static_cast<size_t>(length) + 1);
            out += length;
            remaining -= length;
            if (remaining > 1) {
                *out++ = ' ';
                *out = '\0';
                --remaining;
            }
        }
    }

    // Every text is made in a buffer of its full size and copied bounded: a reference may
    // take up to kFormatRefBufferSize bytes, whatever the caller's buffer holds.
    if (chapter != -1) {
        int ref = objects.MakeIndex(book, chapter, -1);
        char text[kFormatRefBufferSize] = {};
        if (!ref || FAILED(objects.GetLangStat()->FormatRef(text, ref, 0, 0, 0, FALSE))) {
            buffer[0] = '\0';
            return false;
        }
        CopyBounded(out, remaining, text);
    } else if (book != -1) {
        char name[kMaxBookNameLength + 1] = {};
        if (FAILED(objects.GetLangStat()->GetBookAbbreviation(name, book))) {
            buffer[0] = '\0';
            return false;
        }
        char text[kTextCapacity];
        CopyBounded(out, remaining, FormatResString(text, kIdsChapterOverview, name));
    } else {
        char text[kTextCapacity];
        CopyBounded(out, remaining, FormatResString(text, kIdsBookOverview, record.GetName()));
    }
    return true;
}
