// Writes the sample "Bibles" folder: the reference versification "kv61.vos" (the common
// 66-book numbering) and the conversion tables to the sample variant numberings, one in the
// library's own byte order and one with its numbers byte-reversed.
// Usage: MakeSampleBibles FOLDER   (the folder is created when missing)
#include <cstdio>
#include <string>
#include "SampleVersifications.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: MakeSampleBibles FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    CreateDirectoryA(folder.c_str(), nullptr);
    const HRESULT hr = WriteSampleBiblesFolder(folder);
    if (FAILED(hr)) {
        fprintf(stderr, "MakeSampleBibles: could not write %s (0x%08lX)\n", folder.c_str(),
                static_cast<unsigned long>(hr));
        return 1;
    }
    printf("MakeSampleBibles: %s: kv61.vos, variant.brt, malachi.brt\n", folder.c_str());
    return 0;
}
