#include "platform/input/qt/qt_input_devices.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include "platform/input/qt/qt_input_system.h"
#include "platform/input/scan_codes.h"

namespace tetrakon::input {
namespace {

class QtInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 200);
        window.show();
        window.requestActivate();
        QCoreApplication::processEvents();
        ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);

        system.Watch(&window);
        ASSERT_EQ(system.CreateKeyboard(&keyboard), S_OK);
        ASSERT_EQ(system.CreateMouse(&mouse), S_OK);
        const WindowHandle handle = WindowHandleOf(&window);
        ASSERT_EQ(keyboard->SetDataFormat(DataFormat::Keyboard), S_OK);
        ASSERT_EQ(keyboard->SetCooperativeLevel(handle, 0x16), S_OK);
        ASSERT_EQ(keyboard->Acquire(), S_OK);
        ASSERT_EQ(mouse->SetDataFormat(DataFormat::Mouse), S_OK);
        ASSERT_EQ(mouse->SetCooperativeLevel(handle, kCoopNonExclusive | kCoopBackground), S_OK);
        ASSERT_EQ(mouse->Acquire(), S_OK);
    }
    void TearDown() override { AnnounceState(Qt::ApplicationActive); }

    void Key(QEvent::Type type, int key, quint32 nativeScanCode = 0, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, nativeScanCode, 0, 0, QString(), autoRepeat);
        QCoreApplication::sendEvent(&window, &event);
    }
    void Mouse(QEvent::Type type, QPointF global, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, global - window.position(), global, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
    }
    void Move(QPointF global) { Mouse(QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton); }
    void Wheel(int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&window, &event);
    }
    // What Qt emits when another program comes to the front or this one comes back.
    static void AnnounceState(Qt::ApplicationState state) {
        emit qGuiApp->applicationStateChanged(state);
    }

    KeyboardState ReadKeys() {
        KeyboardState keys{};
        EXPECT_EQ(keyboard->GetState(&keys), S_OK);
        return keys;
    }
    MouseState ReadMouse() {
        MouseState state;
        EXPECT_EQ(mouse->GetState(&state), S_OK);
        return state;
    }

    QWindow window;
    QtInputSystem system;
    std::unique_ptr<Keyboard> keyboard;
    std::unique_ptr<input::Mouse> mouse;
};

TEST_F(QtInputTest, KeyIsDownFromPressToRelease) {
    Key(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_EQ(ReadKeys()[scan::kUp], kDown);

    // A held key repeats as release and press pairs marked as repeats.
    Key(QEvent::KeyRelease, Qt::Key_Up, 0, true);
    EXPECT_EQ(ReadKeys()[scan::kUp], kDown);

    Key(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(ReadKeys()[scan::kUp], 0);

    // A tap between two reads is down for the next read only.
    Key(QEvent::KeyPress, Qt::Key_F5);
    Key(QEvent::KeyRelease, Qt::Key_F5);
    EXPECT_EQ(ReadKeys()[scan::kF5], kDown);
    EXPECT_EQ(ReadKeys()[scan::kF5], 0);
}

TEST_F(QtInputTest, LosingFocusReleasesTheKeys) {
    Key(QEvent::KeyPress, Qt::Key_F5);
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(&window, &focusOut);

    EXPECT_EQ(ReadKeys()[scan::kF5], kDown);  // it went down since the previous read
    EXPECT_EQ(ReadKeys()[scan::kF5], 0);
}

TEST_F(QtInputTest, AReleaseThatGoesToAnotherWindowReleasesTheKeys) {
    QWindow menu;
    Key(QEvent::KeyPress, Qt::Key_Down);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&menu, &release);

    EXPECT_EQ(ReadKeys()[scan::kDown], kDown);
    EXPECT_EQ(ReadKeys()[scan::kDown], 0);
}

TEST_F(QtInputTest, AWindowWatchedForKeysFeedsTheKeyboardOnly) {
    QWindow mainWindow;
    system.WatchKeys(&mainWindow);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(&mainWindow, &press);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&mainWindow, &click);

    EXPECT_EQ(ReadKeys()[scan::kUp], kDown);
    EXPECT_EQ(ReadMouse().buttons[0], 0);

    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(&mainWindow, &release);
    EXPECT_EQ(ReadKeys()[scan::kUp], 0);
}

struct KeyCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 nativeScanCode;
    std::uint8_t scanCode;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << "key " << std::hex << c.key << " native " << std::dec << c.nativeScanCode;
}

