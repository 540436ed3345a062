// RegistryScript: runs a registry script, the text resource (type "REGISTRY") by which a
// server registers its classes. The script names keys under a root key in nested braces:
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {F5904F25-...} = s 'StdLang Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Both'
//               }
//               Programmable
//           }
//       }
//   }
//
// A key may carry a default value ("= s 'text'") and named values ("val Name = s 'text'"
// or "= d 'number'"). Registering creates the keys and values; "ForceRemove" deletes a key
// with everything below it before creating it again. Unregistering deletes every key the
// script names with everything below it, except keys marked "NoRemove", which are only
// searched for their own sub-keys. Root keys: HKCR, HKCU, HKLM and their long names.
// "%NAME%" in names and values is replaced by the caller's value for NAME; "%%" is "%".
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

class RegistryScript {
public:
    using Replacements = std::vector<std::pair<std::string, std::string>>;

    RegistryScript(std::string text, Replacements replacements);

    // Loads the text of resource (id, "REGISTRY") from a module.
    static HRESULT FromResource(HMODULE module, UINT id, Replacements replacements, RegistryScript* out);

    // Both answer DISP_E_EXCEPTION for a script that does not parse (nothing is written
    // then), or the registry's error turned into an HRESULT.
    HRESULT Register() const;
    HRESULT Unregister() const;

private:
    struct Value {
        std::string name;  // empty for the key's default value
        bool isNumber = false;
        std::string text;
        DWORD number = 0;
    };
    struct Key {
        std::string name;
        enum Mode { Normal, NoRemove, ForceRemove, Delete } mode = Normal;
        bool hasDefault = false;
        Value defaultValue;
        std::vector<Value> values;
        std::vector<Key> children;
    };
    struct Root {
        HKEY hkey;
        std::vector<Key> keys;
    };

    bool Parse(std::vector<Root>* roots) const;
    static HRESULT RegisterKey(HKEY parent, const Key& key);
    static HRESULT UnregisterKey(HKEY parent, const Key& key);

    std::string text_;
    Replacements replacements_;
};
