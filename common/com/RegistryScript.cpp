#include "RegistryScript.h"
#include <cctype>
#include <cstdlib>
#include "Handles.h"

namespace {

// Splits the script into words, quoted strings and block braces. A brace that begins a word
// (as in a {GUID} key name) belongs to the word; a block brace stands alone.
class Tokenizer {
public:
    explicit Tokenizer(const std::string& text) : s_(text) {}

    enum Kind { End, Word, String, Open, Close, Equals, Error };
    Kind Next(std::string* token) {
        token->clear();
        while (pos_ < s_.size() && isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        if (pos_ >= s_.size()) return End;
        char c = s_[pos_];
        if ((c == '{' || c == '}') && (pos_ + 1 >= s_.size() || isspace(static_cast<unsigned char>(s_[pos_ + 1])))) {
            ++pos_;
            return c == '{' ? Open : Close;
        }
        if (c == '=') {
            ++pos_;
            return Equals;
        }
        if (c == '\'') {
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size()) return Error;
                if (s_[pos_] == '\'') {
                    if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                        token->push_back('\'');
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    return String;
                }
                token->push_back(s_[pos_++]);
            }
        }
        while (pos_ < s_.size() && !isspace(static_cast<unsigned char>(s_[pos_])) && s_[pos_] != '=')
            token->push_back(s_[pos_++]);
        return Word;
    }

private:
    const std::string& s_;
    size_t pos_ = 0;
};

bool RootKeyByName(const std::string& name, HKEY* out) {
    static const struct { const char* name; HKEY key; } roots[] = {
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", HKEY_CURRENT_USER}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    };
    for (const auto& r : roots)
        if (lstrcmpiA(r.name, name.c_str()) == 0) {
            *out = r.key;
            return true;
        }
    return false;
}

}  // namespace

RegistryScript::RegistryScript(std::string text, Replacements replacements)
    : text_(std::move(text)), replacements_(std::move(replacements)) {}

HRESULT RegistryScript::FromResource(HMODULE module, UINT id, Replacements replacements, RegistryScript* out) {
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), "REGISTRY");
    if (!res) return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL data = LoadResource(module, res);
    DWORD size = SizeofResource(module, res);
    const char* p = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!p) return HRESULT_FROM_WIN32(GetLastError());
    *out = RegistryScript(std::string(p, size), std::move(replacements));
    return S_OK;
}

bool RegistryScript::Parse(std::vector<Root>* roots) const {
    // Replace the %NAME% variables first.
    std::string text;
    for (size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] != '%') {
            text.push_back(text_[i]);
            continue;
        }
        size_t end = text_.find('%', i + 1);
        if (end == std::string::npos) return false;
        std::string name = text_.substr(i + 1, end - i - 1);
        if (name.empty()) {
            text.push_back('%');
        } else {
            bool found = false;
            for (const auto& r : replacements_)
                if (r.first == name) {
                    text += r.second;
                    found = true;
                }
            if (!found) return false;
        }
        i = end;
    }

    Tokenizer tok(text);
    std::string t;

    // Reads "= s 'text'" or "= d 'number'" after the '='.
    auto readValue = [&](Value* v) {
        if (tok.Next(&t) != Tokenizer::Word) return false;
        std::string type = t;
        if (tok.Next(&t) != Tokenizer::String) return false;
        if (type == "s") {
            v->text = t;
        } else if (type == "d") {
            char* end = nullptr;
            v->number = static_cast<DWORD>(strtoul(t.c_str(), &end, 0));
            if (t.empty() || *end) return false;
            v->isNumber = true;
        } else {
            return false;
        }
        return true;
    };

    // Parses the body of a block up to its closing brace.
    struct Parser {
        Tokenizer& tok;
        std::string& t;
        decltype(readValue)& readValue;
        int depth = 0;
        bool Body(Key* parent, std::vector<Key>* keys) {
            if (++depth > 32) return false;
            Tokenizer::Kind k = tok.Next(&t);
            while (k != Tokenizer::Close) {
                if (k != Tokenizer::Word && k != Tokenizer::String) return false;
                if (k == Tokenizer::Word && t == "val") {
                    if (!parent) return false;
                    Value v;
                    Tokenizer::Kind nk = tok.Next(&t);
                    if (nk != Tokenizer::Word && nk != Tokenizer::String) return false;
                    v.name = t;
                    if (tok.Next(&t) != Tokenizer::Equals || !readValue(&v)) return false;
                    parent->values.push_back(v);
                    k = tok.Next(&t);
                    continue;
                }
                Key key;
                if (k == Tokenizer::Word && (t == "NoRemove" || t == "ForceRemove" || t == "Delete")) {
                    key.mode = t == "NoRemove" ? Key::NoRemove : t == "ForceRemove" ? Key::ForceRemove : Key::Delete;
                    k = tok.Next(&t);
                    if (k != Tokenizer::Word && k != Tokenizer::String) return false;
                }
                key.name = t;
                k = tok.Next(&t);
                if (k == Tokenizer::Equals) {
                    if (!readValue(&key.defaultValue)) return false;
                    key.hasDefault = true;
                    k = tok.Next(&t);
                }
                if (k == Tokenizer::Open) {
                    if (!Body(&key, &key.children)) return false;
                    k = tok.Next(&t);
                }
                keys->push_back(std::move(key));
                if (k == Tokenizer::End || k == Tokenizer::Error) return false;
            }
            --depth;
            return true;
        }
    } parser{tok, t, readValue};

    for (;;) {
        Tokenizer::Kind k = tok.Next(&t);
        if (k == Tokenizer::End) return true;
        Root root;
        if (k != Tokenizer::Word || !RootKeyByName(t, &root.hkey)) return false;
        if (tok.Next(&t) != Tokenizer::Open) return false;
        if (!parser.Body(nullptr, &root.keys)) return false;
        roots->push_back(std::move(root));
    }
}

