#include "app/logic/settings_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "framework/registry/registry_values.h"
#include "gfxutil/file_io.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/registry_file.h"
#include "tests/fakes/temporary_directory.h"
#include "tests/test_deadline.h"

namespace tetrakon {
namespace {

// A save that waits on a held lock fails this program instead of hanging it.
[[maybe_unused]] const bool kDeadlineSet = testing::EndEveryTestWithinItsDeadline();

class FakeFrame : public FramePlacement {
  public:
    void GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const override {
        *normalRect = normal;
        *showCommand = show;
    }
    void SetPlacementRestored(const PixelRect& normalRect) override {
        restoredAt.push_back(normalRect);
    }

    PixelRect normal;
    std::int32_t show = 1;
    std::vector<PixelRect> restoredAt;
};

// A primary screen with a task bar along its foot, and a second screen to its right.
const ScreenArea kPrimary{{0, 0, 1280, 1024}, {0, 0, 1280, 1000}};
const ScreenArea kSecondary{{1280, 0, 2560, 1024}, {1280, 0, 2560, 1024}};
const PixelRect kDefault = DefaultWindowRect(1280, 1024);

class SettingsStoreTest : public ::testing::Test {
  protected:
    // Stores values as someone else (an earlier run) did.
    void StoreDwords(const std::vector<std::pair<const char*, std::uint32_t>>& values) {
        auto key = OpenKey();
        for (const auto& [name, value] : values) {
            WriteRegDword(key.get(), name, value);
        }
        ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    }
    void StoreString(const char* name, const std::string& text) {
        auto key = OpenKey();
        WriteRegString(key.get(), name, text.c_str());
        ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    }
    std::unique_ptr<RegistryKey> OpenKey() {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(registry_.CreateKey(RegRoot::CurrentUser, "Software\\Tetrakon", &key),
                  ERROR_SUCCESS);
        return key;
    }
    // The settings a new run reads.
    GameSettings LoadInNewRun() {
        GameSettings settings;
        SettingsStore(registry_).LoadSettings(&settings);
        return settings;
    }
    const RegKeyEntry* StoredKey() {
        contents_ = LoadRegistryFile(RegistryFiles(dir_.Path() + "/Tetrakon"));
        return contents_.FindKey("HKEY_CURRENT_USER\\Software\\Tetrakon");
    }

