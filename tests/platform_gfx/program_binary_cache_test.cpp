// The saved-program file on real files: what is written is read back, and nothing but an
// intact record made for the same key ever is.

#include "platform/gfx/program_binary_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gfxutil/file_io.h"
#include "tests/fakes/temporary_directory.h"
#include "tests/test_deadline.h"

namespace tetrakon::gfx {
namespace {

// A store that waits for a lock it should pass by fails this program instead of hanging it.
[[maybe_unused]] const bool kDeadlineSet = tetrakon::testing::EndEveryTestWithinItsDeadline();

using namespace std::string_literals;

const std::string kKey = ProgramCacheKey({"Mesa", "llvmpipe", "4.5 (Core Profile) Mesa 22.3.6",
                                          "4.50", "void main() {}\n", "out vec4 c;\n"});

ProgramRecord Sample() {
    return ProgramRecord{0x8A32u, kKey, "\x01\0binary\xff"s};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A saved program is taken back only by the same driver for the same shaders: a change of
// any one field gives another key, and so does text moved from one field to the next.
TEST(ProgramCacheKey, EveryFieldOfTheIdentityCounts) {
    const ProgramCacheIdentity same{"Mesa", "llvmpipe",         "4.5 Mesa 22.3.6",
                                    "4.50", "void main() {}\n", "out vec4 c;\n"};
    std::vector<ProgramCacheIdentity> changed(8, same);
    changed[0].vendor = "Mesa/X.org";
    changed[1].renderer = "llvmpipe (LLVM 15.0.6, 256 bits)";
    changed[2].version = "4.5 Mesa 23.0.0";
    changed[3].shadingLanguageVersion = "4.60";
    changed[4].vertexShader = "void main() { }\n";
    changed[5].fragmentShader = "out vec4 d;\n";
    changed[6].vendor = "Mesa\n";  // 6 and 7: one text, split at two places
    changed[7].renderer = "\nllvmpipe";
    std::set<std::string> keys = {ProgramCacheKey(same)};
    for (const ProgramCacheIdentity& identity : changed) {
        keys.insert(ProgramCacheKey(identity));
    }
    EXPECT_EQ(keys.size(), changed.size() + 1);
}

class ProgramBinaryStoreTest : public ::testing::Test {
  protected:
    TemporaryDirectory dir_;
    ProgramBinaryStore store_{dir_.Path()};
};

TEST_F(ProgramBinaryStoreTest, StoredRecordLoadsBackAndLeftoverTemporariesGo) {
    const std::string stale = store_.FilePath() + ".tmpAb12Cd";
    WriteFile(stale, "left by a killed writer");
    store_.Store(Sample());
    EXPECT_FALSE(std::filesystem::exists(stale));
    const std::optional<ProgramRecord> loaded = store_.Load(kKey);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->format, Sample().format);
    EXPECT_EQ(loaded->binary, Sample().binary);
}

TEST_F(ProgramBinaryStoreTest, StoreNeitherWaitsForNorInterleavesWithAnotherWriter) {
    std::filesystem::create_directories(dir_.Path() + "/Tetrakon");
    const FileLock otherWriter(store_.FilePath() + ".lock");
    ASSERT_TRUE(otherWriter.Held());
    store_.Store(Sample());
    EXPECT_FALSE(std::filesystem::exists(store_.FilePath()));
}

// Another copy handing the program over keeps its mark: no program is offered meanwhile,
// and the file stays. Killed inside that hand-over, it leaves the mark, and the next
// hand-over drops the file instead; the program saved after that is offered again.
TEST_F(ProgramBinaryStoreTest, AHandOverThatNeverEndedCostsTheSavedProgramOnce) {
    store_.Store(Sample());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        GuardedProgramLoad load(store_, kKey);
        const char offered = load.Record().has_value() ? '1' : '0';
        if (::write(ready[1], &offered, 1) == 1) {
            ::pause();  // inside the driver, until killed
        }
        ::_exit(1);
    }
    char offered = 0;
    ASSERT_EQ(::read(ready[0], &offered, 1), 1);
    EXPECT_EQ(offered, '1');
    EXPECT_FALSE(GuardedProgramLoad(store_, kKey).Record().has_value());
    EXPECT_TRUE(std::filesystem::exists(store_.FilePath()));

    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    EXPECT_FALSE(GuardedProgramLoad(store_, kKey).Record().has_value());
    EXPECT_FALSE(std::filesystem::exists(store_.FilePath()));
    store_.Store(Sample());
    EXPECT_TRUE(GuardedProgramLoad(store_, kKey).Record().has_value());
    EXPECT_TRUE(GuardedProgramLoad(store_, kKey).Record().has_value());
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(ProgramBinaryStoreTest, DamagedForeignOrOddFilesGiveNoProgram) {
    const std::string good = EncodeProgramRecord(Sample());
    const std::size_t keyAt = 24;  // magic and four 32-bit fields
    const std::size_t binaryAt = keyAt + kKey.size();
    auto withByte = [&](std::size_t at, char value) {
        std::string bytes = good;
        bytes[at] = value;
        return bytes;
    };
    ProgramRecord foreign = Sample();
    foreign.key = ProgramCacheKey({"Mesa", "llvmpipe", "4.5 (Core Profile) Mesa 23.0.0", "4.50",
                                   "void main() {}\n", "out vec4 c;\n"});
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
    };
    const Case cases[] = {
        {"empty", [&](auto& path) { WriteFile(path, ""); }},
        {"cut in the header", [&](auto& path) { WriteFile(path, good.substr(0, 13)); }},
        {"cut in the key", [&](auto& path) { WriteFile(path, good.substr(0, keyAt + 5)); }},
        {"cut in the binary", [&](auto& path) { WriteFile(path, good.substr(0, binaryAt + 3)); }},
        {"last byte missing",
         [&](auto& path) { WriteFile(path, good.substr(0, good.size() - 1)); }},
        {"wrong magic", [&](auto& path) { WriteFile(path, withByte(0, 'X')); }},
        {"other record version", [&](auto& path) { WriteFile(path, withByte(8, 2)); }},
        {"made for another driver",
         [&](auto& path) { WriteFile(path, EncodeProgramRecord(foreign)); }},
        {"binary changed", [&](auto& path) { WriteFile(path, withByte(binaryAt + 2, 'B')); }},
        {"key length beyond the file",
         [&](auto& path) {
             std::string bytes = good;
             bytes.replace(16, 4, "\xff\xff\xff\xff");
             WriteFile(path, bytes);
         }},
        {"binary length beyond the file", [&](auto& path) { WriteFile(path, withByte(23, 1)); }},
        {"a FIFO", [&](auto& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        {"a directory", [&](auto& path) { std::filesystem::create_directories(path); }},
        {"over the size limit",
         [&](auto& path) {
             WriteFile(path, good);
             ASSERT_EQ(::truncate(path.c_str(), ProgramBinaryStore::kMaxFileSize + 1), 0);
         }},
    };
    for (const Case& c : cases) {
        const TemporaryDirectory dir;
        const ProgramBinaryStore store(dir.Path());
        std::filesystem::create_directories(dir.Path() + "/Tetrakon");
        c.make(store.FilePath());
        EXPECT_FALSE(store.Load(kKey).has_value()) << c.name;
    }
}

}  // namespace
}  // namespace tetrakon::gfx