namespace {
HRESULT SetValue(HKEY key, const char* name, bool isNumber, const std::string& text, DWORD number) {
    LONG rc = isNumber ? RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number)
                       : RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                        static_cast<DWORD>(text.size() + 1));
    return HRESULT_FROM_WIN32(rc);
}
}  // namespace

HRESULT RegistryScript::RegisterKey(HKEY parent, const Key& key) {
    if (key.mode == Key::Delete || key.mode == Key::ForceRemove) {
        LONG rc = RegDeleteTreeA(parent, key.name.c_str());
        if (rc == ERROR_SUCCESS) RegDeleteKeyA(parent, key.name.c_str());
        if (key.mode == Key::Delete) return S_OK;
    }
    HKEY raw = nullptr;
    LONG rc = RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    RegKey hkey(raw);
    HRESULT hr = S_OK;
    if (key.hasDefault)
        hr = SetValue(hkey.Get(), nullptr, key.defaultValue.isNumber, key.defaultValue.text, key.defaultValue.number);
    for (size_t i = 0; SUCCEEDED(hr) && i < key.values.size(); ++i)
        hr = SetValue(hkey.Get(), key.values[i].name.c_str(), key.values[i].isNumber, key.values[i].text,
                      key.values[i].number);
    for (size_t i = 0; SUCCEEDED(hr) && i < key.children.size(); ++i) hr = RegisterKey(hkey.Get(), key.children[i]);
    return hr;
}

HRESULT RegistryScript::UnregisterKey(HKEY parent, const Key& key) {
    if (key.mode == Key::NoRemove) {
        HKEY raw = nullptr;
        LONG rc = RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
        if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
        if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
        RegKey hkey(raw);
        for (const Key& child : key.children) {
            HRESULT hr = UnregisterKey(hkey.Get(), child);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }
    LONG rc = RegDeleteTreeA(parent, key.name.c_str());
    if (rc == ERROR_SUCCESS) rc = RegDeleteKeyA(parent, key.name.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegistryScript::Register() const {
    std::vector<Root> roots;
    if (!Parse(&roots)) return DISP_E_EXCEPTION;
    for (const Root& root : roots)
        for (const Key& key : root.keys) {
            HRESULT hr = RegisterKey(root.hkey, key);
            if (FAILED(hr)) return hr;
        }
    return S_OK;
}

HRESULT RegistryScript::Unregister() const {
    std::vector<Root> roots;
    if (!Parse(&roots)) return DISP_E_EXCEPTION;
    for (const Root& root : roots)
        for (const Key& key : root.keys) {
            HRESULT hr = UnregisterKey(root.hkey, key);
            if (FAILED(hr)) return hr;
        }
    return S_OK;
}
