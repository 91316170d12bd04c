#include "platform/gfx/gl/screen_modes.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/gfx/format_info.h"

namespace tetrakon::gfx {

namespace {

DisplayMode ModeOf(const QScreen& screen) {
    const qreal ratio = screen.devicePixelRatio();
    const QSize size = screen.size();
    DisplayMode mode;
    mode.width = static_cast<std::uint32_t>(std::lround(size.width() * ratio));
    mode.height = static_cast<std::uint32_t>(std::lround(size.height() * ratio));
    mode.refreshRate = static_cast<std::uint32_t>(std::max(0L, std::lround(screen.refreshRate())));
    mode.format = DisplayFormatForDepth(screen.depth());
    return mode;
}

bool SameMode(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.refreshRate == b.refreshRate &&
           a.format == b.format;
}

}  // namespace

Format DisplayFormatForDepth(int depth) {
    switch (depth) {
        case 24:
        case 32:
            return Format::X8R8G8B8;
        case 16:
            return Format::R5G6B5;
        case 15:
            return Format::X1R5G5B5;
        case 30:
            return Format::A2R10G10B10;
        default:
            return Format::Unknown;
    }
}

std::vector<DisplayMode> ScreenModes() {
    std::vector<DisplayMode> modes;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const DisplayMode mode = ModeOf(*screen);
        const bool known = std::any_of(modes.begin(), modes.end(),
                                       [&](const DisplayMode& m) { return SameMode(m, mode); });
        if (!known && mode.format != Format::Unknown) {
            modes.push_back(mode);
        }
    }
    return modes;
}

DisplayMode DesktopMode() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ModeOf(*screen) : DisplayMode{};
}

Format PresentationDisplayFormat(const PresentParameters& params) {
    if (params.windowed) {
        return DesktopMode().format;
    }
    for (const DisplayMode& mode : ScreenModes()) {
        const bool sameSize =
            mode.width == params.backBufferWidth && mode.height == params.backBufferHeight;
        const bool sameRate =
            params.fullScreenRefreshRate == 0 || params.fullScreenRefreshRate == mode.refreshRate;
        if (sameSize && sameRate &&
            ColorChannelBits(mode.format) == ColorChannelBits(params.backBufferFormat)) {
            return mode.format;
        }
    }
    return Format::Unknown;
}

}  // namespace tetrakon::gfx