    TemporaryDirectory dir_;
    RegistryStore registry_{dir_.Path()};
    RegistryContents contents_;
};

TEST(DefaultWindowRect, Is532By400CentredWithTruncatedHalves) {
    EXPECT_EQ(DefaultWindowRect(1280, 1024), (PixelRect{374, 312, 906, 712}));
    EXPECT_EQ(DefaultWindowRect(1279, 1023), (PixelRect{373, 311, 905, 711}));
}

TEST_F(SettingsStoreTest, FirstStartUsesDefaultsAndCloseWritesAllNineValuesInOrder) {
    GameSettings settings;
    SettingsStore store(registry_);
    store.LoadSettings(&settings);
    EXPECT_FALSE(settings.Picture);
    EXPECT_EQ(settings.PathImage, "bg.jpg");
    EXPECT_EQ(settings.NumberRandomRotate, 5);
    EXPECT_FALSE(settings.FastRandomRotate);
    FakeFrame frame;
    const ScreenArea screens[] = {kPrimary};
    store.RestoreWindowPlacement(&settings, kDefault, screens, &frame);
    EXPECT_EQ(frame.restoredAt, std::vector<PixelRect>{kDefault});
    EXPECT_FALSE(std::filesystem::exists(registry_.FilePath()));  // reading writes nothing

    frame.normal = PixelRect{10, 20, 600, 500};
    store.SaveSettings(&settings, &frame);
    const RegKeyEntry* key = StoredKey();
    ASSERT_NE(key, nullptr);
    const auto dword = [](std::uint32_t v) {
        return RegValue{REG_DWORD, {static_cast<std::uint8_t>(v), 0, 0, 0}};
    };
    const std::vector<std::pair<std::string, RegValue>> expected = {
        {"ShowCmd", dword(1)},
        {"Left", dword(10)},
        {"Top", dword(20)},
        {"Right", RegValue{REG_DWORD, {0x58, 0x02, 0, 0}}},
        {"Bottom", RegValue{REG_DWORD, {0xF4, 0x01, 0, 0}}},
        {"Picture", dword(0)},
        {"FastRandomRotate", dword(0)},
        {"NumberRandomRotate", dword(5)},
        {"PathImage", RegValue{REG_SZ, {'b', 'g', '.', 'j', 'p', 'g', 0}}},
    };
    ASSERT_EQ(key->Values().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(key->Values()[i].name, expected[i].first);
        EXPECT_EQ(key->Values()[i].value, expected[i].second) << expected[i].first;
    }
}

// Every value differs from every other and the two flags differ from each other, both ways
// round, so no value can come back under another's name.
TEST_F(SettingsStoreTest, EverySavedValueComesBackAfterARestart) {
    for (const bool picture : {true, false}) {
        GameSettings saved;
        saved.Picture = picture;
        saved.FastRandomRotate = !picture;
        saved.NumberRandomRotate = picture ? 7 : 40;
        saved.PathImage = picture ? "/home/u/a.png" : "b.bmp";
        FakeFrame frame;
        frame.normal = picture ? PixelRect{11, 22, 633, 544} : PixelRect{55, 66, 777, 688};
        frame.show = picture ? 2 : 3;
        SettingsStore(registry_).SaveSettings(&saved, &frame);

        const RegistryStore restarted(dir_.Path());
        SettingsStore store(restarted);
        GameSettings loaded;
        store.LoadSettings(&loaded);
        FakeFrame next;
        store.RestoreWindowPlacement(&loaded, kDefault, {}, &next);
        EXPECT_EQ(loaded.Picture, picture);
        EXPECT_EQ(loaded.FastRandomRotate, !picture);
        EXPECT_EQ(loaded.NumberRandomRotate, saved.NumberRandomRotate);
        EXPECT_EQ(loaded.PathImage, saved.PathImage);
        EXPECT_EQ(next.restoredAt, std::vector<PixelRect>{frame.normal});
        std::uint32_t showCommand = 0;
        ReadRegDword(OpenKey().get(), "ShowCmd", &showCommand, 0);
        EXPECT_EQ(showCommand, static_cast<std::uint32_t>(frame.show));
    }
}

TEST_F(SettingsStoreTest, StoredPathAndShuffleCountAreTakenAsTheyAre) {
    struct Case {
        std::string storedPath;
        std::int32_t storedNumber;
        std::string expectedPath;
    };
    const Case cases[] = {
        {std::string(511, 'p'), 0, std::string(511, 'p')},
        {std::string(512, 'p'), -3, "bg.jpg"},
        {"/home/пользователь/фон.png", 40, "/home/пользователь/фон.png"},
    };
    for (const Case& c : cases) {
        StoreString("PathImage", c.storedPath);
        StoreDwords({{"NumberRandomRotate", static_cast<std::uint32_t>(c.storedNumber)}});
        const GameSettings settings = LoadInNewRun();
        EXPECT_EQ(settings.PathImage, c.expectedPath) << c.storedPath.size();
        EXPECT_EQ(settings.NumberRandomRotate, c.storedNumber);
    }
}

TEST_F(SettingsStoreTest, StoredFlagsAreOnWhenTheirLowestByteIsNonZero) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0, false}, {1, true}, {2, true}, {0x100, false}, {0xFFFFFFFFu, true}};
    for (const auto& [stored, on] : cases) {
        StoreDwords({{"Picture", stored}, {"FastRandomRotate", stored}});
        const GameSettings settings = LoadInNewRun();
        EXPECT_EQ(settings.Picture, on) << stored;
        EXPECT_EQ(settings.FastRandomRotate, on) << stored;
    }
}

