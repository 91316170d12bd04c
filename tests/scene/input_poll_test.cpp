#include "scene/input_poll.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

#include "platform/input/scan_codes.h"
#include "tests/fakes/fake_input.h"

namespace tetrakon {
namespace {

using input::DIERR_INPUTLOST;
using input::kDown;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr input::WindowHandle kFrameWindow = 0x1000;
constexpr input::WindowHandle kFullScreenWindow = 0x2000;
constexpr std::int32_t kTurn = 7;

// Records what the step asks of the program, in order.
class RecordingActions : public InputActions {
  public:
    std::vector<std::string> calls;
    std::deque<std::int32_t> pickResults;  // kTurn once used up
    std::string title;

    void SetTitle(const std::string& text) override {
        title = text;
        calls.push_back("SetTitle " + text);
    }
    std::int32_t PickTurn() override {
        calls.push_back("PickTurn");
        if (pickResults.empty()) {
            return kTurn;
        }
        const std::int32_t code = pickResults.front();
        pickResults.pop_front();
        return code;
    }
    void StartTurn(std::int32_t code) override {
        calls.push_back("StartTurn " + std::to_string(code));
    }
    void UndoTurn() override { calls.push_back("UndoTurn"); }
    void ApplyWheel(std::int32_t wheel) override {
        if (wheel != 0) {
            calls.push_back("ApplyWheel " + std::to_string(wheel));
        }
    }
};

class InputPollTest : public ::testing::Test {
  protected:
    Result SetUpDevices() {
        return SetUpInput(std::make_unique<input::FakeInputSystem>(&input), kFrameWindow, &devices);
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            PollInput(devices, &state, actions);
        }
    }

    input::FakeInput input;
    InputDevices devices;
    InputState state;
    RecordingActions actions;
};

input::MouseState Buttons(std::initializer_list<std::size_t> held, std::int32_t wheel = 0) {
    input::MouseState mouse;
    for (const std::size_t button : held) {
        mouse.buttons[button] = kDown;
    }
    mouse.wheel = wheel;
    return mouse;
}

constexpr std::size_t kLeft = 0;
constexpr std::size_t kMiddle = 2;

TEST_F(InputPollTest, SetUpBindsBothDevicesToTheWindowAndAcquiresThem) {
    ASSERT_EQ(SetUpDevices(), S_OK);

    EXPECT_EQ(input.keyboard.window, kFrameWindow);
    EXPECT_EQ(input.keyboard.flags, 0x16u);  // non-exclusive, foreground, no Windows key
    EXPECT_THAT(input.keyboard.formats, ElementsAre(input::DataFormat::Keyboard));
    EXPECT_TRUE(input.keyboard.acquired);
    EXPECT_EQ(input.mouse.window, kFrameWindow);
    EXPECT_EQ(input.mouse.flags, 0x0Au);  // non-exclusive, background
    EXPECT_THAT(input.mouse.formats, ElementsAre(input::DataFormat::Mouse));
    EXPECT_TRUE(input.mouse.acquired);
}

TEST_F(InputPollTest, SetUpStopsAtTheFirstFailureAndKeepsWhatItMade) {
    input.keyboard.cooperativeResult = input::E_HANDLE;

    EXPECT_EQ(SetUpDevices(), input::E_HANDLE);

    EXPECT_NE(devices.keyboard, nullptr);
    EXPECT_EQ(input.keyboard.acquires, 0);
    EXPECT_FALSE(input.mouse.created);
}

TEST_F(InputPollTest, HeldLeftButtonPicksOnceAndAPressAfterReleasePicksAgain) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    actions.pickResults = {0};  // the first press misses the pyramid
    input.mouse.Hold({kLeft}, 3);
    input.mouse.Hold({}, 1);
    input.mouse.Hold({kLeft}, 3);

    Frames(7);

    EXPECT_THAT(actions.calls, ElementsAre("PickTurn", "PickTurn", "StartTurn 7"));
}

TEST_F(InputPollTest, HeldMiddleButtonUndoesOnce) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.mouse.Hold({kMiddle}, 4);

    Frames(4);

    EXPECT_THAT(actions.calls, ElementsAre("UndoTurn"));
}

TEST_F(InputPollTest, WheelOfTheFrameOfAPickIsAppliedAfterThePick) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.mouse.states.push_back(Buttons({kLeft}, -240));

    Frames(1);

    EXPECT_THAT(actions.calls, ElementsAre("PickTurn", "StartTurn 7", "ApplyWheel -240"));
}

