#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/app_timer.h"
#include "framework/error_report.h"
#include "framework/render_app.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_graphics_api.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/process_state.h"
#include "tests/fakes/recording_message_box.h"

namespace tetrakon {

// A RenderApp whose hooks log their names in the shared CallLog and answer scripted
// results. Like the game's view, it presents into the view when windowed and into the
// pop-up when full screen, and uses a depth buffer.
class RecordingApp : public RenderApp {
  public:
    RecordingApp(std::shared_ptr<gfx::CallLog> log, GraphicsApiFactory factory, MessageBox* box,
                 gfx::Window* view, gfx::Window* popup)
        : RenderApp(std::move(factory), box), log_(std::move(log)), view_(view), popup_(popup) {
        catalogue.limits.usesDepthBuffer = true;
        title = "Tetrakon1.0";
    }

    // Results the named hook answers, one per call; success once they run out.
    std::map<std::string, std::deque<Result>> script;
    bool graphicsAliveAtSceneShutdown = true;
    int updates = 0;

    Result ApplyWindowStyle() override {
        log_->Add(windowed ? "ApplyWindowStyle windowed" : "ApplyWindowStyle fullscreen");
        renderWindow = windowed ? view_ : popup_;
        return S_OK;
    }
    Result SceneInit() override { return Hook("SceneInit"); }
    Result DeviceCreated() override { return Hook("DeviceCreated"); }
    Result DeviceReset() override { return Hook("DeviceReset"); }
    Result UpdateFrame() override {
        ++updates;
        return Hook("UpdateFrame");
    }
    Result DrawFrame() override { return Hook("DrawFrame"); }
    Result DeviceLost() override { return Hook("DeviceLost"); }
    Result DeviceDestroyed() override { return Hook("DeviceDestroyed"); }
    Result SceneShutdown() override {
        graphicsAliveAtSceneShutdown = graphics != nullptr;
        return Hook("SceneShutdown");
    }

    // The device the fake display system handed out; the test fails when there is none.
    gfx::ScriptedFakeDevice& Device() const {
        auto* scripted = dynamic_cast<gfx::ScriptedFakeDevice*>(device.get());
        if (scripted == nullptr) {
            ADD_FAILURE() << "no device";
            std::abort();
        }
        return *scripted;
    }
    bool HasDevice() const { return device != nullptr; }

    using RenderApp::active;
    using RenderApp::backBufferDesc;
    using RenderApp::clientRect;
    using RenderApp::createFlags;
    using RenderApp::deviceLost;
    using RenderApp::elapsedTime;
    using RenderApp::frameMoving;
    using RenderApp::graphics;
    using RenderApp::ignoreSizeChange;
    using RenderApp::objectsCreated;
    using RenderApp::objectsRestored;
    using RenderApp::presentParams;
    using RenderApp::renderWindow;
    using RenderApp::settings;
    using RenderApp::singleStep;
    using RenderApp::startFullScreen;
    using RenderApp::time;
    using RenderApp::windowBounds;
    using RenderApp::windowed;

  private:
    Result Hook(const char* name) {
        log_->Add(name);
        auto& results = script[name];
        if (results.empty()) {
            return S_OK;
        }
        const Result result = results.front();
        results.pop_front();
        return result;
    }

    std::shared_ptr<gfx::CallLog> log_;
    gfx::Window* view_;
    gfx::Window* popup_;
};

// A fresh process-wide state (timer on a fake clock, latch, pause count), a typical
// adapter, the view and the pop-up, and an app built on them.
class RenderAppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        StartFreshProcessState(clock);
        auto owned = std::make_unique<gfx::FakeGraphicsApi>(log);
        api = owned.get();
        pendingApi = std::move(owned);
        api->adapters = {gfx::TypicalAdapter()};
        app = std::make_unique<RecordingApp>(
            log, [this](std::string*) { return std::move(pendingApi); }, &box, &view, &popup);
        app->SetRenderWindow(&view);
        app->SetFocusWindow(&popup);
    }

    void TearDown() override {
        app.reset();
        ForgetProcessState();
    }

    // Starts the app, then forgets what start-up logged.
    void Start() {
        ASSERT_EQ(app->StartUp(), S_OK);
        log->calls.clear();
    }

    // The life-cycle events in the log: hooks, device creation, reset and release.
    std::vector<std::string> Events() const {
        static const std::set<std::string> kKinds = {
            "ApplyWindowStyle", "SceneInit",    "DeviceCreated", "DeviceReset",
            "UpdateFrame",      "DrawFrame",    "DeviceLost",    "DeviceDestroyed",
            "SceneShutdown",    "CreateDevice", "Reset",         "Release",
            "Present",          "MessageBox",   "RequestClose"};
        std::vector<std::string> events;
        for (const std::string& call : log->calls) {
            if (kKinds.count(call.substr(0, call.find(' '))) != 0) {
                events.push_back(call);
            }
        }
        return events;
    }

    int Count(const std::string& event) const {
        int n = 0;
        for (const std::string& e : Events()) {
            n += e == event ? 1 : 0;
        }
        return n;
    }

    void AdvanceMs(std::int64_t ms) { clock.AdvanceMicroseconds(ms * 1000); }

    std::shared_ptr<gfx::CallLog> log = std::make_shared<gfx::CallLog>();
    FakeClock clock;
    RecordingMessageBox box{log};
    gfx::FakeWindow view{"view", {100, 50, 600, 425}, log};
    gfx::FakeWindow popup{"popup", {0, 0, 1024, 768}, log};
    gfx::FakeGraphicsApi* api = nullptr;  // owned by the app once StartUp ran
    std::unique_ptr<gfx::FakeGraphicsApi> pendingApi;
    std::unique_ptr<RecordingApp> app;
};

}  // namespace tetrakon
