// The look-up request's text: bounded out of WM_COPYDATA, and parsed into a position.
#include "OpenRequest.h"
#include <cstring>
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "ComPtr.h"
#include "SimpleBibleWindow.h"

bool CopyOpenRequestText(const COPYDATASTRUCT* data, char (&text)[kOpenRequestCapacity]) {
    text[0] = '\0';
    if (!data || !data->lpData || data->cbData == 0) return false;
    // Another process wrote the block: read no more than it says it holds, and terminate
    // the copy even when it has no NUL of its own.
    const DWORD length = data->cbData < kOpenRequestCapacity - 1 ? data->cbData : kOpenRequestCapacity - 1;
    std::memcpy(text, data->lpData, length);
    text[length] = '\0';
    return true;
}

bool ParseOpenRequest(VoBibleInfoList& bibles, const char* text, VoBiblePosition* out) {
    if (!text || !out) return false;
    char request[kOpenRequestCapacity];
    lstrcpynA(request, text, kOpenRequestCapacity);

    // The id runs to the first blank; the reference follows the blanks after it.
    char* rest = std::strchr(request, ' ');
    if (rest) *rest++ = '\0';
    else rest = request + std::strlen(request);
    char fileName[kOpenRequestIdLength + sizeof ".vrsb"];
    lstrcpynA(fileName, request, kOpenRequestIdLength + 1);
    lstrcatA(fileName, ".vrsb");
    while (*rest == ' ') ++rest;

    int found = -1;
    for (int i = bibles.GetCount() - 1; i >= 0; --i) {
        if (lstrcmpiA(bibles.GetAt(i).GetFileName(), fileName) == 0) {
            found = i;
            break;
        }
    }
    if (found < 0 || *rest == '\0') return false;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles.GetAt(found).GetBible());
    if (!bible) return false;

    VoBibleObjects objects;
    if (!objects.Attach(bible.Get())) return false;
    char* cursor = rest;
    int reference = 0;
    // Only S_OK is a reference: S_FALSE means the text held none.
    if (objects.GetLangStat()->ParseRef(&cursor, &reference, nullptr) != S_OK || reference == 0) return false;
    *out = ResolveVersePosition(objects, found, reference);
    return true;
}
