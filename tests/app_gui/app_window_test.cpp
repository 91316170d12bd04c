// The program as a player meets it: its real main window, menu and 3-D view on an X
// display, driven with Qt's test events, and its settings in a private directory.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <memory>

#include "app/logic/command_ids.h"
#include "app/shell/app_app.h"
#include "app/shell/app_form.h"
#include "app/shell/app_frame_wnd.h"
#include "app/shell/fullscreen_window.h"
#include "app/shell/main_menu.h"
#include "app/startup/startup_splash_wnd.h"
#include "framework/error_report.h"
#include "framework/render_app.h"
#include "scene/pick_turn.h"

namespace tetrakon {
namespace {

// Runs the program in-process with its settings in `configDir`.
struct RunningApp {
    explicit RunningApp(const QString& configDir) {
        qputenv("XDG_CONFIG_HOME", configDir.toUtf8());
        RenderApp::ResetPauseCount();
        ResetFatalErrorLatch();
        SetStartupPictureAllowed(false);
        app = std::make_unique<CAppApp>();
        started = app->InitInstance();
        if (started) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(frame()));
        }
    }
    ~RunningApp() {
        app.reset();
        RenderApp::ResetPauseCount();
    }

    CAppFrameWnd* frame() const { return app->mainFrame(); }
    CAppForm* form() const { return frame()->form(); }

    // Waits until the window manager shows the outer frame where a first start puts it,
    // 532 x 400 and centred (the program places it again once it knows the frame's
    // decorations), and the view fills its form.
    bool WaitForFirstStartPlace() const {
        return QTest::qWaitFor([this] {
            const QRect outer = frame()->frameGeometry();
            const QPoint off = outer.center() - frame()->screen()->geometry().center();
            return outer.size() == QSize(532, 400) && std::abs(off.x()) <= 1 &&
                   std::abs(off.y()) <= 1 && form()->surface()->size() == form()->size();
        });
    }

    // Closes the main window as the window manager's close box does; the settings are
    // written before it returns.
    void Close() { frame()->close(); }

    std::unique_ptr<CAppApp> app;
    bool started = false;
};

class AppWindowTest : public ::testing::Test {
  protected:
    QString RegistryText() const {
        QFile file(config.filePath(QStringLiteral("Tetrakon/registry.reg")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir config;
};

TEST_F(AppWindowTest, MenuHasItsFourDropDownsInOrder) {
    RunningApp running(config.path());
    ASSERT_TRUE(running.started);
    QStringList shown;
    for (QAction* dropDown : running.frame()->menuBar()->actions()) {
        shown << dropDown->text() + ":";
        for (QAction* item : dropDown->menu()->actions()) {
            shown << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
    }
    EXPECT_EQ(shown.join('|'),
              QStringLiteral("Файл:|Перемешать|-|Выход|Редактирование:|Повернуть обратно|"
                             "Возврат в начало|Центрирование пирамиды|Настройки:|Цвет фона|"
                             "Картинка фона|Преднастройки|Справка:|О программе|Помощь"));
    QAccessibleInterface* view =
        QAccessible::queryAccessibleInterface(running.form()->focusProxy());
    EXPECT_EQ(view->text(QAccessible::Name), "Трёхмерный вид пирамиды");
}

// Whether the item is enabled once its drop-down opens.
bool EnabledWhenOpened(const RunningApp& running, int commandId) {
    QAction* action = running.frame()->menu()->action(commandId);
    for (QAction* dropDown : running.frame()->menuBar()->actions()) {
        if (dropDown->menu()->actions().contains(action)) {
            emit dropDown->menu()->aboutToShow();
        }
    }
    return action->isEnabled();
}

TEST_F(AppWindowTest, ItemsAreEnabledByHistoryShuffleAndPicture) {
    RunningApp running(config.path());
    ASSERT_TRUE(running.started);
    CAppForm& form = *running.form();
    EXPECT_FALSE(EnabledWhenOpened(running, ID_EDIT_UNDO_TURN));
    EXPECT_FALSE(EnabledWhenOpened(running, ID_SETTINGS_BACKGROUND_PICTURE));
    EXPECT_TRUE(EnabledWhenOpened(running, ID_SETTINGS_PRESETS));

    form.session.StartTurn(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.CanUndo(); })) << "the turn never ended";
    EXPECT_TRUE(EnabledWhenOpened(running, ID_EDIT_UNDO_TURN));

    form.renderer.Picture = 1;
    EXPECT_TRUE(EnabledWhenOpened(running, ID_SETTINGS_BACKGROUND_PICTURE));

    running.frame()->menu()->action(ID_FILE_SHUFFLE)->trigger();
    EXPECT_FALSE(EnabledWhenOpened(running, ID_SETTINGS_PRESETS));
    EXPECT_FALSE(EnabledWhenOpened(running, ID_EDIT_UNDO_TURN));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.ShuffleRunning(); })) << "the shuffle runs on";
    EXPECT_TRUE(EnabledWhenOpened(running, ID_SETTINGS_PRESETS));
    EXPECT_TRUE(EnabledWhenOpened(running, ID_EDIT_UNDO_TURN));
}