class KeyScanCodeTest : public QtInputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyScanCodeTest, KeyLandsOnItsSetOneScanCode) {
    const KeyCase& c = GetParam();
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.nativeScanCode, 0, 0);
    QCoreApplication::sendEvent(&window, &press);

    const KeyboardState keys = ReadKeys();
    EXPECT_EQ(keys[c.scanCode], kDown);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), kDown), 1);

    QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, c.nativeScanCode, 0, 0);
    QCoreApplication::sendEvent(&window, &release);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyScanCodeTest,
    ::testing::Values(KeyCase{Qt::Key_Down, Qt::NoModifier, 0, 0xD0},
                      KeyCase{Qt::Key_F5, Qt::NoModifier, 0, 0x3F},
                      KeyCase{Qt::Key_Return, Qt::NoModifier, 0, 0x1C},
                      KeyCase{Qt::Key_M, Qt::NoModifier, 0, 0x32},
                      KeyCase{Qt::Key_8, Qt::KeypadModifier, 0, 0x48},
                      // X keycodes: the physical key, whatever the layout makes of it.
                      KeyCase{0x0424 /* Cyrillic EF */, Qt::NoModifier, 38, 0x1E},
                      KeyCase{Qt::Key_Up, Qt::NoModifier, 111, 0xC8},
                      KeyCase{Qt::Key_Control, Qt::NoModifier, 105, 0x9D}));

TEST_F(QtInputTest, MotionAndWheelAddUpUntilTheNextRead) {
    Move(QPointF(10, 10));
    Move(QPointF(15, 12));
    Move(QPointF(25, 30));
    Wheel(120);
    Wheel(120);

    const MouseState first = ReadMouse();
    EXPECT_EQ(first.x, 15);
    EXPECT_EQ(first.y, 20);
    EXPECT_EQ(first.wheel, 240);

    Wheel(-120);
    const MouseState second = ReadMouse();
    EXPECT_EQ(second.x, 0);
    EXPECT_EQ(second.y, 0);
    EXPECT_EQ(second.wheel, -120);
}

TEST_F(QtInputTest, ButtonsAreDownWhenHeldAtTheReadOrPressedSinceThePrevious) {
    Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::MiddleButton,
          Qt::LeftButton | Qt::MiddleButton);
    MouseState state = ReadMouse();
    EXPECT_EQ(state.buttons[0], kDown);
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_EQ(state.buttons[2], kDown);

    // A click that falls between two reads is seen by the next read, and only by it.
    Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonPress, QPointF(5, 5), Qt::RightButton,
          Qt::MiddleButton | Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::RightButton, Qt::MiddleButton);
    state = ReadMouse();
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_EQ(state.buttons[1], kDown);
    EXPECT_EQ(state.buttons[2], kDown);
    state = ReadMouse();
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_EQ(state.buttons[2], kDown);
}

TEST_F(QtInputTest, KeyboardFailsWhileAnotherProgramIsInFrontAndTheMouseGoesOn) {
    Key(QEvent::KeyPress, Qt::Key_Up);
    AnnounceState(Qt::ApplicationInactive);

    KeyboardState keys{};
    EXPECT_EQ(keyboard->GetState(&keys), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->GetState(&keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), S_OK);
    EXPECT_EQ(keyboard->GetState(&keys), DIERR_INPUTLOST);
    Wheel(120);
    EXPECT_EQ(ReadMouse().wheel, 120);

    AnnounceState(Qt::ApplicationActive);
    EXPECT_EQ(keyboard->Acquire(), S_OK);
    EXPECT_EQ(ReadKeys()[scan::kUp], 0);  // its release may have gone to the other program
}

TEST_F(QtInputTest, DeviceNeedsAFormatBeforeAcquiringAndReportsNoMotionFromBefore) {
    std::unique_ptr<input::Mouse> second;
    ASSERT_EQ(system.CreateMouse(&second), S_OK);
    EXPECT_EQ(second->SetCooperativeLevel(0, kCoopNonExclusive | kCoopBackground), E_HANDLE);
    EXPECT_EQ(second->SetDataFormat(DataFormat::Keyboard), DIERR_INVALIDPARAM);
    EXPECT_EQ(second->Acquire(), DIERR_INVALIDPARAM);

    Wheel(120);
    ASSERT_EQ(second->SetDataFormat(DataFormat::Mouse), S_OK);
    ASSERT_EQ(second->Acquire(), S_OK);
    Wheel(-360);
    MouseState state;
    ASSERT_EQ(second->GetState(&state), S_OK);
    EXPECT_EQ(state.wheel, -360);
    EXPECT_EQ(ReadMouse().wheel, -240);  // the first mouse counts its own reads
}

}  // namespace
}  // namespace tetrakon::input
