// xdump FILE
// Prints an X file's object tree. Exits 0 when the file reads (and its meshes load) and 2,
// with one line on stderr, otherwise.

#include <iostream>
#include <string>

#include "gfxutil/xfile/xfile.h"
#include "tools/xdump/xtree_printer.h"

int main(int argc, char** argv) {
    constexpr int kFailure = 2;
    if (argc != 2) {
        std::cerr << "xdump: usage: xdump FILE\n";
        return kFailure;
    }
    const std::string path = argv[1];
    tetrakon::XFile file;
    if (const tetrakon::XStatus status = tetrakon::ReadXFileFromPath(path, &file); !status.ok()) {
        std::cerr << "xdump: " << path << ": " << status.message << '\n';
        return kFailure;
    }
    std::string problem;
    const bool meshesLoad = tetrakon::PrintXTree(file, std::cout, &problem);
    std::cout.flush();
    if (!meshesLoad) {
        std::cerr << "xdump: " << path << ": " << problem << '\n';
        return kFailure;
    }
    return 0;
}
