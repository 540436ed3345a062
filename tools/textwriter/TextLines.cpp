#include "TextLines.h"
#include <fstream>
#include <iterator>

bool ReadTextLines(const std::string& path, int field, std::vector<std::string>* texts, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t line = 0;
    for (size_t pos = 0; pos < all.size();) {
        size_t nl = all.find('\n', pos);
        if (nl == std::string::npos) nl = all.size();
        std::string text = all.substr(pos, nl - pos);
        pos = nl + 1;
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        size_t at = 0;
        for (int f = 1; f < field; ++f) {
            at = text.find('\t', at);
            if (at == std::string::npos) {
                *error = "line " + std::to_string(line) + " has fewer than " + std::to_string(field) + " fields";
                return false;
            }
            ++at;
        }
        texts->push_back(text.substr(at));
    }
    return true;
}
