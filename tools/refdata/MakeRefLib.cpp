// Writes a reference library (".brf") over the common 66-book numbering from the imported
// cross-reference notes: lines "BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TARGETS" with targets as
// normalised references separated by blanks (tools/import/README.md, xrefs.txt).
// Usage: MakeRefLib XREFS.TXT OUT.BRF
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "RefDataWriters.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"
#include "ComPtr.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: MakeRefLib XREFS.TXT OUT.BRF\n");
        return 2;
    }
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(stat.As(IID_IBibleHandles, &handles))) {
        fprintf(stderr, "MakeRefLib: could not build the statistics\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "MakeRefLib: can't read %s\n", argv[1]);
        return 1;
    }
    std::vector<std::vector<int>> refs(stat->GetVerseCount());
    std::string line;
    int lineNo = 0, notes = 0, targets = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty()) continue;
        int b = 0, c = 0, v = 0;
        char rest[4096] = "";
        if (sscanf(line.c_str(), "%d\t%d\t%d\t%4095[^\n]", &b, &c, &v, rest) != 4) {
            fprintf(stderr, "MakeRefLib: %s:%d: not a note line\n", argv[1], lineNo);
            return 1;
        }
        const int origin = stat->RefToVerseIndex(b - 1, c - 1, v - 1);
        if (origin < 0) {
            fprintf(stderr, "MakeRefLib: %s:%d: no verse %d.%d.%d\n", argv[1], lineNo, b, c, v);
            return 1;
        }
        std::istringstream words(rest);
        std::string target;
        while (words >> target) {
            int handle = 0;
            if (FAILED(ParseNormalisedRef(handles.Get(), target.c_str(), &handle))) {
                fprintf(stderr, "MakeRefLib: %s:%d: bad reference %s\n", argv[1], lineNo, target.c_str());
                return 1;
            }
            refs[origin].push_back(handle);
            ++targets;
        }
        ++notes;
    }
    // Written under a temporary name and renamed, so that a failure leaves no half file.
    const std::string temp = std::string(argv[2]) + ".tmp";
    HRESULT hr = WriteRefLibFile(temp.c_str(), stat.Get(), refs);
    if (FAILED(hr) || !MoveFileExA(temp.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        fprintf(stderr, "MakeRefLib: could not write %s (0x%08lX)\n", argv[2], static_cast<unsigned long>(hr));
        return 1;
    }
    printf("MakeRefLib: %s: %d notes, %d references\n", argv[2], notes, targets);
    return 0;
}
