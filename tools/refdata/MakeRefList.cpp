// Writes a reference list (".vrsm") over the common 66-book numbering from a text file of
// normalised references ("43.3.16", "19.23.1-19.23.6"), one or more a line, blanks between;
// lines beginning with "#" are comments.
// Usage: MakeRefList REFS.TXT OUT.VRSM [ITEMS-PER-ENTRY]   (default 16)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "RefDataWriters.h"
#include "ProtestantCanon.h"
#include "ComPtr.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        fprintf(stderr, "usage: MakeRefList REFS.TXT OUT.VRSM [ITEMS-PER-ENTRY]\n");
        return 2;
    }
    const int perEntry = argc == 4 ? atoi(argv[3]) : 16;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(stat.As(IID_IBibleHandles, &handles))) {
        fprintf(stderr, "MakeRefList: could not build the statistics\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "MakeRefList: can't read %s\n", argv[1]);
        return 1;
    }
    std::vector<int> refs;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            int handle = 0;
            if (FAILED(ParseNormalisedRef(handles.Get(), word.c_str(), &handle))) {
                fprintf(stderr, "MakeRefList: %s:%d: bad reference %s\n", argv[1], lineNo, word.c_str());
                return 1;
            }
            refs.push_back(handle);
        }
    }
    const std::string temp = std::string(argv[2]) + ".tmp";
    const HRESULT hr = WriteRefListFile(temp.c_str(), stat.Get(), refs, perEntry);
    if (FAILED(hr) || !MoveFileExA(temp.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        fprintf(stderr, "MakeRefList: could not write %s (0x%08lX)\n", argv[2], static_cast<unsigned long>(hr));
        return 1;
    }
    printf("MakeRefList: %s: %u references, %d to an entry\n", argv[2], static_cast<unsigned>(refs.size()), perEntry);
    return 0;
}
