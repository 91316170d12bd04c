#include "app/logic/startup_switches.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tetrakon {
namespace {

TEST(StartupPictureAllowed, OnlyTheEmbeddingAndAutomationSwitchesSuppressIt) {
    const std::pair<std::vector<const char*>, bool> cases[] = {
        {{"tetrakon"}, true},
        {{"tetrakon", "picture.bmp"}, true},
        {{"tetrakon", "-Embedding"}, false},
        {{"tetrakon", "/automation"}, false},
        {{"tetrakon", "x", "/EMBEDDING"}, false},
        {{"tetrakon", "Embedding"}, true},
        {{"tetrakon", "-Embeddings"}, true},
        {{"tetrakon", "--Automation"}, true},
    };
    for (const auto& [argv, allowed] : cases) {
        EXPECT_EQ(StartupPictureAllowed(static_cast<int>(argv.size()), argv.data()), allowed)
            << argv.back();
    }
}

}  // namespace
}  // namespace tetrakon