TEST_F(SettingsStoreTest, StoredRectangleIsFittedToItsScreenOrOpensAtTheDefault) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::pair<PixelRect, PixelRect> cases[] = {
        {{1400, 100, 1900, 500}, {1400, 100, 1900, 500}},    // on the second screen
        {{-500, -300, 10, 20}, {0, 0, 510, 320}},            // partly visible: moved onto it
        {{1200, 900, 1800, 1400}, {1280, 524, 1880, 1024}},  // mostly on the second screen
        {{0, 0, 40000, 40000}, {0, 0, 1280, 1000}},          // larger than the screen
        {{kMin, kMin, kMax, kMax}, {0, 0, 1280, 1000}},      // sides beyond 32 bits
        {{100, 100, 150, 150}, {100, 100, 300, 300}},        // below the minimum size
        {{2600, 0, 3100, 400}, kDefault},                    // the screen is gone
        {{-900, 100, -300, 500}, kDefault},
        {{500, 500, 400, 400}, kDefault},              // inverted: covers nothing
        {{4000, 0, 4100, 100}, {4000, 0, 4150, 120}},  // the screen caps the minimum
    };
    const ScreenArea screens[] = {
        kPrimary, kSecondary, {{4000, 0, 4150, 120}, {4000, 0, 4150, 120}}};
    for (const auto& [stored, expected] : cases) {
        StoreDwords({{"Left", static_cast<std::uint32_t>(stored.left)},
                     {"Top", static_cast<std::uint32_t>(stored.top)},
                     {"Right", static_cast<std::uint32_t>(stored.right)},
                     {"Bottom", static_cast<std::uint32_t>(stored.bottom)}});
        GameSettings settings;
        FakeFrame frame;
        SettingsStore(registry_).RestoreWindowPlacement(&settings, kDefault, screens, &frame);
        EXPECT_EQ(settings.WindowRect, expected) << stored.left;
        EXPECT_EQ(frame.restoredAt, std::vector<PixelRect>{expected}) << stored.left;
    }
}

// A rectangle larger than the screen holding most of it (a window system's nonsense on a 1 x 1
// screen) is not saved and the stored one stays; one hanging over the screen's edge is saved.
TEST_F(SettingsStoreTest, ARectangleLargerThanItsScreenIsNotSaved) {
    const std::tuple<ScreenArea, PixelRect, PixelRect> cases[] = {
        {{{0, 0, 1, 1}, {0, 0, 1, 1}}, {0, -1769472, 200, -1720311}, {1, 2, 3, 4}},
        {kPrimary, {0, 0, 1281, 500}, {1, 2, 3, 4}},
        {kPrimary, {-300, 900, 300, 1300}, {-300, 900, 300, 1300}},
    };
    for (const auto& [screen, reported, saved] : cases) {
        StoreDwords({{"Left", 1}, {"Top", 2}, {"Right", 3}, {"Bottom", 4}});
        GameSettings settings;
        FakeFrame frame;
        frame.normal = reported;
        SettingsStore(registry_).SaveSettings(&settings, &frame, std::span(&screen, 1));
        FakeFrame next;
        SettingsStore(registry_).RestoreWindowPlacement(&settings, kDefault, {}, &next);
        EXPECT_EQ(next.restoredAt, std::vector<PixelRect>{saved}) << reported.right;
    }
}

TEST_F(SettingsStoreTest, AFolderThatCannotBeUsedOpensTheWindowAtTheDefault) {
    std::ofstream(dir_.Path() + "/Tetrakon") << "a file where the folder should be";
    FakeFrame frame;
    const ScreenArea screens[] = {kPrimary};
    GameSettings settings;
    SettingsStore(registry_).RestoreWindowPlacement(&settings, kDefault, screens, &frame);
    EXPECT_EQ(frame.restoredAt, std::vector<PixelRect>{kDefault});
}

TEST_F(SettingsStoreTest, MaximisedFrameReopensRestoredAtItsNormalRectangle) {
    GameSettings settings;
    FakeFrame maximised;
    maximised.normal = PixelRect{100, 50, 700, 550};
    maximised.show = 3;
    SettingsStore(registry_).SaveSettings(&settings, &maximised);

    FakeFrame next;
    const ScreenArea screens[] = {kPrimary};
    SettingsStore(registry_).RestoreWindowPlacement(&settings, kDefault, screens, &next);
    EXPECT_EQ(next.restoredAt, std::vector<PixelRect>{maximised.normal});
    std::uint32_t showCommand = 0;
    ReadRegDword(OpenKey().get(), "ShowCmd", &showCommand, 0);
    EXPECT_EQ(showCommand, 3u);
}

