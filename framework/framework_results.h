#pragma once

#include "gfxutil/result.h"

namespace tetrakon {

// The framework's own failure codes; each has its message in ErrorMessageText.
constexpr Result NoGraphicsApi = ResultFromBits(0x82000001u);
constexpr Result NoCompatibleDevice = ResultFromBits(0x82000003u);
constexpr Result NoWindowableMode = ResultFromBits(0x82000004u);
constexpr Result NoHardwareDevice = ResultFromBits(0x82000005u);
constexpr Result HardwareLacksFeatures = ResultFromBits(0x82000006u);
constexpr Result HardwareCannotWindow = ResultFromBits(0x82000007u);
constexpr Result HardwareCannotWindowOnDesktop = ResultFromBits(0x82000008u);
constexpr Result HardwareLacksFeaturesInMode = ResultFromBits(0x82000009u);
constexpr Result ObjectsLeaked = ResultFromBits(0x8200000Au);
// MediaMissing (0x8200000B) is in gfxutil/result.h: the loaders below the framework return it.
constexpr Result ResetFailed = ResultFromBits(0x8200000Cu);
constexpr Result NullReferenceDevice = ResultFromBits(0x8200000Du);
// Full screen asked for on a screen below the catalogue's size floor.
constexpr Result ScreenTooSmall = ResultFromBits(0x8200000Eu);

}  // namespace tetrakon
