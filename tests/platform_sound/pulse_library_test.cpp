#include "platform/sound/pulse/pulse_library.h"

#include <gtest/gtest.h>

namespace tetrakon::sound {
namespace {

TEST(PulseLibrary, OpensOnlyALibraryWithEveryFunction) {
    EXPECT_NE(PulseLibrary::Open("libpulse.so.0"), nullptr);
    EXPECT_EQ(PulseLibrary::Open("libtetrakon-missing.so.0"), nullptr);
    // A library, but not the sound server's.
    EXPECT_EQ(PulseLibrary::Open("libz.so.1"), nullptr);
    EXPECT_EQ(PulseLibrary::Open(PULSE_LAST_ONLY), nullptr);  // only the last function
}

}  // namespace
}  // namespace tetrakon::sound
