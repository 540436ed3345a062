// The commentary exports of VoUtil.dll: OpenVoLexFile opens a user commentary or a
// packaged lexicon by its extension; CreateOldVoLexFile makes a new, empty user commentary.
#include <cstring>
#include "IVoLexicon.h"
#include "LexExportsImpl.h"
#include "Scramble.h"
#include "UserLexFormat.h"
#include "VarInt.h"
#include "VoUserLex.h"
#include "VoZipLex.h"
#include "VoUtil.h"

namespace {

constexpr int kMaxPath = 260;

HRESULT WidePath(const char* path, std::wstring* wide) {
    if (!path || !*path) return E_INVALIDARG;
    wchar_t buf[kMaxPath];
    int n = MultiByteToWideChar(CP_ACP, 0, path, -1, buf, kMaxPath);
    if (n <= 0) return E_INVALIDARG;
    return NoThrow([&] { wide->assign(buf); return S_OK; });
}

bool IsUserCommentaryPath(const char* path) {
    const char* dot = strrchr(path, '.');
    return dot && (lstrcmpiA(dot, ".vol") == 0 || lstrcmpiA(dot, ".vrsn") == 0);
}

HRESULT WriteNewStream(IStorage* storage, const wchar_t* name, const std::string& bytes, IStream** out) {
    HRESULT hr = storage->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, out);
    if (FAILED(hr)) return hr;
    return ReplaceStreamContent(*out, bytes);
}

// Writes the four fixed streams of an empty commentary into a new compound file.
HRESULT WriteEmptyCommentary(const std::wstring& file, LexRefSystem& refs, const char* name) {
    ComPtr<IStorage> storage;
    HRESULT hr = StgCreateDocfile(file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put());
    if (FAILED(hr)) return hr;
    return NoThrow([&] {
        ComPtr<IStream> nameStream, langStat, settings, list;
        std::string emptyList;
        AppendVarInt(emptyList, 0);
        AppendVarInt(emptyList, 0);
        HRESULT whr = WriteNewStream(storage.Get(), kNameStream, EncodeNameStream(name), nameStream.Put());
        if (SUCCEEDED(whr)) whr = storage->CreateStream(kLangStatStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE,
                                                         0, 0, langStat.Put());
        if (SUCCEEDED(whr)) whr = refs.Save(langStat.Get());
        if (SUCCEEDED(whr))
            whr = WriteNewStream(storage.Get(), kSettingsStream,
                                 EncodeSettingsStream(MakeScrambledRecord("|", NewScrambleSeed())), settings.Put());
        if (SUCCEEDED(whr)) whr = WriteNewStream(storage.Get(), kListStream, emptyList, list.Put());
        if (SUCCEEDED(whr)) whr = storage->Commit(STGC_DEFAULT);
        return whr;
    });
}

}  // namespace

HRESULT OpenLexFile(const char* path, IVoLexicon** out, const LexBinding& binding) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::wstring wide;
    HRESULT hr = WidePath(path, &wide);
    if (FAILED(hr)) return hr;
    ComPtr<IPersistFile> file;
    hr = IsUserCommentaryPath(path) ? CreateObjectAs<VoUserLex>(IID_IPersistFile, file.Put(), binding)
                                    : CreateObjectAs<VoZipLex>(IID_IPersistFile, file.Put(), binding);
    if (FAILED(hr)) return hr;
    hr = file->Load(wide.c_str(), 0);
    if (FAILED(hr)) return hr;
    // A success code of the open (the file opened read-only, and why) is the caller's too.
    HRESULT qhr = file->QueryInterface(IID_IVoLexicon, reinterpret_cast<void**>(out));
    return FAILED(qhr) ? qhr : hr;
}

HRESULT CreateLexFile(const char* path, IBibleLangStat* referenceSystem, const char* name, IVoLexicon** out,
                      const LexBinding& binding) {
    if (out) *out = nullptr;
    if (!referenceSystem) return E_POINTER;
    std::wstring wide;
    HRESULT hr = WidePath(path, &wide);
    if (FAILED(hr)) return hr;
    std::unique_ptr<LexRefSystem> refs;
    hr = binding.wrapRefSystem(referenceSystem, &refs);
    if (FAILED(hr)) return hr;
    // The new file is made beside the old one and replaces it only when complete, so that a
    // failure never costs the file that was there.
    hr = NoThrow([&] {
        std::wstring building = wide + L".new";
        HRESULT chr = WriteEmptyCommentary(building, *refs, name ? name : "");
        if (SUCCEEDED(chr) && !MoveFileExW(building.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING))
            chr = HRESULT_FROM_WIN32(GetLastError());
        if (FAILED(chr)) DeleteFileW(building.c_str());
        return chr;
    });
    if (FAILED(hr) || !out) return hr;
    return OpenLexFile(path, out, binding);
}

extern "C" HRESULT __stdcall OpenVoLexFile(const char* path, IVoLexicon** out) {
    return OpenLexFile(path, out, DefaultLexBinding());
}

extern "C" HRESULT __stdcall CreateOldVoLexFile(const char* path, IBibleLangStat* referenceSystem, const char* name,
                                                IVoLexicon** out) {
    return CreateLexFile(path, referenceSystem, name, out, DefaultLexBinding());
}
