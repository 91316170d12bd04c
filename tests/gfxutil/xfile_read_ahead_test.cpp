#include "gfxutil/xfile/xfile_read_ahead.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/gfxutil/xfile_test_support.h"

namespace tetrakon {
namespace {

// A model and a broken copy of it, read ahead while they are taken: each take gives what a
// direct read gives, a second take of the same bytes too (a taken result is not handed out
// again emptied), and a take before the read has finished waits for it or reads itself.
TEST(XFileReadAhead, TakesGiveWhatADirectReadGives) {
    const std::vector<std::uint8_t> model = xtest::LoadBytes("pistol.x");
    const std::vector<std::uint8_t> broken(model.begin(), model.begin() + model.size() / 2);
    const std::span<const std::uint8_t> files[] = {model, broken};
    std::thread reader([&files] { ReadXFilesAhead(files); });
    for (int round = 0; round < 4; ++round) {
        if (round == 2) {
            reader.join();  // the results left are taken now, and then taken again
        }
        for (const std::span<const std::uint8_t> data : files) {
            XFile expected;
            const XStatus direct = ReadXFile(data, &expected);
            XFile taken;
            const XStatus status = TakeOrReadXFile(data, &taken);
            EXPECT_EQ(status.code, direct.code);
            EXPECT_EQ(xtest::AllObjects(taken).size(), xtest::AllObjects(expected).size());
        }
    }
}

}  // namespace
}  // namespace tetrakon
