#include "app/logic/settings_store.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/logic/settings_messages.h"
#include "framework/registry/registry_values.h"

namespace tetrakon {
namespace {

constexpr const char* kSettingsKey = "Software\\Tetrakon";
constexpr const char* kDefaultPathImage = "bg.jpg";
// The stored path with its terminator must fit this buffer, or the default is used.
constexpr std::uint32_t kPathImageBufferSize = 512;
constexpr std::int32_t kDefaultWidth = 532;
constexpr std::int32_t kDefaultHeight = 400;

std::unique_ptr<RegistryKey> OpenSettingsKey(const RegistryStore& registry) {
    std::unique_ptr<RegistryKey> key;
    if (registry.CreateKey(RegRoot::CurrentUser, kSettingsKey, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

// Flags are kept as their lowest byte; any non-zero byte is on, so drawing, shuffling,
// menus and the presets dialog all agree on a value written by someone else.
bool ReadFlag(const RegistryKey& key, const char* name, bool defaultValue) {
    std::uint32_t stored = 0;
    ReadRegDword(&key, name, &stored, defaultValue ? 1 : 0);
    return (stored & 0xFFu) != 0;
}

std::int32_t ReadNumber(const RegistryKey& key, const char* name, std::int32_t defaultValue) {
    std::uint32_t stored = 0;
    ReadRegDword(&key, name, &stored, static_cast<std::uint32_t>(defaultValue));
    return static_cast<std::int32_t>(stored);
}

// One line on standard error, when there is one.
void Say(const std::string& line) {
    if (!line.empty()) {
        std::fputs(line.c_str(), stderr);
    }
}

void WriteNumber(RegistryKey* key, const char* name, std::int32_t value) {
    WriteRegDword(key, name, static_cast<std::uint32_t>(value));
}

}  // namespace

std::vector<std::string> SettingsValueNames() {
    return {"ShowCmd",
            "Left",
            "Top",
            "Right",
            "Bottom",
            "Picture",
            "FastRandomRotate",
            "NumberRandomRotate",
            "PathImage"};
}

PixelRect DefaultWindowRect(std::int32_t screenWidth, std::int32_t screenHeight) {
    const std::int32_t centreX = screenWidth / 2;
    const std::int32_t centreY = screenHeight / 2;
    return PixelRect{centreX - kDefaultWidth / 2, centreY - kDefaultHeight / 2,
                     centreX + kDefaultWidth / 2, centreY + kDefaultHeight / 2};
}

void SettingsStore::LoadSettings(GameSettings* settings) {
    if (!settingsNotYetLoaded_) {
        return;
    }
    settingsNotYetLoaded_ = false;
    const std::unique_ptr<RegistryKey> key = OpenSettingsKey(registry_);
    if (!key) {
        return;
    }
    settings->FastRandomRotate = ReadFlag(*key, "FastRandomRotate", false);
    settings->NumberRandomRotate = ReadNumber(*key, "NumberRandomRotate", 5);
    std::array<char, kPathImageBufferSize> path{};
    ReadRegString(key.get(), "PathImage", path.data(), kPathImageBufferSize, kDefaultPathImage);
    settings->PathImage = path.data();
    settings->Picture = ReadFlag(*key, "Picture", false);
    key->Close();
}

void SettingsStore::RestoreWindowPlacement(GameSettings* settings,
                                           const PixelRect& defaultWindowRect,
                                           std::span<const ScreenArea> screens,
                                           FramePlacement* frame) {
    if (!placementNotYetRestored_) {
        return;
    }
    placementNotYetRestored_ = false;
    // Without a key the window still opens as on a first start; the settings are not kept.
    const std::unique_ptr<RegistryKey> key = OpenSettingsKey(registry_);
    PixelRect& rect = settings->WindowRect;
    rect = defaultWindowRect;
    if (key) {
        rect.left = ReadNumber(*key, "Left", defaultWindowRect.left);
        rect.top = ReadNumber(*key, "Top", defaultWindowRect.top);
        rect.right = ReadNumber(*key, "Right", defaultWindowRect.right);
        rect.bottom = ReadNumber(*key, "Bottom", defaultWindowRect.bottom);
    }
    if (IsEmpty(rect)) {
        rect = defaultWindowRect;
    }
    if (!screens.empty()) {
        std::optional<PixelRect> fitted = FitToScreens(rect, screens, kMinimumTrackingSize);
        if (!fitted) {
            fitted = FitToScreens(defaultWindowRect, screens, kMinimumTrackingSize);
        }
        rect = fitted.value_or(defaultWindowRect);
    }
    if (frame != nullptr) {
        frame->SetPlacementRestored(rect);
    }
    if (key) {
        key->Close();
    }
}

void SettingsStore::SaveSettings(GameSettings* settings, const FramePlacement* frame,
                                 std::span<const ScreenArea> screens) {
    const std::unique_ptr<RegistryKey> key = OpenSettingsKey(registry_);
    if (!key) {
        Say(UnusableFolderLine(registry_.Directory()));
        return;
    }
    std::int32_t showCommand = kShowRestore;
    bool rectKnown = true;
    if (frame != nullptr) {
        PixelRect rect = settings->WindowRect;
        frame->GetPlacement(&rect, &showCommand);
        rectKnown = FitsItsScreen(rect, screens);
        if (rectKnown) {
            settings->WindowRect = rect;
        }
    }
    const PixelRect& rect = settings->WindowRect;
    WriteNumber(key.get(), "ShowCmd", showCommand);
    if (rectKnown) {
        WriteNumber(key.get(), "Left", rect.left);
        WriteNumber(key.get(), "Top", rect.top);
        WriteNumber(key.get(), "Right", rect.right);
        WriteNumber(key.get(), "Bottom", rect.bottom);
    }
    WriteNumber(key.get(), "Picture", settings->Picture ? 1 : 0);
    WriteNumber(key.get(), "FastRandomRotate", settings->FastRandomRotate ? 1 : 0);
    WriteNumber(key.get(), "NumberRandomRotate", settings->NumberRandomRotate);
    WriteRegString(key.get(), "PathImage", settings->PathImage.c_str());
    key->Close();
    Say(SetAsideLine(registry_.FilePath(), key->Saved().setAside));
    Say(UnsavedSettingsLine(registry_.FilePath(), key->Saved()));
}

}  // namespace tetrakon
