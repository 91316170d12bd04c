#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tetrakon {

// Resource ids of the models carried inside the program.
constexpr int kPuzzleModelId = 205;
constexpr int kHullModelId = 206;
constexpr int kTurnTargetModelId = 207;

// The bytes of a resource embedded in the executable, found by id or name ("BOUNCE") and
// type name ("X", "WAVE"), names and types compared without regard to letter case. Empty
// when there is no such resource.
std::span<const std::uint8_t> FindResource(int id, std::string_view typeName);
std::span<const std::uint8_t> FindResource(std::string_view name, std::string_view typeName);

}  // namespace tetrakon
