// The run-time binding of RyTxtUtl.dll: its plain exports when the library stands in the
// folder of the module that holds this code, else its COM classes, created in-process by
// class identifier or ProgID.
#pragma once
#include <windows.h>

class TextUtilsBinding {
public:
    // Binds to the given library (null: the COM classes only). The module is borrowed.
    explicit TextUtilsBinding(HMODULE library);

    // The process's binding: "RyTxtUtl.dll" beside this module, loaded on first use and
    // kept until the process ends.
    static const TextUtilsBinding& Process();

    // A new text table as IRyTextTab.
    HRESULT CreateTextTab(void** out) const;
    // A language by name as IRyLanguage: "StdLang" is the built-in class; any other name
    // the class of ProgID "RyTextUtils." + name + ".1".
    HRESULT CreateLanguage(const char* name, void** out) const;

    bool HasLibrary() const { return library_ != nullptr; }

private:
    typedef HRESULT(__stdcall* CreateTextTabFn)(void** out);
    typedef HRESULT(__stdcall* CreateLanguageFn)(const char* name, void** out);

    HMODULE library_;
    CreateTextTabFn createTextTab_ = nullptr;
    CreateLanguageFn createLanguage_ = nullptr;
};

// The folder of the module that holds this code, with its final backslash.
bool GetOwnModuleFolder(char* buf, unsigned size);

// The process's binding, as the bible and lexicon readers use it.
inline HRESULT CreateTextTabObject(void** out) { return TextUtilsBinding::Process().CreateTextTab(out); }
inline HRESULT CreateLanguageObject(const char* name, void** out) {
    return TextUtilsBinding::Process().CreateLanguage(name, out);
}
