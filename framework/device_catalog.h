#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/gfx_types.h"
#include "platform/gfx/graphics_api.h"

namespace tetrakon {

enum class VertexProcessing : std::uint32_t {
    Software = 0,
    Mixed = 1,
    Hardware = 2,
    PureHardware = 3,
};

// Device-creation behaviour flags that select a vertex-processing kind.
std::uint32_t BehaviorFlagsFor(VertexProcessing kind);

struct DepthStencilMultisampleConflict {
    gfx::Format depthStencilFormat = gfx::Format::Unknown;
    gfx::MultisampleType multisampleType = 0;
};

// One working combination of adapter format, back-buffer format and windowed flag on one
// device type, with the options it supports.
struct FormatCombo {
    std::uint32_t adapterOrdinal = 0;
    gfx::DeviceType deviceType = gfx::DeviceType::HAL;
    gfx::Format adapterFormat = gfx::Format::Unknown;
    gfx::Format backBufferFormat = gfx::Format::Unknown;
    bool windowed = false;
    std::vector<gfx::Format> depthStencilFormats;
    std::vector<gfx::MultisampleType> multisampleTypes;
    std::vector<std::uint32_t> multisampleQualities;  // parallel to multisampleTypes
    std::vector<DepthStencilMultisampleConflict> conflicts;
    std::vector<VertexProcessing> vertexProcessings;
    std::vector<std::uint32_t> presentIntervals;
};

struct DeviceEntry {
    std::uint32_t adapterOrdinal = 0;
    gfx::DeviceType deviceType = gfx::DeviceType::HAL;
    gfx::DeviceCaps caps;
    std::vector<FormatCombo> combos;
};

struct AdapterEntry {
    std::uint32_t adapterOrdinal = 0;
    gfx::AdapterIdentifier identifier;
    // Modes acceptable for full screen, sorted; empty when the screen is below the size
    // floor, where the adapter still has windowed combos.
    std::vector<gfx::DisplayMode> displayModes;
    std::vector<DeviceEntry> devices;
};

// What the application accepts of a display setup.
struct DeviceCatalogLimits {
    std::uint32_t minFullScreenWidth = 640;
    std::uint32_t minFullScreenHeight = 480;
    std::uint32_t minColorChannelBits = 5;
    std::uint32_t minAlphaChannelBits = 0;
    std::uint32_t minDepthBits = 15;
    std::uint32_t minStencilBits = 0;
    bool usesDepthBuffer = false;
    bool usesMixedVertexProcessing = false;
    bool requiresWindowed = false;
    bool requiresFullScreen = false;
};

// Decides whether a device with these capabilities, created with these behaviour flags
// and this back-buffer format, suits the application: accepted when not negative.
using DeviceAcceptance = std::function<Result(
    const gfx::DeviceCaps& caps, std::uint32_t behaviorFlags, gfx::Format backBufferFormat)>;

// Every display adapter with its acceptable modes, device types and working format
// combinations, as the graphics interface reports them.
class DeviceCatalog {
  public:
    DeviceCatalogLimits limits;

    void SetAcceptance(DeviceAcceptance acceptance) { acceptance_ = std::move(acceptance); }

    // Queries `graphics` and replaces the catalogue's contents. Fails with E_FAIL when
    // there is no graphics interface and E_OUTOFMEMORY when memory runs out.
    Result Build(gfx::GraphicsApi* graphics);
    void Clear() { adapters_.clear(); }

    const std::vector<AdapterEntry>& Adapters() const { return adapters_; }

    // The adapter formats the catalogue tries, in order.
    static const std::vector<gfx::Format>& AllowedAdapterFormats();
    // The back-buffer formats tried for each adapter format, in order.
    static const std::vector<gfx::Format>& BackBufferFormats();
    // The depth/stencil formats tried for each combination, in order.
    static const std::vector<gfx::Format>& DepthStencilFormats();

  private:
    // The formats of an adapter's modes, in the order found: all with enough colour, and
    // those of modes large enough for full screen.
    struct AdapterFormats {
        std::vector<gfx::Format> windowed;
        std::vector<gfx::Format> fullScreen;
    };

    void BuildAdapter(std::uint32_t ordinal);
    void BuildDevices(AdapterEntry& adapter, const AdapterFormats& adapterFormats);
    void BuildCombos(DeviceEntry& device, const AdapterFormats& adapterFormats);
    bool FillCombo(const DeviceEntry& device, FormatCombo& combo);
    void AddDepthStencilFormats(FormatCombo& combo);
    void AddMultisampleTypes(FormatCombo& combo);
    void AddConflicts(FormatCombo& combo);
    void AddVertexProcessings(const gfx::DeviceCaps& caps, FormatCombo& combo);
    void AddPresentIntervals(const gfx::DeviceCaps& caps, FormatCombo& combo);
    bool Accepts(const gfx::DeviceCaps& caps, VertexProcessing kind, gfx::Format backBuffer);

    gfx::GraphicsApi* graphics_ = nullptr;
    DeviceAcceptance acceptance_;
    std::vector<AdapterEntry> adapters_;
};

}  // namespace tetrakon
