#pragma once

#include <QImage>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gfx/gl/gl_device.h"
#include "platform/gfx/gl/gl_graphics_api.h"
#include "platform/gfx/gl/qt_window.h"

namespace tetrakon::gfx {

// One graphics interface for the whole test program: probing makes a context.
GlGraphicsApi& TestGraphicsApi();
// Frees it, with the context it holds, while the application still exists.
void ReleaseTestGraphicsApi();

// Processes events until `done` holds; false when it still does not after `timeoutMs`.
bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Processes events until the window's exposure is `exposed`; false after 5 s.
bool WaitForExposure(QWindow& window, bool exposed);

// What the X server shows of the window once the pixel at (x, y) has become `rgb`
// (0xRRGGBB): presenting hands the picture to the server, which draws it a little later.
// Gives the last grab after 3 s.
QImage GrabWhenShown(QWindow& window, int x, int y, std::uint32_t rgb);

// A top-level QWindow of the given size, shown and exposed, with its display-layer
// adapter.
struct TestWindow {
    TestWindow(int width, int height);
    std::unique_ptr<QWindow> window;
    std::unique_ptr<QtWindow> adapter;
};

// Windowed present parameters for the window: X8R8G8B8, D24S8 depth, no multisampling,
// immediate presentation; a zero size means the window's.
PresentParameters WindowedParameters(Window* window, std::uint32_t width = 0,
                                     std::uint32_t height = 0);

// Opens a device on the window with WindowedParameters; fails the test when it cannot.
std::unique_ptr<GlDevice> OpenDevice(TestWindow& window);
// The same with what the driver offers changed to `features` (a driver without sampler
// objects, say, which Mesa will not play).
std::unique_ptr<GlDevice> OpenDevice(TestWindow& window, const GlFeatures& features);

// The pixel at (x, y) of the device's back buffer, 0xAARRGGBB; 0 when unreadable.
std::uint32_t BackBufferPixel(GlDevice& device, std::uint32_t x, std::uint32_t y);

// The vertex layout of VertexFormat::PositionNormalColorTex1.
struct ColoredVertex {
    float x, y, z;
    float nx, ny, nz;
    std::uint32_t color;
    float u, v;
};
static_assert(sizeof(ColoredVertex) == 36);

}  // namespace tetrakon::gfx