TEST_F(AppWindowTest, AFileThatIsNoPictureTurnsThePictureOffAndItsPathIsKept) {
    const QString notAPicture = config.filePath(QStringLiteral("notes.txt"));
    QFile text(notAPicture);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture\n");
    text.close();
    {
        RunningApp running(config.path());
        ASSERT_TRUE(running.started);
        CAppForm& form = *running.form();
        form.renderer.Picture = 1;
        form.renderer.PathImage = notAPicture.toStdString();
        form.LoadPicture(form.renderer.PathImage);
        EXPECT_EQ(form.renderer.Picture, 0u);
        EXPECT_FALSE(EnabledWhenOpened(running, ID_SETTINGS_BACKGROUND_PICTURE));
        running.Close();
    }
    EXPECT_TRUE(RegistryText().contains(QStringLiteral("\"PathImage\"=\"%1\"").arg(notAPicture)));
    EXPECT_TRUE(RegistryText().contains(QStringLiteral("\"Picture\"=dword:00000000")));
}

TEST_F(AppWindowTest, AltEnterFillsTheScreenAndEscapeComesBack) {
    RunningApp running(config.path());
    ASSERT_TRUE(running.started);
    CAppForm& form = *running.form();
    ASSERT_TRUE(running.WaitForFirstStartPlace());
    const QSize viewSize = form.surface()->size();

    QTest::keyClick(running.frame(), Qt::Key_Escape);
    EXPECT_TRUE(form.IsWindowed()) << "Escape does nothing in a window";

    QTest::keyClick(running.frame(), Qt::Key_Return, Qt::AltModifier);
    ASSERT_FALSE(form.IsWindowed());
    FullscreenWindow& fullscreen = *form.fullscreenWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return fullscreen.geometry() == fullscreen.screen()->geometry();
    })) << "the full-screen window does not cover the screen";

    QTest::keyRelease(&fullscreen, Qt::Key_Escape);
    EXPECT_TRUE(form.IsWindowed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fullscreen.isVisible(); }))
        << "the full-screen window stays shown";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.surface()->size() == viewSize; }))
        << "the view did not get its size back";

    QTest::keyClick(running.frame(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(form.IsWindowed());
    QTest::keyClick(&fullscreen, Qt::Key_Return, Qt::AltModifier);
    EXPECT_TRUE(form.IsWindowed()) << "Alt+Enter also comes back";
}

TEST_F(AppWindowTest, AClickOnATargetTurnsItsLayer) {
    RunningApp running(config.path());
    ASSERT_TRUE(running.started);
    CAppForm& form = *running.form();
    ASSERT_TRUE(running.WaitForFirstStartPlace());
    QWindow& surface = *form.surface();

    // The centre of a target of the tip layer of axis 1, on the face turned to the eye.
    const Mesh& targets = *form.turnTargetMesh.sourceMesh();
    const Triangle& face = targets.faces[targets.subsets[0].faceStart];
    const Vec3 centre = (targets.positions[face.index[0]] + targets.positions[face.index[1]] +
                         targets.positions[face.index[2]]) *
                        (1.0f / 3.0f);
    const Vec3 ndc = TransformCoord(
        centre, form.renderer.world() * form.renderer.view() * form.renderer.projection());
    const QPoint logical(qRound((ndc.x + 1) * 0.5 * surface.width()),
                         qRound((1 - ndc.y) * 0.5 * surface.height()));
    QCursor::setPos(surface.mapToGlobal(logical));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == surface.mapToGlobal(logical); }));
    QTest::mousePress(&surface, Qt::LeftButton, {}, logical);
    QTest::qWait(100);  // held as a player holds the button
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, logical);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.CanUndo(); })) << "no turn was made";
    EXPECT_EQ(form.session.history.turns(), std::vector<int>{TargetGroupTurnCode(0)});
}

