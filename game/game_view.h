#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/render_app.h"
#include "game/sound_repeat.h"
#include "platform/input/input_devices.h"
#include "platform/sound/sound.h"
#include "puzzle/piece_table.h"
#include "puzzle/puzzle_session.h"
#include "scene/input_poll.h"
#include "scene/scene_file.h"
#include "scene/scene_mesh.h"
#include "scene/scene_renderer.h"
#include "scene/view_rotation.h"

namespace tetrakon {

// What the 3-D view needs from its host besides the windows.
struct GameServices {
    GraphicsApiFactory createGraphics;
    MessageBox* messageBox = nullptr;
    // Makes the keyboard and mouse; null or failing: the game runs without them.
    std::function<std::unique_ptr<input::InputSystem>()> createInput;
    // Makes the sound service; null or failing: the game runs silently.
    std::function<std::unique_ptr<sound::SoundPlayer>()> createSound;
    // The windows whose keyboard events the game reads, in a window and full screen.
    input::WindowHandle windowedInputWindow = 0;
    input::WindowHandle fullScreenInputWindow = 0;
    // The cursor in device pixels of the drawing area; false when it cannot be told.
    std::function<bool(float* x, float* y)> cursorPosition;
    // Sets the main window's title (the counter of the Up and Down keys).
    std::function<void(const std::string&)> setTitle;
    ShuffleServices shuffle = SystemShuffleServices();
};

// The 3-D view without its windows: it owns the scene, the puzzle, the view rotation and
// zoom, the input devices and the game settings, and implements the framework's hooks and
// the menu commands. The Qt shell's view derives from it and adds the windows.
class GameView : public RenderApp, private FrameAnimation, private InputActions {
  public:
    explicit GameView(GameServices services);
    ~GameView() override;

    Result SceneInit() override;
    Result DeviceCreated() override;
    Result DeviceReset() override;
    Result UpdateFrame() override;
    // Answers kFrameUnchanged, drawing nothing, when the frame would repeat the last one
    // shown: no turn or shuffle runs and nothing that is drawn has changed.
    Result DrawFrame() override;
    Result DeviceLost() override;
    Result DeviceDestroyed() override;
    Result SceneShutdown() override;
    Result ApplyWindowStyle() override;

    // The menu commands.
    void StartShuffle();
    void UndoTurn() override { session.UndoTurn(); }
    void ReturnToStart();
    void CentrePyramid();
    // Reads a new background picture; an unreadable one turns the picture off.
    void LoadPicture(const std::string& path);

    // Every message of the view and full-screen windows passes here first.
    void HandleViewMessage(const ViewMessage& message);
    // The host's word that what is on screen was lost or changed (exposed, resized, a
    // setting changed): the next frame is drawn.
    void MarkFrameDirty() { ++sceneVersion_; }

    bool CanUndo() const { return !session.history.empty(); }
    bool ShuffleRunning() const { return session.shuffleInProgress(); }
    gfx::Device* device3d() const { return device.get(); }

    // The settings the presets dialog and the settings store edit.
    std::int32_t NumberRandomRotate = 5;
    std::uint32_t FastRandomRotate = 0;

    // The scene graph the models load into, and the piece table bound to it.
    SceneFile root;
    SceneMesh hullMesh{"CD3DFile_Mesh"};
    SceneMesh turnTargetMesh{"CD3DFile_Mesh"};
    PieceTable pieces;
    PuzzleSession session;

    SceneRenderer renderer;
    ViewRotation viewRotation;
    float zoomScale = 1.0f;

  protected:
    // The bookkeeping of what the last drawn frame showed.
    struct FrameSignature {
        Matrix world;
        std::uint32_t colour = 0;
        std::uint32_t picture = 0;
        std::uint64_t version = 0;
        bool operator==(const FrameSignature&) const = default;
    };

    // One step of the running turn, then of the running shuffle, once per drawn frame.
    void StepAnimations() override;

    // What the input step asks of the view.
    void SetTitle(const std::string& text) override;
    std::int32_t PickTurn() override;
    void StartTurn(std::int32_t code) override;
    void ApplyWheel(std::int32_t wheelMotion) override;

    // The current signature of what a frame would show.
    FrameSignature Signature() const;
    // Opens the sound player and its one clip.
    void StartSound();

    GameServices services_;
    InputDevices input_;
    InputState inputState_;
    std::unique_ptr<sound::SoundPlayer> soundPlayer_;
    std::unique_ptr<sound::SoundClip> soundClip_;
    bool soundStarted_ = false;
    SoundRepeat soundRepeat_;
    std::uint64_t sceneVersion_ = 0;
    std::optional<FrameSignature> shown_;
};

}  // namespace tetrakon
