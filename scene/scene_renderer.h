#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gfxutil/matrix.h"
#include "platform/gfx/device.h"
#include "scene/background_quad.h"

namespace tetrakon {

class SceneFile;

// What a drawn frame advances after the pyramid is drawn: one step of the running turn,
// then one of the running shuffle. Counted in drawn frames, so a frame whose scene cannot
// begin advances nothing.
class FrameAnimation {
  public:
    virtual ~FrameAnimation() = default;
    virtual void StepAnimations() = 0;
};

constexpr std::uint32_t kDefaultBackgroundColour = 0x00AACCAA;
constexpr int kSceneLightCount = 7;

// Draws each frame: the pyramid under a fixed camera and seven fixed directional lights, and
// behind it the plain background colour or the background picture stretched over the view.
// The 3-D view calls each part from its hook of the same name.
class SceneRenderer {
  public:
    // Makes the background quad's buffer, then loads PathImage whatever Picture is. Only a
    // buffer that cannot be made fails the hook; an unreadable picture turns Picture off.
    Result DeviceCreated(gfx::Device* device);
    // Releases the current picture and reads `path` into a new one. On failure the picture
    // stays empty and Picture becomes 0.
    void LoadPicture(gfx::Device* device, const std::string& path);
    // The device state every reset needs: material, texture stage, sampler, render states,
    // camera, projection for the back buffer's shape, and the seven lights.
    Result DeviceReset(gfx::Device* device, std::uint32_t backBufferWidth,
                       std::uint32_t backBufferHeight);
    // The pyramid's world matrix from the view rotation and zoom; lights 1 to 6 follow the
    // zoom so that the pyramid's brightness stays about the same at every size.
    void UpdateFrame(gfx::Device* device, const Matrix& rotation, float zoomScale);
    // Clear, the pyramid, the animation steps, the picture quad. A scene that cannot begin
    // skips the frame and still succeeds.
    Result DrawFrame(gfx::Device* device, SceneFile& root, FrameAnimation& animation);
    void DeviceDestroyed();

    const Matrix& world() const { return world_; }
    const Matrix& view() const { return view_; }
    const Matrix& projection() const { return projection_; }
    const gfx::Light& light(int index) const { return lights_[static_cast<std::size_t>(index)]; }
    gfx::Texture* picture() const { return picture_.get(); }

    std::uint32_t BackgroundColour = kDefaultBackgroundColour;
    std::uint32_t Picture = 0;
    std::string PathImage = "bg.jpg";

  private:
    void UpdateQuad();

    Matrix world_;
    Matrix view_;
    Matrix projection_;
    std::array<gfx::Light, kSceneLightCount> lights_{};
    std::unique_ptr<gfx::Texture> picture_;
    BackgroundQuad quad_;
};

}  // namespace tetrakon