TEST_F(AppWindowTest, SettingsSurviveARestartAndTheWindowReopensRestored) {
    QRect normal;
    {
        RunningApp first(config.path());
        ASSERT_TRUE(first.started);
        CAppFrameWnd& frame = *first.frame();
        EXPECT_TRUE(first.WaitForFirstStartPlace());
        const QRect screen = frame.screen()->geometry();
        const QRect outer = frame.frameGeometry();
        EXPECT_EQ(outer.size(), QSize(532, 400));
        EXPECT_NEAR(outer.center().x(), screen.center().x(), 1);
        EXPECT_NEAR(outer.center().y(), screen.center().y(), 1);

        frame.resize(100, 100);
        static_cast<void>(  // checked below
            QTest::qWaitFor([&] { return frame.frameGeometry().size() == QSize(200, 200); }));
        EXPECT_EQ(frame.frameGeometry().size(), QSize(200, 200)) << "the frame included";

        const QRect client(QPoint(40, 60), QSize(600, 450));
        frame.setGeometry(client);
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.windowHandle()->geometry() == client; }));
        normal = frame.frameGeometry();
        frame.showMaximized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame.frameGeometry().width() > normal.width(); }))
            << "the window manager did not maximise the window";
        first.form()->NumberRandomRotate = 12;
        first.form()->FastRandomRotate = 1;  // with the picture off: each read as itself
        first.Close();
    }
    const QString stored = RegistryText();
    for (const char* name : {"ShowCmd", "Left", "Top", "Right", "Bottom", "Picture",
                             "FastRandomRotate", "NumberRandomRotate", "PathImage"}) {
        EXPECT_TRUE(stored.contains(QStringLiteral("\"%1\"=").arg(name))) << name;
    }

    RunningApp second(config.path());
    ASSERT_TRUE(second.started);
    static_cast<void>(  // checked below
        QTest::qWaitFor([&] { return second.frame()->frameGeometry() == normal; }));
    EXPECT_FALSE(second.frame()->isMaximized());
    EXPECT_EQ(second.frame()->frameGeometry(), normal);
    EXPECT_EQ(second.form()->NumberRandomRotate, 12);
    EXPECT_EQ(second.form()->FastRandomRotate, 1);
}

TEST_F(AppWindowTest, ACorruptSettingsFileGivesTheDefaultsAndIsKeptAside) {
    QDir(config.path()).mkpath(QStringLiteral("Tetrakon"));
    QFile corrupt(config.filePath(QStringLiteral("Tetrakon/registry.reg")));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"Left\"=dword:zz\n");
    corrupt.close();

    RunningApp running(config.path());
    ASSERT_TRUE(running.started);
    EXPECT_EQ(running.form()->NumberRandomRotate, 5);
    EXPECT_TRUE(running.WaitForFirstStartPlace());
    EXPECT_EQ(running.frame()->frameGeometry().size(), QSize(532, 400));
    running.Close();
    EXPECT_TRUE(RegistryText().contains(QStringLiteral("\"NumberRandomRotate\"=dword:00000005")));
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("Tetrakon/registry.reg.bad"))));
}

}  // namespace
}  // namespace tetrakon
