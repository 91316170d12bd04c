#include "tests/platform/gl_test_window.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

namespace tetrakon::gfx {

namespace {

std::unique_ptr<GlGraphicsApi>& SharedApi() {
    static std::unique_ptr<GlGraphicsApi> api;
    return api;
}

}  // namespace

GlGraphicsApi& TestGraphicsApi() {
    std::unique_ptr<GlGraphicsApi>& api = SharedApi();
    if (!api) {
        EXPECT_EQ(GlGraphicsApi::Create(&api), S_OK)
            << "no OpenGL context to draw with on this display";
    }
    if (!api) {
        std::abort();
    }
    return *api;
}

void ReleaseTestGraphicsApi() {
    SharedApi().reset();
}

bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QGuiApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

bool WaitForExposure(QWindow& window, bool exposed) {
    return ProcessEventsUntil([&window, exposed] { return window.isExposed() == exposed; });
}

QImage GrabWhenShown(QWindow& window, int x, int y, std::uint32_t rgb) {
    QDeadlineTimer deadline(3000);
    for (;;) {
        QGuiApplication::processEvents(QEventLoop::AllEvents, 20);
        QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        if ((shown.pixel(x, y) & 0xFFFFFF) == rgb || deadline.hasExpired()) {
            return shown;
        }
        QThread::msleep(10);
    }
}

TestWindow::TestWindow(int width, int height) : window(std::make_unique<QWindow>()) {
    adapter = std::make_unique<QtWindow>(window.get());
    window->resize(width, height);
    window->setPosition(20, 20);
    window->show();
    EXPECT_TRUE(WaitForExposure(*window, true));
}

PresentParameters WindowedParameters(Window* window, std::uint32_t width, std::uint32_t height) {
    PresentParameters params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.backBufferFormat = Format::X8R8G8B8;
    params.deviceWindow = window;
    params.windowed = true;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = Format::D24S8;
    params.flags = kPresentFlagDiscardDepthStencil;
    params.presentationInterval = kPresentIntervalImmediate;
    return params;
}

std::unique_ptr<GlDevice> OpenDevice(TestWindow& window) {
    std::unique_ptr<Device> device;
    const Result result = TestGraphicsApi().CreateDevice(
        0, DeviceType::HAL, window.adapter.get(), kCreateHardwareVertexProcessing,
        WindowedParameters(window.adapter.get()), &device);
    EXPECT_EQ(result, S_OK);
    return std::unique_ptr<GlDevice>(dynamic_cast<GlDevice*>(device.release()));
}

std::unique_ptr<GlDevice> OpenDevice(TestWindow& window, const GlFeatures& features) {
    GlAdapterFacts facts = TestGraphicsApi().facts();
    facts.features = features;
    std::unique_ptr<Device> device;
    EXPECT_EQ(GlDevice::Create(window.window.get(), facts, WindowedParameters(window.adapter.get()),
                               &device),
              S_OK);
    return std::unique_ptr<GlDevice>(dynamic_cast<GlDevice*>(device.release()));
}

std::uint32_t BackBufferPixel(GlDevice& device, std::uint32_t x, std::uint32_t y) {
    SurfaceDesc desc;
    std::vector<std::uint32_t> pixels;
    if (Failed(device.GetBackBufferDesc(&desc)) || Failed(device.ReadBackBuffer(&pixels)) ||
        x >= desc.width || y >= desc.height) {
        return 0;
    }
    return pixels[std::size_t{y} * desc.width + x];
}

}  // namespace tetrakon::gfx
