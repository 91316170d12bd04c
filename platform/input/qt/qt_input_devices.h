#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "platform/input/input_devices.h"
#include "platform/input/qt/qt_input_feed.h"

namespace tetrakon::input {

// Reports as down, once, each key or button that went down since the previous read, so
// that a press and release between two reads is still seen as one press.
template <std::size_t N>
class PressLatch {
  public:
    // Forgets the presses counted so far.
    void Reset(const std::array<std::uint32_t, N>& presses) { seen_ = presses; }
    void Apply(const std::array<std::uint32_t, N>& presses, std::array<std::uint8_t, N>* state) {
        for (std::size_t i = 0; i < N; ++i) {
            if (presses[i] != seen_[i]) {
                (*state)[i] |= kDown;
            }
        }
        seen_ = presses;
    }

  private:
    std::array<std::uint32_t, N> seen_{};
};

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
    std::uint32_t flags_ = kCoopNonExclusive | kCoopBackground;
};

// The keys held in the watched windows, and those pressed since the previous read.
class QtKeyboard : public QtDevice<Keyboard, DataFormat::Keyboard> {
  public:
    using QtDevice::QtDevice;
    Result GetState(KeyboardState* state) override;

  protected:
    void OnAcquired() override { presses_.Reset(feed().keyPresses()); }

  private:
    PressLatch<256> presses_;
};

// Motion, wheel and buttons in the watched windows; motion, wheel and button presses are
// counted from the acquisition or the previous read, whichever is later.
class QtMouse : public QtDevice<Mouse, DataFormat::Mouse> {
  public:
    using QtDevice::QtDevice;
    Result GetState(MouseState* state) override;

  protected:
    void OnAcquired() override {
        readTotals_ = feed().mouseTotals();
        presses_.Reset(feed().buttonPresses());
    }

  private:
    QtInputFeed::MouseTotals readTotals_;
    PressLatch<8> presses_;
};

}  // namespace tetrakon::input
