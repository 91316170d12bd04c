#include "app/settings/app_settings.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <vector>

#include "game/game_view.h"

namespace tetrakon {

namespace {

// Right and bottom just outside, where QRect's right() and bottom() are the last pixel's.
PixelRect ToPixelRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

std::vector<ScreenArea> ScreenAreas() {
    std::vector<ScreenArea> screens;
    for (const QScreen* each : QGuiApplication::screens()) {
        screens.push_back({ToPixelRect(each->geometry()), ToPixelRect(each->availableGeometry())});
    }
    return screens;
}

namespace {

// The settings' messages, quiet unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcSettings, "tetrakon.settings", QtInfoMsg)

}  // namespace

AppSettings::AppSettings()
    : registry_(RegistryStore::DefaultConfigDirectory(), SettingsValueNames()), store_(registry_) {}

void AppSettings::LoadSettings(GameView& view) {
    store_.LoadSettings(&settings_);
    view.renderer.Picture = settings_.Picture ? 1 : 0;
    view.renderer.PathImage = settings_.PathImage;
    view.NumberRandomRotate = settings_.NumberRandomRotate;
    view.FastRandomRotate = settings_.FastRandomRotate ? 1 : 0;
    qCDebug(lcSettings, "read: %d shuffle turns, fast %d, picture %d \"%s\"",
            view.NumberRandomRotate, static_cast<int>(view.FastRandomRotate),
            static_cast<int>(view.renderer.Picture), view.renderer.PathImage.c_str());
}

void AppSettings::RestoreWindowPlacement(QtFramePlacement& frame) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screen = primary != nullptr ? primary->size() : QSize(1024, 768);
    store_.RestoreWindowPlacement(&settings_, DefaultWindowRect(screen.width(), screen.height()),
                                  ScreenAreas(), &frame);
}

void AppSettings::SaveSettings(const GameView& view, QtFramePlacement& frame) {
    settings_.Picture = view.renderer.Picture != 0;
    settings_.PathImage = view.renderer.PathImage;
    settings_.NumberRandomRotate = view.NumberRandomRotate;
    settings_.FastRandomRotate = view.FastRandomRotate != 0;
    store_.SaveSettings(&settings_, &frame, ScreenAreas());
    qCDebug(lcSettings, "saved at close: %d shuffle turns, fast %d, picture %d \"%s\"",
            view.NumberRandomRotate, static_cast<int>(view.FastRandomRotate),
            static_cast<int>(view.renderer.Picture), view.renderer.PathImage.c_str());
}

}  // namespace tetrakon
