#pragma once

#include <dlfcn.h>
#include <link.h>

namespace tetrakon::testing {

// The GL driver is unloaded when the display closes, and what its globals still hold would
// then look leaked to the leak checker. Keeping every loaded library until the process ends
// leaves those blocks reachable; the program's own allocations are checked as before.
inline void KeepLoadedLibrariesUntilExit() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

}  // namespace tetrakon::testing