TEST_F(InputPollTest, FailedKeyboardReadReacquiresItAndLeavesTheMouseForTheNextFrame) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.keyboard.readResults = {DIERR_INPUTLOST};
    input.mouse.Hold({kLeft}, 2);

    Frames(1);
    EXPECT_EQ(input.keyboard.acquires, 2);
    EXPECT_EQ(input.mouse.reads, 0);
    EXPECT_THAT(actions.calls, IsEmpty());

    Frames(1);
    EXPECT_THAT(actions.calls, ElementsAre("PickTurn", "StartTurn 7"));
}

TEST_F(InputPollTest, FailedKeyboardReadDropsKeysHeldBefore) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.keyboard.keys[input::scan::kF5] = kDown;
    Frames(1);
    ASSERT_TRUE(state.f5);

    input.keyboard.readResults = {DIERR_INPUTLOST};
    Frames(1);

    EXPECT_FALSE(state.f5);
}

TEST_F(InputPollTest, FailedMouseReadAcquiresAgainWhileInputIsLost) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.mouse.readResults = {DIERR_INPUTLOST};
    input.mouse.acquireResults = {DIERR_INPUTLOST, DIERR_INPUTLOST, input::DIERR_NOTACQUIRED};
    input.mouse.Hold({kLeft, kMiddle}, 2);

    Frames(1);
    EXPECT_EQ(input.mouse.acquires, 1 + 3);
    EXPECT_THAT(actions.calls, IsEmpty());
}

TEST_F(InputPollTest, MouseThatStaysLostDoesNotHoldTheFrame) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.mouse.readResults = {DIERR_INPUTLOST};
    input.mouse.acquireResults.assign(1000, DIERR_INPUTLOST);

    Frames(1);

    EXPECT_GT(input.mouse.acquires, 2);
    EXPECT_FALSE(input.mouse.acquireResults.empty());
}

struct TitleCase {
    std::vector<std::uint8_t> held;
    int frames;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* out) {
    *out << c.title;
}

class TitleCounterTest : public InputPollTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TitleCounterTest, ShowsTheCounterInTheTitle) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    for (const std::uint8_t key : GetParam().held) {
        input.keyboard.keys[key] = kDown;
    }

    Frames(GetParam().frames);

    EXPECT_EQ(actions.title, GetParam().title);
    EXPECT_EQ(actions.calls.size(), static_cast<std::size_t>(GetParam().frames));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TitleCounterTest,
    ::testing::Values(TitleCase{{input::scan::kUp}, 10, "0.010000"},
                      TitleCase{{input::scan::kUp, input::scan::kDown}, 2, "0.002000"},
                      TitleCase{{input::scan::kDown}, 1, "-0.001000"}));

TEST_F(InputPollTest, MissingKeyboardLeavesTheMouseWorking) {
    input::FakeInputSystem system(&input);
    ASSERT_EQ(system.CreateMouse(&devices.mouse), S_OK);
    devices.mouse->SetDataFormat(input::DataFormat::Mouse);
    devices.mouse->Acquire();
    input.mouse.Hold({kLeft});

    Frames(1);

    EXPECT_THAT(actions.calls, ElementsAre("PickTurn", "StartTurn 7"));
}

TEST_F(InputPollTest, MissingMouseLeavesTheKeyboardWorking) {
    input.mouse.createResult = E_FAIL;
    EXPECT_EQ(SetUpDevices(), E_FAIL);
    input.keyboard.keys[input::scan::kUp] = kDown;

    Frames(1);

    EXPECT_THAT(actions.calls, ElementsAre("SetTitle 0.001000"));
}

TEST_F(InputPollTest, ScreenModeChangeRebindsOnlyTheKeyboard) {
    ASSERT_EQ(SetUpDevices(), S_OK);

    EXPECT_EQ(BindKeyboardWindow(devices, kFullScreenWindow), S_OK);

    EXPECT_EQ(input.keyboard.window, kFullScreenWindow);
    EXPECT_EQ(input.keyboard.flags, kKeyboardCooperation);
    EXPECT_EQ(input.mouse.window, kFrameWindow);
}

TEST_F(InputPollTest, ReleaseLetsGoOfKeyboardThenMouseThenInterface) {
    ASSERT_EQ(SetUpDevices(), S_OK);
    input.calls.clear();

    ReleaseInput(&devices);

    EXPECT_THAT(input.calls, ElementsAre("keyboard.Unacquire", "keyboard.Release",
                                         "mouse.Unacquire", "mouse.Release", "system.Release"));
}

}  // namespace
}  // namespace tetrakon