TEST_F(SettingsStoreTest, EachRunReadsOnlyOnce) {
    SettingsStore store(registry_);
    GameSettings settings;
    FakeFrame frame;
    store.LoadSettings(&settings);
    store.RestoreWindowPlacement(&settings, kDefault, {}, &frame);
    StoreDwords({{"NumberRandomRotate", 9}, {"Left", 1}});
    store.LoadSettings(&settings);
    store.RestoreWindowPlacement(&settings, kDefault, {}, &frame);
    EXPECT_EQ(settings.NumberRandomRotate, 5);
    EXPECT_EQ(frame.restoredAt, std::vector<PixelRect>{kDefault});
}

// What one save in a new run says on standard error.
std::string SaveSaying(const RegistryStore& registry) {
    GameSettings settings;
    ::testing::internal::CaptureStderr();
    SettingsStore(registry).SaveSettings(&settings, nullptr);
    return ::testing::internal::GetCapturedStderr();
}

// Another process (a child this test owns and ends) holds the lock and never lets go: the
// save gives up after its patience (1.5 s), says so, and leaves the file as it was.
TEST_F(SettingsStoreTest, ALockHeldElsewhereSkipsTheSaveInsteadOfHanging) {
    StoreDwords({{"Left", 1}});
    const std::string lock = registry_.FilePath() + ".lock";
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::flock(::open(lock.c_str(), O_RDWR), LOCK_EX);
        ::pause();
        ::_exit(0);
    }
    for (int i = 0; i < 500 && !FileLock(lock).Busy(); ++i) {
        ::usleep(10000);
    }
    ::alarm(20);  // a save that waits for ever ends the test program instead
    const auto start = std::chrono::steady_clock::now();
    const std::string said = SaveSaying(registry_);
    const auto took = std::chrono::steady_clock::now() - start;
    ::alarm(0);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_LT(took, std::chrono::seconds(3));  // patience, with room for a busy machine
    EXPECT_NE(said.find(registry_.FilePath() + ": "), std::string::npos) << said;
    ASSERT_NE(StoredKey(), nullptr);
    EXPECT_EQ(StoredKey()->Values().size(), 1u);  // only what was there before
}

// Saves that keep nothing (the file left whole; file systems of their own, which only root
// can mount) and a refused file set aside each say why in one line naming the file.
TEST_F(SettingsStoreTest, ASaveThatKeepsNothingOrSetsAFileAsideSaysWhyInOneLine) {
    const std::string folder = dir_.Path() + "/Tetrakon", file = registry_.FilePath();
    const std::string stored = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=dword:1\n";
    const auto bytesOf = [](const std::string& path) {
        std::string bytes;
        return ReadFileBounded(path, kMaxRegFileBytes, &bytes), bytes;
    };
    const auto write = [&](const std::string& bytes) {
        std::filesystem::create_directories(folder);
        return (std::ofstream(file, std::ios::binary) << bytes).good();
    };
    const auto ownFileSystem = [&](const char* size) {
        return std::filesystem::create_directories(folder) &&
               ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0 && write(stored);
    };
    const std::tuple<const char*, std::function<bool()>, bool> rows[] = {
        {"read-only file", [&] { return write(stored) && ::chmod(file.c_str(), 0444) == 0; },
         false},
        {"full file system", [&] { return ownFileSystem("size=4k"); }, false},  // one page
        {"read-only file system",
         [&] {
             return ownFileSystem("size=64k") &&
                    ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
         },
         false},
        {"over the size limit",
         [&] { return write(stored + ";" + std::string(kMaxRegFileBytes - 80, 'x')); }, false},
        {"corrupt, set aside", [&] { return write(stored + "\x01\n"); }, true},
    };
    std::set<std::string> lines;
    for (const auto& [name, make, setAside] : rows) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(folder);
        if (make()) {
            const std::string before = bytesOf(file), said = SaveSaying(registry_);
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_NE(said.find(file), std::string::npos) << said;
            EXPECT_TRUE(lines.insert(said).second) << said;  // a reason of its own
            EXPECT_EQ(bytesOf(file) == before, !setAside);
            EXPECT_EQ(bytesOf(file + ".bad") == before, setAside);
        } else {
            std::cout << "not made here: " << name << '\n';
        }
        ::umount2(folder.c_str(), MNT_DETACH);
    }
}

}  // namespace
}  // namespace tetrakon
