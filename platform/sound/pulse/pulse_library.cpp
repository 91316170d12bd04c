#include "platform/sound/pulse/pulse_library.h"

#include <dlfcn.h>

namespace tetrakon::sound {

std::unique_ptr<PulseLibrary> PulseLibrary::Open(const char* soname) {
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    auto library = std::make_unique<PulseLibrary>();
    bool complete = true;
#define TETRAKON_PULSE_RESOLVE(name)                                           \
    library->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && library->name != nullptr;
    TETRAKON_PULSE_FUNCTIONS(TETRAKON_PULSE_RESOLVE)
#undef TETRAKON_PULSE_RESOLVE
    if (!complete) {
        dlclose(handle);
        return nullptr;
    }
    return library;
}

const PulseLibrary* Pulse() {
    static const std::unique_ptr<PulseLibrary> library = PulseLibrary::Open("libpulse.so.0");
    return library.get();
}

}  // namespace tetrakon::sound
