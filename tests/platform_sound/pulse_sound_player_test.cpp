#include "platform/sound/pulse/pulse_sound_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "resources/module_resources.h"

namespace tetrakon::sound {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::span<const std::uint8_t> EmbeddedResources(std::string_view name, std::string_view type) {
    return FindResource(name, type);
}

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        pclose(pipe);
    }
    return out;
}

int CountLines(const std::string& text) {
    int lines = 0;
    for (const char c : text) {
        lines += c == '\n';
    }
    return lines;
}

bool Eventually(const std::function<bool()>& done, milliseconds within) {
    const Clock::time_point deadline = Clock::now() + within;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

int ThreadCount() {
    int threads = 0;
    for ([[maybe_unused]] const auto& task :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++threads;
    }
    return threads;
}

// A private server with a null sink, reached through PULSE_SERVER; stopped after each test.
class PulseSoundPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tetrakon-pulse-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        setenv("HOME", folder_.c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + folder_ + "/pulse/native").c_str(), 1);
        // Now and then, in a loaded parallel test run, the server does not start on the first
        // try (cause not found yet): it is tried three times, and its own words are shown.
        const std::string start =
            "pulseaudio -n --daemonize=yes --exit-idle-time=-1 "
            "-L module-native-protocol-unix -L 'module-null-sink "
            "sink_name=nul' -L module-always-sink 2>>" +
            folder_ + "/server.log";
        bool started = false;
        for (int attempt = 0; attempt < 3 && !started; ++attempt) {
            if (attempt > 0) {
                std::this_thread::sleep_for(milliseconds(300));
            }
            started = std::system(start.c_str()) == 0;
        }
        ASSERT_TRUE(started) << Output("cat " + folder_ + "/server.log");
        ASSERT_TRUE(Eventually([] { return std::system("pactl info >/dev/null 2>&1") == 0; },
                               milliseconds(5000)));
    }

    void TearDown() override {
        StopServer();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Asks the server to end and waits until it has.
    static void StopServer() {
        EXPECT_GE(std::system("pulseaudio --kill 2>/dev/null"), 0);
        EXPECT_TRUE(Eventually([] { return std::system("pulseaudio --check 2>/dev/null") != 0; },
                               milliseconds(5000)));
    }

    static int PlayingStreams() { return CountLines(Output("pactl list short sink-inputs")); }

    std::string folder_;
};

TEST_F(PulseSoundPlayerTest, StartsOverlapAndAPrimaryStartEndsTheEarlierOnes) {
    PulseSoundPlayer player(EmbeddedResources);
    ASSERT_EQ(player.InitSound(), S_OK);
    std::unique_ptr<SoundClip> clip;
    EXPECT_EQ(player.CreateClipFromResource("BOUNCE", "X", &clip), E_FAIL);
    EXPECT_EQ(clip, nullptr);
    ASSERT_EQ(player.CreateClipFromResource("BOUNCE", "WAVE", &clip), S_OK);
    ASSERT_NE(clip, nullptr);
    EXPECT_NE(Output("pactl list short samples").find("tetrakon-BOUNCE"), std::string::npos);

    // The wave lasts 0.61 s: long enough to see the starts sound together.
    ASSERT_EQ(clip->PlayClip(kPlaySecondary), S_OK);
    ASSERT_EQ(clip->PlayClip(kPlaySecondary), S_OK);
    EXPECT_TRUE(Eventually([] { return PlayingStreams() == 2; }, milliseconds(400)));
    ASSERT_EQ(clip->PlayClip(kPlayPrimary), S_OK);
    EXPECT_TRUE(Eventually([] { return PlayingStreams() == 1; }, milliseconds(400)));
}

TEST_F(PulseSoundPlayerTest, ALostServerMakesStartsFailQuietly) {
    PulseSoundPlayer player(EmbeddedResources);
    ASSERT_EQ(player.InitSound(), S_OK);
    std::unique_ptr<SoundClip> clip;
    ASSERT_EQ(player.CreateClipFromResource("BOUNCE", "WAVE", &clip), S_OK);
    StopServer();
    EXPECT_TRUE(
        Eventually([&] { return Failed(clip->PlayClip(kPlaySecondary)); }, milliseconds(3000)));
}

TEST_F(PulseSoundPlayerTest, WithoutAServerSetUpFailsAtOnceAndLeavesNoThread) {
    setenv("PULSE_SERVER", ("unix:" + folder_ + "/nothing").c_str(), 1);
    const int threads = ThreadCount();
    PulseSoundPlayer player(EmbeddedResources);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(player.InitSound(), E_FAIL);
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
    EXPECT_EQ(ThreadCount(), threads);
    std::unique_ptr<SoundClip> clip;
    EXPECT_TRUE(Failed(player.CreateClipFromResource("BOUNCE", "WAVE", &clip)));
    EXPECT_EQ(clip, nullptr);
}

}  // namespace
}  // namespace tetrakon::sound
