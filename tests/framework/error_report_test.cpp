#include "framework/error_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "framework/render_app.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/recording_message_box.h"

namespace tetrakon {
namespace {

constexpr const char* kGeneric =
    "Generic application error. Enable\ndebug output for detailed information.";
constexpr const char* kFatalSuffix = "\n\nThis sample will now exit.";
constexpr const char* kReferenceSuffix =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the "
    "entire\nDirect3D feature set, but runs very slowly.";

struct MessageRow {
    std::uint32_t code;
    const char* text;
};

const MessageRow kMessages[] = {
    {0x82000001u,
     "Could not initialize Direct3D. You may\nwant to check that the latest version of\nDirectX is "
     "correctly installed on your\nsystem.  Also make sure that this program\nwas compiled with "
     "header files that match\nthe installed DirectX DLLs."},
    {0x82000003u, "Could not find any compatible Direct3D\ndevices."},
    {0x82000004u,
     "This sample cannot run in a desktop\nwindow with the current display settings.\nPlease "
     "change your desktop settings to a\n16- or 32-bit display mode and re-run this\nsample."},
    {0x82000005u, "No hardware-accelerated Direct3D devices\nwere found."},
    {0x82000006u,
     "This sample requires functionality that is\nnot available on your Direct3D "
     "hardware\naccelerator."},
    {0x82000007u,
     "Your Direct3D hardware accelerator cannot\nrender into a window.\nPress F2 while the app is "
     "running to see a\nlist of available devices and modes."},
    {0x82000008u,
     "Your Direct3D hardware accelerator cannot\nrender into a window with the current\ndesktop "
     "display settings.\nPress F2 while the app is running to see a\nlist of available devices and "
     "modes."},
    {0x82000009u,
     "This sample requires functionality that is\nnot available on your Direct3D "
     "hardware\naccelerator with the current desktop display\nsettings.\nPress F2 while the app is "
     "running to see a\nlist of available devices and modes."},
    {0x8200000Au,
     "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned "
     "up)."},
    {0x8200000Bu, "Could not load required media."},
    {0x8200000Cu, "Could not reset the Direct3D device."},
    {0x8200000Du,
     "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but "
     "your\ncomputer only has a reduced-functionality reference device\ninstalled.  Install the "
     "DirectX SDK to get the full\nreference device.\n"},
    {0x8007000Eu, "Not enough memory."},
    {0x8876017Cu, "Not enough video memory."},
    {0x80070002u, "Could not load required media."},
    {0x82000002u, kGeneric},
    {0x8200000Eu, kGeneric},
    {0x80004005u, kGeneric},
    {0x88760868u, kGeneric},
};

TEST(ErrorMessageText, EveryCodeHasItsExactText) {
    for (const MessageRow& row : kMessages) {
        EXPECT_STREQ(ErrorMessageText(ResultFromBits(row.code)), row.text) << std::hex << row.code;
    }
}

TEST(ComposeErrorMessage, KindsAppendTheirSuffixAndNothingIsCut) {
    for (const MessageRow& row : kMessages) {
        const Result code = ResultFromBits(row.code);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::Warning), row.text);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::Fatal),
                  std::string(row.text) + kFatalSuffix);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::SwitchedToReference),
                  std::string(row.text) + kReferenceSuffix);
    }
}

class ReportErrorTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetFatalErrorLatch(); }
    void TearDown() override { ResetFatalErrorLatch(); }

    std::shared_ptr<gfx::CallLog> log = std::make_shared<gfx::CallLog>();
    RecordingMessageBox box{log};
    gfx::FakeWindow view{"view", {0, 0, 500, 375}, log};
};

TEST_F(ReportErrorTest, WarningShowsTheTextAloneWithTheWarningIcon) {
    EXPECT_EQ(ReportError(ResetFailed, ReportKind::Warning, "Tetrakon1.0", &box, &view),
              ResetFailed);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Could not reset the Direct3D device.");
    EXPECT_EQ(box.shown[0].caption, "Tetrakon1.0");
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(view.closeRequests, 0);
    EXPECT_FALSE(FatalErrorReported());
}

TEST_F(ReportErrorTest, UnknownKindValueIsShownAsAWarning) {
    ReportError(E_OUTOFMEMORY, static_cast<ReportKind>(7), "c", &box, &view);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Not enough memory.");
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
}

TEST_F(ReportErrorTest, SwitchedToReferenceWarnsWithItsSuffix) {
    ReportError(E_FAIL, ReportKind::SwitchedToReference, "c", &box, &view);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, std::string(kGeneric) + kReferenceSuffix);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(ReportErrorTest, FatalShowsTheErrorBoxThenAsksTheRenderWindowToClose) {
    EXPECT_EQ(ReportError(NoCompatibleDevice, ReportKind::Fatal, "c", &box, &view),
              NoCompatibleDevice);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text,
              std::string("Could not find any compatible Direct3D\ndevices.") + kFatalSuffix);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"MessageBox Error", "RequestClose view"}));
    EXPECT_TRUE(FatalErrorReported());
}

TEST_F(ReportErrorTest, AfterAFatalReportNothingMoreIsShown) {
    ReportError(ObjectsLeaked, ReportKind::Fatal, "c", &box, &view);
    EXPECT_EQ(ReportError(ResetFailed, ReportKind::Fatal, "c", &box, &view), ResetFailed);
    EXPECT_EQ(ReportError(E_FAIL, ReportKind::Warning, "c", &box, &view), E_FAIL);
    EXPECT_EQ(ReportError(E_FAIL, ReportKind::SwitchedToReference, "c", &box, &view), E_FAIL);
    EXPECT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(ReportErrorTest, FatalWithoutRenderWindowShowsTheBoxOnly) {
    ReportError(MediaMissing, ReportKind::Fatal, "c", &box, nullptr);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"MessageBox Error"}));
}

TEST_F(ReportErrorTest, RenderAppCaptionsBoxesWithItsTitle) {
    class TitledApp : public RenderApp {
      public:
        using RenderApp::RenderApp;
        void SetTitle(std::string text) { title = std::move(text); }
    };
    TitledApp app(nullptr, &box);
    app.ReportError(ResetFailed, ReportKind::Warning);
    app.SetTitle("Tetrakon1.0");
    app.ReportError(ResetFailed, ReportKind::Warning);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].caption, "D3D9 Application");
    EXPECT_EQ(box.shown[1].caption, "Tetrakon1.0");
    RenderApp::ResetPauseCount();
}

}  // namespace
}  // namespace tetrakon
