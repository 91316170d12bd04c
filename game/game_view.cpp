#include "game/game_view.h"

#include "game/bind_pieces.h"
#include "scene/pick_turn.h"

namespace tetrakon {

namespace {

// The virtual ball of the view rotation, as a fraction of half the drawing area.
constexpr float kBallRadius = 0.85f;

}  // namespace

GameView::GameView(GameServices services)
    : RenderApp(services.createGraphics, services.messageBox),
      session(pieces, services.shuffle),
      services_(std::move(services)) {
    title = "Tetrakon1.0";
    catalogue.limits.usesDepthBuffer = true;
}

GameView::~GameView() = default;

Result GameView::SceneInit() {
    if (services_.createInput) {
        SetUpInput(services_.createInput(), services_.windowedInputWindow, &input_);
    }
    return S_OK;
}

void GameView::StartSound() {
    soundStarted_ = true;
    if (services_.createSound) {
        soundPlayer_ = services_.createSound();
        if (soundPlayer_ != nullptr && Succeeded(soundPlayer_->InitSound())) {
            soundPlayer_->CreateClipFromResource("BOUNCE", "WAVE", &soundClip_);
        }
    }
}

Result GameView::DeviceCreated() {
    const Result bound = BindPieces(device.get(), {&root, &hullMesh, &turnTargetMesh}, pieces);
    if (Failed(bound)) {
        return bound;
    }
    return renderer.DeviceCreated(device.get());
}

Result GameView::DeviceReset() {
    const Result result =
        renderer.DeviceReset(device.get(), backBufferDesc.width, backBufferDesc.height);
    if (Failed(result)) {
        return result;
    }
    root.RestoreAll(device.get());
    hullMesh.Restore(device.get());
    turnTargetMesh.Restore(device.get());
    viewRotation.SetWindow(static_cast<std::int32_t>(backBufferDesc.width),
                           static_cast<std::int32_t>(backBufferDesc.height), kBallRadius);
    MarkFrameDirty();
    return S_OK;
}

Result GameView::UpdateFrame() {
    // The sound server is reached once the first frame is on screen, not before it.
    if (!soundStarted_ && PresentedFrames() > 0) {
        StartSound();
    }
    PollInput(input_, &inputState_, *this);
    renderer.UpdateFrame(device.get(), viewRotation.rotation(), zoomScale);
    soundRepeat_.Step(inputState_.f5, elapsedTime, soundClip_.get());
    return S_OK;
}

GameView::FrameSignature GameView::Signature() const {
    return {renderer.world(), renderer.BackgroundColour, renderer.Picture, sceneVersion_};
}

Result GameView::DrawFrame() {
    // A running turn or shuffle moves the pieces in this very frame.
    const bool animating = session.turnInProgress() || session.shuffleInProgress();
    if (!animating && shown_ == Signature()) {
        return kFrameUnchanged;
    }
    const Result drawn = renderer.DrawFrame(device.get(), root, *this);
    shown_ = Signature();
    return drawn;
}

void GameView::StepAnimations() {
    if (session.turnInProgress() || session.shuffleInProgress()) {
        MarkFrameDirty();
    }
    session.AdvanceTurnAnimation();
    session.ShuffleStep(NumberRandomRotate, FastRandomRotate == 1);
}

Result GameView::DeviceLost() {
    root.InvalidateAll();
    hullMesh.Invalidate();
    turnTargetMesh.Invalidate();
    return S_OK;
}

Result GameView::DeviceDestroyed() {
    hullMesh.Destroy();
    turnTargetMesh.Destroy();
    root.DestroyAll();
    renderer.DeviceDestroyed();
    return S_OK;
}

Result GameView::SceneShutdown() {
    // The scene objects are the view's own members: emptying them is all that is left.
    DeviceDestroyed();
    ReleaseInput(&input_);
    soundClip_.reset();
    soundPlayer_.reset();
    return S_OK;
}

Result GameView::ApplyWindowStyle() {
    BindKeyboardWindow(input_,
                       windowed ? services_.windowedInputWindow : services_.fullScreenInputWindow);
    return S_OK;
}

void GameView::StartShuffle() {
    session.StartShuffle();
}

void GameView::ReturnToStart() {
    const auto reloadPieces = [this] {
        BindPieces(device.get(), {&root, &hullMesh, &turnTargetMesh}, pieces);
    };
    session.ReturnToStart({
        .reloadPieces = reloadPieces,
        .resetView = [this] { viewRotation.Reset(); },
        .deviceLost = [this] { DeviceLost(); },
        .deviceReset = [this] { DeviceReset(); },
    });
    MarkFrameDirty();
}

void GameView::CentrePyramid() {
    viewRotation.Reset();
}

void GameView::LoadPicture(const std::string& path) {
    renderer.LoadPicture(device.get(), path);
    MarkFrameDirty();
}

void GameView::HandleViewMessage(const ViewMessage& message) {
    viewRotation.HandleMessage(message);
}

void GameView::SetTitle(const std::string& text) {
    if (services_.setTitle) {
        services_.setTitle(text);
    }
}

std::int32_t GameView::PickTurn() {
    float x = 0;
    float y = 0;
    if (!services_.cursorPosition || !services_.cursorPosition(&x, &y)) {
        return kNoTurnPicked;
    }
    PickInputs inputs;
    inputs.px = x;
    inputs.py = y;
    inputs.width = backBufferDesc.width;
    inputs.height = backBufferDesc.height;
    inputs.world = renderer.world();
    inputs.view = renderer.view();
    inputs.projection = renderer.projection();
    inputs.hull = hullMesh.sourceMesh();
    // Without a device copy of the targets (between a lost device and its reset) nothing
    // can be hit.
    inputs.targets = turnTargetMesh.deviceMesh() != nullptr ? turnTargetMesh.sourceMesh() : nullptr;
    return tetrakon::PickTurn(inputs);
}

void GameView::StartTurn(std::int32_t code) {
    session.StartTurn(code);
}

void GameView::ApplyWheel(std::int32_t wheelMotion) {
    zoomScale = tetrakon::ApplyWheel(zoomScale, wheelMotion);
}

}  // namespace tetrakon
