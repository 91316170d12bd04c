#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/device_catalog.h"
#include "framework/display_settings.h"
#include "framework/error_report.h"
#include "framework/message_box.h"
#include "platform/gfx/device.h"
#include "platform/gfx/graphics_api.h"
#include "platform/gfx/window.h"

namespace tetrakon {

// A DrawFrame result: the frame would look exactly like the one on screen, so the step
// neither counts nor presents it. A success code.
constexpr Result kFrameUnchanged = 1;

// Creates the graphics interface; null when it cannot be created, and then, where the
// platform can tell, the reason in `whyNot` (shown after the message).
using GraphicsApiFactory = std::function<std::unique_ptr<gfx::GraphicsApi>(std::string* whyNot)>;

// The base of the 3-D view: the frame step, the pause counter and the display device's
// life cycle around the scene hooks a game overrides. The framework never creates windows:
// the host hands it the render and focus windows, calls StartUp once, then on each idle
// pass (while IsActive) runs CheckFullScreenDevice and StepFrame, calls OnClientResize on
// every size change of the view and SwitchScreenMode for the mode-switch command. The
// derived class calls ShutDown before its own parts go away.
//
// Hook pairing: everything tied to the device is made in DeviceCreated and freed in
// DeviceDestroyed; device-memory copies and render state are made in DeviceReset and
// dropped in DeviceLost. DeviceLost runs only after a successful DeviceReset and
// DeviceDestroyed only after a successful DeviceCreated, apart from the immediate undo
// of a failed DeviceCreated (DeviceDestroyed) or DeviceReset (DeviceLost).
class RenderApp {
  public:
    // `createGraphics` is called once by StartUp. `messageBox` shows the error reports and
    // must outlive the application; without one, reports only carry out their consequence.
    RenderApp(GraphicsApiFactory createGraphics, MessageBox* messageBox);
    RenderApp(const RenderApp&) = delete;
    RenderApp& operator=(const RenderApp&) = delete;

    // The virtual operations, in slot order.
    // Makes `renderWindow` the window the device presents into for the current `windowed`.
    virtual Result ApplyWindowStyle();
    virtual void RefreshFrameStats();
    // Whether a device with these capabilities and this creation suits the game (accepted
    // when not negative). Called while the catalogue is built.
    virtual Result CheckDeviceCaps(const gfx::DeviceCaps& caps, std::uint32_t behaviorFlags,
                                   gfx::Format backBufferFormat);
    virtual Result SceneInit();
    virtual Result DeviceCreated();
    virtual Result DeviceReset();
    virtual Result UpdateFrame();
    virtual Result DrawFrame();
    virtual Result DeviceLost();
    virtual Result DeviceDestroyed();
    virtual Result SceneShutdown();
    // Builds the catalogue, chooses the setups, starts the timer, runs SceneInit and opens
    // the display; any failure is reported as fatal and leaves the view paused.
    virtual Result StartUp();
    // Nestable pause (true) and resume (false); the timer stops on the first pause and
    // starts again when the last one is lifted.
    virtual void SetPaused(bool pause);
    virtual ~RenderApp();

    // Produces one frame (drawing nothing while a lost device cannot be reset yet).
    Result StepFrame();
    // While full screen: when the device is not usable, return to a window.
    void CheckFullScreenDevice();
    // The host's reactions to a size change of the view and to the mode-switch command.
    Result OnClientResize();
    Result SwitchScreenMode();
    Result ReturnToWindow();
    // Closes the display, releases the graphics interface and runs SceneShutdown (once).
    // The derived class calls it when the view is destroyed, while its hooks still exist.
    void ShutDown();

    // Shows the message for `code`, captioned `title`, and carries out the kind's
    // consequence (Fatal: the render window is asked to close). Returns `code`.
    Result ReportError(Result code, ReportKind kind);

    void SetRenderWindow(gfx::Window* window) { renderWindow = window; }
    void SetFocusWindow(gfx::Window* window) { focusWindow = window; }
    bool IsActive() const { return active; }
    // How many frames the step has presented so far.
    std::uint64_t PresentedFrames() const { return presentedFrames_; }
    bool IsWindowed() const { return windowed; }

    // The process-wide pause count, shared by every instance.
    static std::uint32_t PauseCount();
    // Sets the pause count back to 0, as at process start. Only tests do this.
    static void ResetPauseCount();

  protected:
    Result OpenDisplay();
    Result ResetDisplay();
    void CloseDisplay();
    void FillPresentParameters();
    bool PickWindowedSetup(bool requireHal, bool requireRef);
    bool PickFullScreenSetup(bool requireHal, bool requireRef);
    Result ChooseStartSettings();

    // Frame state.
    bool active = false;
    bool frameMoving = true;
    bool singleStep = false;
    bool deviceLost = false;
    float time = 0;
    float elapsedTime = 0;

    // Display state.
    DeviceCatalog catalogue;
    DisplaySettings settings;
    bool windowed = true;
    bool ignoreSizeChange = false;
    bool objectsCreated = false;
    bool objectsRestored = false;
    gfx::PresentParameters presentParams;
    gfx::Window* renderWindow = nullptr;
    gfx::Window* focusWindow = nullptr;
    std::unique_ptr<gfx::GraphicsApi> graphics;
    std::unique_ptr<gfx::Device> device;
    gfx::DeviceCaps deviceCaps;
    gfx::SurfaceDesc backBufferDesc;
    std::uint32_t createFlags = 0;
    gfx::Rect windowBounds;
    gfx::Rect clientRect;
    std::string title = "D3D9 Application";
    bool clipCursorFullScreen = true;
    bool startFullScreen = false;

  private:
    // The first step of StepFrame while `deviceLost` is set: true when the frame may go
    // on, else false with the step's result in *stepResult.
    bool TestDeviceState(Result* stepResult);
    // Applies the cursor rules after every creation and reset.
    void ApplyCursorRules();
    void ChangePauseCount(bool pause);
    Result TryOpenDisplay(const DeviceEntry*& attempted);

    GraphicsApiFactory createGraphics_;
    MessageBox* messageBox_;
    bool sceneShutDown_ = false;
    // Frame statistics.
    std::uint64_t presentedFrames_ = 0;
};

}  // namespace tetrakon
