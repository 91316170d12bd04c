#pragma once

#include <memory>

#include "platform/input/input_devices.h"
#include "platform/input/qt/qt_input_feed.h"

namespace tetrakon::input {

// The part of a device's life that keyboard and mouse share: the data format must be set
// before acquiring; the cooperative level names a window and a consistent flag set.
template <class Interface, DataFormat kFormat>
class QtDevice : public Interface {
  public:
    explicit QtDevice(std::shared_ptr<const QtInputFeed> feed) : feed_(std::move(feed)) {}

    Result SetDataFormat(DataFormat format) override {
        if (format != kFormat) {
            return DIERR_INVALIDPARAM;
        }
        formatSet_ = true;
        return S_OK;
    }
    Result SetCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
        if (window == 0) {
            return E_HANDLE;
        }
        if (!ValidCooperativeFlags(flags)) {
            return DIERR_INVALIDPARAM;
        }
        window_ = window;
        flags_ = flags;
        return S_OK;
    }
    Result Acquire() override {
        if (!formatSet_) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired_) {
            return DI_NOEFFECT;
        }
        acquired_ = true;
        OnAcquired();
        return S_OK;
    }
    Result Unacquire() override {
        if (!acquired_) {
            return DI_NOEFFECT;
        }
        acquired_ = false;
        return S_OK;
    }

    WindowHandle window() const { return window_; }
    std::uint32_t flags() const { return flags_; }

  protected:
    virtual void OnAcquired() {}

    // DIERR_NOTACQUIRED when not acquired; with the foreground flag, loses the acquisition
    // (DIERR_INPUTLOST) while another program is in front.
    Result CheckReadable() {
        if (!acquired_) {
            return DIERR_NOTACQUIRED;
        }
        if ((flags_ & kCoopForeground) != 0 && !feed_->applicationActive()) {
            acquired_ = false;
            return DIERR_INPUTLOST;
        }
        return S_OK;
    }

    const QtInputFeed& feed() const { return *feed_; }

  private:
    std::shared_ptr<const QtInputFeed> feed_;
    bool formatSet_ = false;
    bool acquired_ = false;
    WindowHandle window_ = 0;
    std::uint32_t flags_ = kCoopNonExclusive | kCoopBackground;
};

// The keys held in the watched windows.
class QtKeyboard : public QtDevice<Keyboard, DataFormat::Keyboard> {
  public:
    using QtDevice::QtDevice;
    Result GetState(KeyboardState* state) override;
};

// Motion, wheel and buttons in the watched windows; motion and wheel are counted from the
// acquisition or the previous read, whichever is later.
class QtMouse : public QtDevice<Mouse, DataFormat::Mouse> {
  public:
    using QtDevice::QtDevice;
    Result GetState(MouseState* state) override;

  protected:
    void OnAcquired() override { readTotals_ = feed().mouseTotals(); }

  private:
    QtInputFeed::MouseTotals readTotals_;
};

}  // namespace tetrakon::input
