#pragma once

#include <cstdint>

namespace tetrakon {

// Failures travel as signed 32-bit result codes: 0 is success, negative is failure.
// The platform's standard codes keep their usual values so that they pass through
// every layer unchanged and map onto the same messages.
using Result = std::int32_t;

constexpr Result ResultFromBits(std::uint32_t bits) {
    return static_cast<Result>(bits);
}

constexpr Result S_OK = 0;
constexpr Result E_FAIL = ResultFromBits(0x80004005u);
constexpr Result E_OUTOFMEMORY = ResultFromBits(0x8007000Eu);
constexpr Result E_INVALIDARG = ResultFromBits(0x80070057u);
constexpr Result E_FILE_NOT_FOUND = ResultFromBits(0x80070002u);
// The framework's "required media missing" code (its family is in
// framework/framework_results.h); the loaders beneath the framework return it too.
constexpr Result MediaMissing = ResultFromBits(0x8200000Bu);

constexpr bool Failed(Result r) {
    return r < 0;
}
constexpr bool Succeeded(Result r) {
    return r >= 0;
}

}  // namespace tetrakon
