#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

namespace tetrakon::testing {

// Devices save their GL program in the user's cache folder; test programs point that at
// `folder` so the real home is left alone. Mesa's own shader cache stays where it was:
// a cold one in every test process compiles everything again, and its writer thread, still
// busy at exit, crashes the leak checker's tracer in sanitizer builds.
inline void UsePrivateProgramCache(const QTemporaryDir& folder) {
    if (qEnvironmentVariableIsEmpty("MESA_SHADER_CACHE_DIR")) {
        const QByteArray xdg = qgetenv("XDG_CACHE_HOME");
        const QByteArray base = xdg.startsWith('/') ? xdg : QDir::homePath().toUtf8() + "/.cache";
        qputenv("MESA_SHADER_CACHE_DIR", base + "/mesa_shader_cache");
    }
    qputenv("XDG_CACHE_HOME", folder.path().toUtf8());
}

}  // namespace tetrakon::testing
