#pragma once

#include <string>

#include "platform/gfx/gl/gl_adapter_facts.h"

namespace tetrakon::gfx {

// Opens an offscreen context of the best API the driver offers (kRequestedApis, best
// first) and finds out what it can make: the renderer's name, the largest texture, and
// which back-buffer and depth formats render, each with the sample counts that come out
// exactly as asked. E_FAIL when none can be made (no display, or only older versions);
// then `whyNot`, when given, names what is needed and what the driver offers, with its
// version and renderer strings. Needs a QGuiApplication.
Result ProbeGlAdapter(GlAdapterFacts* out, std::string* whyNot = nullptr);

}  // namespace tetrakon::gfx
