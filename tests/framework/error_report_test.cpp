#include "framework/error_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <set>

#include "framework/render_app.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/recording_message_box.h"

namespace tetrakon {
namespace {

constexpr const char* kGeneric =
    "Generic application error. Enable\ndebug output for detailed information.";
constexpr const char* kFatalSuffix = "\n\nThis program will now exit.";
constexpr const char* kReferenceSuffix =
    "\n\nSwitching to Mesa's software renderer,\nwhich implements the entire OpenGL\nfeature "
    "set, but runs very slowly.";

// Every code the framework or the platform reports with a message of its own.
constexpr std::uint32_t kCodesWithText[] = {0x82000001u, 0x82000003u, 0x82000004u, 0x82000005u,
                                            0x82000006u, 0x82000007u, 0x82000008u, 0x82000009u,
                                            0x8200000Au, 0x8200000Bu, 0x8200000Cu, 0x8200000Du,
                                            0x8200000Eu, 0x8007000Eu, 0x8876017Cu, 0x80070002u};

TEST(ErrorMessageText, EachCodeKeepsItsOwnTextNamingWhatIsReallyUsed) {
    std::set<std::string> texts;
    for (std::uint32_t bits : kCodesWithText) {
        const std::string text = ErrorMessageText(ResultFromBits(bits));
        EXPECT_NE(text, kGeneric) << std::hex << bits;
        texts.insert(text);
        for (const char* foreign : {"Direct3D", "DirectX", "D3D", "sample", "F2"}) {
            EXPECT_EQ(text.find(foreign), std::string::npos) << std::hex << bits << ": " << text;
        }
    }
    // Only missing media and a missing file share their text.
    EXPECT_EQ(texts.size(), std::size(kCodesWithText) - 1);
    EXPECT_STREQ(ErrorMessageText(MediaMissing), ErrorMessageText(E_FILE_NOT_FOUND));
    EXPECT_EQ(std::string(ErrorMessageText(NoGraphicsApi)).rfind("Could not initialize OpenGL.", 0),
              0u);
    EXPECT_STREQ(ErrorMessageText(ResetFailed), "Could not reset the OpenGL device.");
    for (std::uint32_t bits : {0x82000002u, 0x8200000Fu, 0x80004005u, 0x88760868u}) {
        EXPECT_STREQ(ErrorMessageText(ResultFromBits(bits)), kGeneric) << std::hex << bits;
    }
}

TEST(ComposeErrorMessage, KindsAppendTheirSuffixAndNothingIsCut) {
    for (std::uint32_t bits : kCodesWithText) {
        const Result code = ResultFromBits(bits);
        const std::string text = ErrorMessageText(code);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::Warning), text);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::Fatal), text + kFatalSuffix);
        EXPECT_EQ(ComposeErrorMessage(code, ReportKind::SwitchedToReference),
                  text + kReferenceSuffix);
    }
}

// The platform's reason follows the message after a blank line, before the suffix.
TEST(ComposeErrorMessage, ADetailGoesBetweenTheMessageAndTheSuffix) {
    EXPECT_EQ(ComposeErrorMessage(NoGraphicsApi, ReportKind::Fatal, "Needs more."),
              ErrorMessageText(NoGraphicsApi) + std::string("\n\nNeeds more.") + kFatalSuffix);
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
    EXPECT_EQ(box.shown[0].text, "Could not reset the OpenGL device.");
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
              std::string("Could not find any compatible OpenGL\ndevices.") + kFatalSuffix);
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
