// modelgen OUTDIR: writes the three text model files (pyramid.x, hull.x, targets.x).

#include <cstdio>
#include <string>

#include "tools/modelgen/models.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: modelgen OUTDIR\n");
        return 2;
    }
    const tetrakon::XStatus status = tetrakon::modelgen::WriteModelFiles(argv[1]);
    if (!status.ok()) {
        std::fprintf(stderr, "modelgen: %s\n", status.message.c_str());
        return 1;
    }
    return 0;
}
