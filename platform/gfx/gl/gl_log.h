#pragma once

#include <QLoggingCategory>

namespace tetrakon::gfx {

// The display layer's messages, quiet unless turned on:
// QT_LOGGING_RULES="tetrakon.gfx.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcGfx)

}  // namespace tetrakon::gfx
