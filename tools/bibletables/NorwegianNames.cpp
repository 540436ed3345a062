// Norwegian book names of the 66-book numbering (code page 1252): the short name that
// references are written with, the full name, the testaments as aliases, and the source
// through which CreateLangStat builds the language block.
#include "NorwegianNames.h"
#include "VoUtil.h"

namespace {

const NorwegianBookName kNames[kProtestantBookCount] = {
    {"1 Mos", "F\xF8rste Mosebok"},
    {"2 Mos", "Andre Mosebok"},
    {"3 Mos", "Tredje Mosebok"},
    {"4 Mos", "Fjerde Mosebok"},
    {"5 Mos", "Femte Mosebok"},
    {"Jos", "Josva"},
    {"Dom", "Dommerne"},
    {"Rut", "Rut"},
    {"1 Sam", "F\xF8rste Samuelsbok"},
    {"2 Sam", "Andre Samuelsbok"},
    {"1 Kong", "F\xF8rste Kongebok"},
    {"2 Kong", "Andre Kongebok"},
    {"1 Kr\xF8n", "F\xF8rste Kr\xF8nikebok"},
    {"2 Kr\xF8n", "Andre Kr\xF8nikebok"},
    {"Esra", "Esra"},
    {"Neh", "Nehemja"},
    {"Est", "Ester"},
    {"Job", "Job"},
    {"Sal", "Salmene"},
    {"Ordsp", "Ordspr\xE5kene"},
    {"Fork", "Forkynneren"},
    {"H\xF8ys", "H\xF8ysangen"},
    {"Jes", "Jesaja"},
    {"Jer", "Jeremia"},
    {"Klag", "Klagesangene"},
    {"Esek", "Esekiel"},
    {"Dan", "Daniel"},
    {"Hos", "Hosea"},
    {"Joel", "Joel"},
    {"Amos", "Amos"},
    {"Obad", "Obadja"},
    {"Jona", "Jona"},
    {"Mika", "Mika"},
    {"Nah", "Nahum"},
    {"Hab", "Habakkuk"},
    {"Sef", "Sefanja"},
    {"Hag", "Haggai"},
    {"Sak", "Sakarja"},
    {"Mal", "Malaki"},
    {"Matt", "Matteus"},
    {"Mark", "Markus"},
    {"Luk", "Lukas"},
    {"Joh", "Johannes"},
    {"Apg", "Apostlenes gjerninger"},
    {"Rom", "Romerne"},
    {"1 Kor", "F\xF8rste Korinterbrev"},
    {"2 Kor", "Andre Korinterbrev"},
    {"Gal", "Galaterne"},
    {"Ef", "Efeserne"},
    {"Fil", "Filipperne"},
    {"Kol", "Kolosserne"},
    {"1 Tess", "F\xF8rste Tessalonikerbrev"},
    {"2 Tess", "Andre Tessalonikerbrev"},
    {"1 Tim", "F\xF8rste Timoteusbrev"},
    {"2 Tim", "Andre Timoteusbrev"},
    {"Tit", "Titus"},
    {"Filem", "Filemon"},
    {"Hebr", "Hebreerne"},
    {"Jak", "Jakob"},
    {"1 Pet", "F\xF8rste Petersbrev"},
    {"2 Pet", "Andre Petersbrev"},
    {"1 Joh", "F\xF8rste Johannesbrev"},
    {"2 Joh", "Andre Johannesbrev"},
    {"3 Joh", "Tredje Johannesbrev"},
    {"Jud", "Judas"},
    {"\xC5p", "Johannes' \xE5penbaring"},
};

const NorwegianAlias kAliases[kNorwegianAliasCount] = {
    {"Det gamle testamente", 0, 38},
    {"Det nye testamente", 39, 65},
    {"Evangeliene", 39, 42},
};

// The source CreateLangStat reads the block from.
class NorwegianSource : public ILangStatSource {
public:
    int STDMETHODCALLTYPE GetNameCount() override { return kProtestantBookCount; }
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) override {
        if (index == -1) return Copy(buf, kNorwegianLanguageName);
        return index >= 0 && index < kProtestantBookCount ? Copy(buf, kNames[index].name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int index) override {
        return index >= 0 && index < kProtestantBookCount ? Copy(buf, kNames[index].fullName) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE Unused() override { return E_NOTIMPL; }
    int STDMETHODCALLTYPE GetAliasCount() override { return kNorwegianAliasCount; }
    HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int index) override {
        return index >= 0 && index < kNorwegianAliasCount ? Copy(buf, kAliases[index].name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetAliasValues(int index, int* first, int* second) override {
        if (index < 0 || index >= kNorwegianAliasCount) return E_INVALIDARG;
        *first = kAliases[index].firstBook;
        *second = kAliases[index].lastBook;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override {
        *out = kNorwegianLanguage;
        return S_OK;
    }

private:
    static HRESULT Copy(char* buf, const char* text) {
        lstrcpynA(buf, text, kLangSourceBufferSize);
        return S_OK;
    }
};

}  // namespace

const GUID kNorwegianLanguage = {0xeefd70ec, 0xb9d4, 0x4233, {0xa7, 0xe1, 0x27, 0x24, 0x90, 0x9f, 0xa0, 0x67}};
const char kNorwegianLanguageName[] = "Norsk";

const NorwegianBookName& NorwegianBook(int book) { return kNames[book]; }
const NorwegianAlias& NorwegianAliasAt(int index) { return kAliases[index]; }

HRESULT BuildNorwegianLangStat(IBibleStat* stat, IBibleLangStat** out) {
    NorwegianSource source;
    return CreateLangStat(stat, &source, out);
}
