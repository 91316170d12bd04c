#include "platform/registry/registry_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/registry/reg_file_format.h"
#include "tests/fakes/temporary_directory.h"

namespace tetrakon {
namespace {

using namespace std::string_literals;

constexpr const char* kSubKey = "Software\\Tetrakon";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class RegistryStoreTest : public ::testing::Test {
  protected:
    std::unique_ptr<RegistryKey> Open() const {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(store_.CreateKey(RegRoot::CurrentUser, kSubKey, &key), ERROR_SUCCESS);
        return key;
    }

    static void Set(RegistryKey* key, const char* name, RegType type, const std::string& bytes) {
        ASSERT_EQ(key->SetValue(name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                static_cast<std::uint32_t>(bytes.size())),
                  ERROR_SUCCESS);
    }

    // The stored bytes, or "<missing>".
    static std::string Get(const RegistryKey& key, const char* name, RegType* type = nullptr) {
        std::vector<std::uint8_t> data(4096);
        auto size = static_cast<std::uint32_t>(data.size());
        if (key.QueryValue(name, type, data.data(), &size) != ERROR_SUCCESS) {
            return "<missing>";
        }
        return std::string(data.begin(), data.begin() + size);
    }

    TemporaryDirectory dir_;
    RegistryStore store_{dir_.Path()};
};

// Sets an environment variable for one scope, restoring the old value after.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RegistryStore, ConfigDirectoryFollowsXdgAndIgnoresRelativePaths) {
    const ScopedEnvironment home("HOME", "/home/u");
    const std::pair<const char*, const char*> cases[] = {{"/xdg/config", "/xdg/config"},
                                                         {"relative/config", "/home/u/.config"},
                                                         {"", "/home/u/.config"},
                                                         {nullptr, "/home/u/.config"}};
    for (const auto& [xdg, expected] : cases) {
        const ScopedEnvironment config("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(RegistryStore::DefaultConfigDirectory(), expected) << (xdg ? xdg : "unset");
    }
}

TEST_F(RegistryStoreTest, ValuesOfEveryTypeSurviveAReopen) {
    struct Row {
        const char* name;
        RegType type;
        std::string bytes;
    };
    const Row rows[] = {
        {"Left", REG_DWORD, std::string("\x0a\0\0\0", 4)},
        {"PathImage", REG_SZ, "C:\\path with \"quotes\"\0"s},
        {"Имя", REG_SZ, "/home/пользователь/фон.jpg\0"s},
        {"Other", REG_BINARY, "\x01\x02\xff"},
    };
    auto key = Open();
    for (const Row& row : rows) {
        Set(key.get(), row.name, row.type, row.bytes);
    }
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    EXPECT_NE(ReadAll(store_.FilePath()).find("\n\"Left\"=dword:0000000a\n"), std::string::npos);

    auto reopened = Open();
    for (const Row& row : rows) {
        RegType type = REG_NONE;
        EXPECT_EQ(Get(*reopened, row.name, &type), row.bytes) << row.name;
        EXPECT_EQ(type, row.type) << row.name;
    }
}

TEST_F(RegistryStoreTest, QueryReportsTheSizeNeeded) {
    auto key = Open();
    Set(key.get(), "Text", REG_SZ, std::string("abcdef\0", 7));
    std::uint8_t buffer[6] = {};
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(key->QueryValue("Text", nullptr, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    size = 0;
    EXPECT_EQ(key->QueryValue("TEXT", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(key->QueryValue("Missing", nullptr, buffer, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreTest, OnlyAChangedKeyIsWrittenAndTheMissingDirectoryIsMade) {
    RegistryStore nested(dir_.Path() + "/a/b");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(nested.CreateKey(RegRoot::CurrentUser, kSubKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(nested.FilePath()));

    ASSERT_EQ(nested.CreateKey(RegRoot::CurrentUser, kSubKey, &key), ERROR_SUCCESS);
    Set(key.get(), "Top", REG_DWORD, std::string(4, '\0'));
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    EXPECT_EQ(nested.FilePath(), dir_.Path() + "/a/b/Tetrakon/registry.reg");
    EXPECT_TRUE(std::filesystem::exists(nested.FilePath()));
}

TEST_F(RegistryStoreTest, NoKeyOpensWhereTheDirectoryCannotBeMade) {
    WriteAll(dir_.Path() + "/file", "x");
    RegistryStore blocked(dir_.Path() + "/file");
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(blocked.CreateKey(RegRoot::CurrentUser, kSubKey, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
}

// Only the lines of the values set change; comments, blank lines, line ends and the
// spelling of other values stay as they were.
TEST_F(RegistryStoreTest, KeepsOtherKeysAndValuesOfTheFile) {
    const std::string someone =
        "REGEDIT4\n\n; mine\n[HKEY_CURRENT_USER\\Software\\Someone]\r\n"
        "\"A\"=\"b\"\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n"
        "\"Extra\"=hex(7):61,00,\\\n  00\n";
    const std::string after = "\n[HKEY_CURRENT_USER\\Software\\Z]\n\"B\"=dword:3";
    WriteAll(store_.FilePath(), someone + "\"Left\"=dword:1\n\"LEFT\"=dword:5\n" + after);
    auto key = Open();
    Set(key.get(), "Left", REG_DWORD, std::string("\x02\0\0\0", 4));
    Set(key.get(), "New", REG_DWORD, std::string("\x01\0\0\0", 4));
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    EXPECT_EQ(ReadAll(store_.FilePath()),
              someone + "\"Left\"=dword:00000002\n\"New\"=dword:00000001\n" + after);
}

// Whatever stands where the file should be: no values and no wait at opening, and at
// closing a clean file replaces it while the odd one is kept as registry.reg.bad (a
// dangling link is no file at all: nothing to keep).
TEST_F(RegistryStoreTest, HostileFilesGiveNoValuesAndAreKeptBesideTheCleanOne) {
    const std::string header =
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"Left\"=dword:1\n";
    const auto bytes = [](std::string text) {
        return [text](const std::string& path) { WriteAll(path, text); };
    };
    const auto fifo = [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); };
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        std::filesystem::file_type keptAs;
    };
    using Type = std::filesystem::file_type;
    const Case cases[] = {
        {"cut off", bytes(header + "\"PathImage\"=\"C:\\pa"), Type::regular},
        {"garbage", bytes(header + "\x01\x02\x03"), Type::regular},
        {"UTF-16", bytes(std::string("\xff\xfeR\0E\0G\0", 8)), Type::regular},
        {"over the limit", bytes(header + "; " + std::string(kMaxRegFileBytes, 'x')),
         Type::regular},
        {"named pipe", fifo, Type::fifo},
        {"link to a named pipe",
         [&](const std::string& path) {
             fifo(path + ".pipe");
             std::filesystem::create_symlink(path + ".pipe", path);
         },
         Type::symlink},
        {"directory",
         [](const std::string& path) { std::filesystem::create_directories(path + "/inside"); },
         Type::directory},
        {"link loop", [](const std::string& path) { std::filesystem::create_symlink(path, path); },
         Type::symlink},
        {"dangling link",
         [](const std::string& path) { std::filesystem::create_symlink(path + ".gone", path); },
         Type::not_found},
    };
    // A read that waits on a pipe ends the test program instead of hanging the run.
    struct Deadline {
        Deadline() { ::alarm(60); }
        ~Deadline() { ::alarm(0); }
    } deadline;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_.Path() + "/Tetrakon");
        std::filesystem::create_directories(dir_.Path() + "/Tetrakon");
        c.make(store_.FilePath());
        const std::string before =
            c.keptAs == Type::regular ? ReadAll(store_.FilePath()) : std::string();
        auto key = Open();
        EXPECT_EQ(Get(*key, "Left"), "<missing>");
        Set(key.get(), "Top", REG_DWORD, std::string("\x07\0\0\0", 4));
        ASSERT_EQ(key->Close(), ERROR_SUCCESS);

        EXPECT_EQ(ReadAll(store_.FilePath()),
                  "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"Top\"=dword:00000007\n");
        const std::string bad = store_.FilePath() + ".bad";
        EXPECT_EQ(std::filesystem::symlink_status(bad).type(), c.keptAs);
        if (c.keptAs == Type::regular) {
            EXPECT_TRUE(ReadAll(bad) == before);
        }
    }
}

// A dotfile manager's link stays a link: the save replaces its target, beside it.
TEST_F(RegistryStoreTest, ALinkToARegularFileIsReadAndWrittenThrough) {
    const std::string target = dir_.Path() + "/dotfiles/tetrakon.reg";
    WriteAll(target, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"Left\"=dword:3\n");
    std::filesystem::create_directories(dir_.Path() + "/Tetrakon");
    std::filesystem::create_symlink("../dotfiles/tetrakon.reg", store_.FilePath());
    auto key = Open();
    EXPECT_EQ(Get(*key, "Left"), std::string("\x03\0\0\0", 4));
    Set(key.get(), "Top", REG_DWORD, std::string(4, '\0'));
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_symlink(store_.FilePath()));
    EXPECT_EQ(ReadAll(target),
              "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n"
              "\"Left\"=dword:3\n\"Top\"=dword:00000000\n");
}

// A save keeps the file's mode (a link's target's too) and owner (only root can give files away).
TEST_F(RegistryStoreTest, ASaveKeepsTheModeAndOwnerOfTheFile) {
    const std::tuple<mode_t, uid_t, bool> rows[] = {
        {0644, ::geteuid(), false}, {0640, ::geteuid(), true}, {0666, 4242, false}};
    for (const auto& [mode, owner, throughLink] : rows) {
        std::filesystem::remove_all(dir_.Path() + "/Tetrakon");
        const std::string target = throughLink ? dir_.Path() + "/t.reg" : store_.FilePath();
        WriteAll(store_.FilePath(), "REGEDIT4\n");
        if (throughLink) {
            std::filesystem::rename(store_.FilePath(), target);
            std::filesystem::create_symlink(target, store_.FilePath());
        }
        if (::chmod(target.c_str(), mode) != 0 || ::chown(target.c_str(), owner, owner) != 0) {
            continue;
        }
        auto key = Open();
        Set(key.get(), "Top", REG_DWORD, std::string(4, '\0'));
        ASSERT_EQ(key->Close(), ERROR_SUCCESS);
        struct stat info = {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(info.st_uid, owner);
        EXPECT_NE(ReadAll(target).find("\"Top\"="), std::string::npos);
    }
}

// A file with many keys just under the limit is written back
// within the limit; a change that would take it over is refused and the old file stays.
TEST_F(RegistryStoreTest, WhatIsWrittenIsAlwaysReadBack) {
    std::string text = "REGEDIT4\n";
    for (int k = 0; text.size() + 200 < kMaxRegFileBytes; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\K" + std::to_string(k) + "]\n\"V\"=dword:00000001\n";
    }
    WriteAll(store_.FilePath(), text);
    auto key = Open();
    Set(key.get(), "Left", REG_DWORD, std::string(4, '\0'));
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    const std::string written = ReadAll(store_.FilePath());
    ASSERT_LE(written.size(), kMaxRegFileBytes);
    EXPECT_EQ(Get(*Open(), "Left"), std::string(4, '\0'));

    key = Open();
    Set(key.get(), "Big", REG_BINARY, std::string(kMaxRegValueBytes, 'b'));
    EXPECT_EQ(key->Close(), ERROR_REGISTRY_IO_FAILED);
    EXPECT_TRUE(ReadAll(store_.FilePath()) == written);
    EXPECT_FALSE(std::filesystem::exists(store_.FilePath() + ".bad"));
}

// A writer killed before its rename leaves its temporary; the next save removes it and
// nothing else.
TEST_F(RegistryStoreTest, ASaveRemovesTemporariesOfKilledWriters) {
    const std::string left[] = {"registry.reg.tmpAb3xYz", "registry.reg.bad.tmp0Q9wEr"};
    const std::string kept[] = {"registry.reg.backup", "registry.reg.tmp", "other.tmpAb3xYz"};
    for (const std::string& name : left) {
        WriteAll(dir_.Path() + "/Tetrakon/" + name, "REGEDIT4\n");
    }
    for (const std::string& name : kept) {
        WriteAll(dir_.Path() + "/Tetrakon/" + name, "mine");
    }
    auto key = Open();
    Set(key.get(), "Top", REG_DWORD, std::string(4, '\0'));
    ASSERT_EQ(key->Close(), ERROR_SUCCESS);
    for (const std::string& name : left) {
        EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "/Tetrakon/" + name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_EQ(ReadAll(dir_.Path() + "/Tetrakon/" + name), "mine") << name;
    }
}

TEST_F(RegistryStoreTest, KeysClosedTogetherKeepEachOthersValues) {
    RegistryStore other(dir_.Path());
    auto first = Open();
    std::unique_ptr<RegistryKey> second;
    ASSERT_EQ(other.CreateKey(RegRoot::CurrentUser, kSubKey, &second), ERROR_SUCCESS);
    Set(first.get(), "First", REG_DWORD, std::string("\x01\0\0\0", 4));
    Set(second.get(), "Second", REG_DWORD, std::string("\x02\0\0\0", 4));
    ASSERT_EQ(first->Close(), ERROR_SUCCESS);
    ASSERT_EQ(second->Close(), ERROR_SUCCESS);
    auto key = Open();
    EXPECT_EQ(Get(*key, "First"), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(Get(*key, "Second"), std::string("\x02\0\0\0", 4));
}

// Processes that write new values at the same moment, again and again: the lock and the
// re-read before each write must keep every value, and the file must stay whole.
TEST_F(RegistryStoreTest, ProcessesWritingAtOnceLoseNothing) {
    constexpr int kProcesses = 4;
    constexpr int kRounds = 25;
    const auto name = [](int process, int round) {
        return "P" + std::to_string(process) + "R" + std::to_string(round);
    };
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int round = 0; round < kRounds && ok; ++round) {
                std::unique_ptr<RegistryKey> key;
                const std::uint8_t value = 1;
                ok =
                    store_.CreateKey(RegRoot::CurrentUser, kSubKey, &key) == ERROR_SUCCESS &&
                    key->SetValue(name(p, round).c_str(), REG_BINARY, &value, 1) == ERROR_SUCCESS &&
                    key->Close() == ERROR_SUCCESS;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryContents contents;
    ASSERT_TRUE(ParseRegFile(ReadAll(store_.FilePath()), &contents));
    auto key = Open();
    for (int p = 0; p < kProcesses; ++p) {
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_EQ(Get(*key, name(p, round).c_str()), "\x01") << name(p, round);
        }
    }
}

}  // namespace
}  // namespace tetrakon
