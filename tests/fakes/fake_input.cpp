#include "tests/fakes/fake_input.h"

namespace tetrakon::input {

namespace {

Result TakeFront(std::deque<Result>* results) {
    if (results->empty()) {
        return S_OK;
    }
    const Result result = results->front();
    results->pop_front();
    return result;
}

// The calls keyboard and mouse share, recorded under the device's name.
template <class Interface, class Script>
class FakeDevice : public Interface {
  public:
    FakeDevice(FakeInput* input, Script* script, std::string name)
        : input_(input), script_(script), name_(std::move(name)) {}
    ~FakeDevice() override {
        Log("Release");
        script_->released = true;
        script_->acquired = false;
    }

    Result SetDataFormat(DataFormat format) override {
        Log("SetDataFormat");
        script_->formats.push_back(format);
        return script_->formatResult;
    }
    Result SetCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
        Log("SetCooperativeLevel");
        ++script_->cooperativeCalls;
        script_->window = window;
        script_->flags = flags;
        return script_->cooperativeResult;
    }
    Result Acquire() override {
        Log("Acquire");
        ++script_->acquires;
        const Result result = TakeFront(&script_->acquireResults);
        if (Succeeded(result)) {
            script_->acquired = true;
        }
        return result;
    }
    Result Unacquire() override {
        Log("Unacquire");
        ++script_->unacquires;
        script_->acquired = false;
        return S_OK;
    }

  protected:
    // The scripted answer to a read: NOTACQUIRED when not acquired, else the next
    // scripted result, which unacquires the device when it is a failure.
    Result Read() {
        Log("GetState");
        if (!script_->acquired) {
            return DIERR_NOTACQUIRED;
        }
        const Result result = TakeFront(&script_->readResults);
        if (Failed(result)) {
            script_->acquired = false;
            return result;
        }
        ++script_->reads;
        return result;
    }
    Script& script() { return *script_; }

  private:
    void Log(const char* call) { input_->calls.push_back(name_ + "." + call); }

    FakeInput* input_;
    Script* script_;
    std::string name_;
};

class FakeKeyboard : public FakeDevice<Keyboard, FakeKeyboardScript> {
  public:
    using FakeDevice::FakeDevice;
    Result GetState(KeyboardState* state) override {
        const Result result = Read();
        if (Succeeded(result)) {
            *state = script().keys;
        }
        return result;
    }
};

class FakeMouse : public FakeDevice<Mouse, FakeMouseScript> {
  public:
    using FakeDevice::FakeDevice;
    Result GetState(MouseState* state) override {
        const Result result = Read();
        if (Failed(result)) {
            return result;
        }
        FakeMouseScript& mouse = script();
        if (mouse.states.empty()) {
            *state = MouseState{};
            state->buttons = mouse.heldButtons;
        } else {
            *state = mouse.states.front();
            mouse.states.pop_front();
            mouse.heldButtons = state->buttons;
        }
        return result;
    }
};

template <class Device, class Base, class Script>
Result Create(FakeInput* input, Script* script, const char* name, std::unique_ptr<Base>* out) {
    input->calls.push_back(std::string(name) + ".Create");
    out->reset();
    if (Failed(script->createResult)) {
        return script->createResult;
    }
    script->created = true;
    *out = std::make_unique<Device>(input, script, name);
    return S_OK;
}

}  // namespace

void FakeMouseScript::Hold(std::initializer_list<int> held, int frames) {
    MouseState state;
    for (const int button : held) {
        state.buttons.at(static_cast<std::size_t>(button)) = kDown;
    }
    states.insert(states.end(), static_cast<std::size_t>(frames), state);
}

FakeInputSystem::~FakeInputSystem() {
    input_->calls.push_back("system.Release");
    input_->systemReleased = true;
}

Result FakeInputSystem::CreateKeyboard(std::unique_ptr<Keyboard>* out) {
    return Create<FakeKeyboard>(input_, &input_->keyboard, "keyboard", out);
}

Result FakeInputSystem::CreateMouse(std::unique_ptr<Mouse>* out) {
    return Create<FakeMouse>(input_, &input_->mouse, "mouse", out);
}

}  // namespace tetrakon::input
