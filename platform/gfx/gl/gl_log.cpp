#include "platform/gfx/gl/gl_log.h"

namespace tetrakon::gfx {

Q_LOGGING_CATEGORY(lcGfx, "tetrakon.gfx", QtInfoMsg)

}  // namespace tetrakon::gfx
