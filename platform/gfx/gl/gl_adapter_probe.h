#pragma once

#include <memory>

#include "platform/gfx/gl/gl_adapter_facts.h"

namespace tetrakon::gfx {

// Opens an offscreen OpenGL 3.3 core context and finds out what it can make: the
// renderer's name, the largest texture, and which back-buffer and depth formats render,
// each with the sample counts that come out exactly as asked. E_FAIL when no such context
// can be made (no display, or an older OpenGL). Needs a QGuiApplication.
Result ProbeGlAdapter(GlAdapterFacts* out);

}  // namespace tetrakon::gfx
