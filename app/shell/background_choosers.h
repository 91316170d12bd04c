#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace tetrakon {

// A chosen colour as the background colour: 0xAARRGGBB with alpha always 0xFF.
constexpr std::uint32_t BackgroundColourFromRgb(std::uint8_t red, std::uint8_t green,
                                                std::uint8_t blue) {
    return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

// The colour chooser for "Цвет фона". It always opens on black, whatever the current
// background colour. Returns the chosen colour as the background colour, or nothing when
// cancelled.
std::optional<std::uint32_t> ChooseBackgroundColour(QWidget* parent);

// The file chooser for "Картинка фона": every file listed (no filter), ".bmp" added to a
// typed name without an extension, no read-only choice. The name need not exist: a file
// that cannot be loaded turns the picture off later. Returns the full path (UTF-8), or
// nothing when cancelled.
std::optional<std::string> ChooseBackgroundPicture(QWidget* parent);

}  // namespace tetrakon
