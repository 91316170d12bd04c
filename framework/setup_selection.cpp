#include "framework/setup_selection.h"

#include <algorithm>

#include "framework/framework_results.h"

namespace tetrakon {

using gfx::DeviceType;

namespace {

struct Candidate {
    const AdapterEntry* adapter = nullptr;
    const DeviceEntry* device = nullptr;
    const FormatCombo* combo = nullptr;
    gfx::DisplayMode desktop;

    bool IsHal() const { return device->deviceType == DeviceType::HAL; }
};

bool DeviceTypeAllowed(const DeviceEntry& device, bool requireHal, bool requireRef) {
    if (requireHal && device.deviceType != DeviceType::HAL) {
        return false;
    }
    if (requireRef && device.deviceType != DeviceType::REF) {
        return false;
    }
    return true;
}

// The sample count wanted for smooth edges and unbroken seams between stickers.
constexpr gfx::MultisampleType kWantedSamples = 4;

// Four samples where the combination lists them, else the largest type below four it
// lists, else none; quality 0. A type the chosen depth/stencil format conflicts with is
// passed over, since the device could not be made with that pair.
gfx::MultisampleType ChooseMultisampleType(const FormatCombo& combo, gfx::Format depthStencil) {
    gfx::MultisampleType chosen = 0;
    for (gfx::MultisampleType type : combo.multisampleTypes) {
        const bool conflicts =
            std::any_of(combo.conflicts.begin(), combo.conflicts.end(), [&](const auto& conflict) {
                return conflict.depthStencilFormat == depthStencil &&
                       conflict.multisampleType == type;
            });
        if (type <= kWantedSamples && type > chosen && !conflicts) {
            chosen = type;
        }
    }
    return chosen;
}

void WriteCommonOptions(const DeviceCatalog& catalogue, const Candidate& best,
                        DisplaySetup* setup) {
    const FormatCombo& combo = *best.combo;
    setup->adapter = best.adapter;
    setup->device = best.device;
    setup->combo = best.combo;
    setup->depthStencilFormat =
        catalogue.limits.usesDepthBuffer && !combo.depthStencilFormats.empty()
            ? combo.depthStencilFormats.front()
            : gfx::Format::Unknown;
    setup->multisampleType = ChooseMultisampleType(combo, setup->depthStencilFormat);
    setup->multisampleQuality = 0;
    setup->vertexProcessing = combo.vertexProcessings.empty() ? VertexProcessing::Software
                                                              : combo.vertexProcessings.front();
}

// The mode of the best combination's adapter format closest to the desktop: its exact
// size and refresh rate, else the last mode of the desktop's width, else the first mode.
gfx::DisplayMode ChooseFullScreenMode(const Candidate& best) {
    gfx::DisplayMode chosen;
    bool taken = false;
    for (const gfx::DisplayMode& mode : best.adapter->displayModes) {
        if (mode.format != best.combo->adapterFormat) {
            continue;
        }
        if (mode.width == best.desktop.width && mode.height == best.desktop.height &&
            mode.refreshRate == best.desktop.refreshRate) {
            return mode;
        }
        if (mode.width == best.desktop.width || !taken) {
            chosen = mode;
            taken = true;
        }
    }
    return chosen;
}

}  // namespace

bool PickWindowedSetup(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                       const gfx::Rect& clientRect, bool requireHal, bool requireRef,
                       DisplaySettings* settings) {
    gfx::DisplayMode desktop;
    graphics.GetAdapterDisplayMode(0, &desktop);

    Candidate best;
    bool done = false;
    for (const AdapterEntry& adapter : catalogue.Adapters()) {
        for (const DeviceEntry& device : adapter.devices) {
            if (done || !DeviceTypeAllowed(device, requireHal, requireRef)) {
                continue;
            }
            for (const FormatCombo& combo : device.combos) {
                if (done) {
                    break;
                }
                if (!combo.windowed || combo.adapterFormat != desktop.format) {
                    continue;
                }
                const Candidate candidate{&adapter, &device, &combo, desktop};
                const bool formatsMatch = combo.adapterFormat == combo.backBufferFormat;
                if (best.combo == nullptr || (!best.IsHal() && candidate.IsHal()) ||
                    (candidate.IsHal() && formatsMatch)) {
                    best = candidate;
                    done = candidate.IsHal() && formatsMatch;
                }
            }
        }
    }
    if (best.combo == nullptr) {
        return false;
    }

    WindowedSetup& setup = settings->windowed;
    WriteCommonOptions(catalogue, best, &setup);
    setup.displayMode = desktop;
    setup.windowWidth = static_cast<std::uint32_t>(clientRect.Width());
    setup.windowHeight = static_cast<std::uint32_t>(clientRect.Height());
    setup.presentInterval = best.combo->presentIntervals.empty()
                                ? gfx::kPresentIntervalDefault
                                : best.combo->presentIntervals.front();
    settings->isWindowed = true;
    return true;
}

bool PickFullScreenSetup(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                         bool requireHal, bool requireRef, DisplaySettings* settings) {
    Candidate best;
    bool done = false;
    for (const AdapterEntry& adapter : catalogue.Adapters()) {
        if (done) {
            break;
        }
        gfx::DisplayMode desktop;
        graphics.GetAdapterDisplayMode(adapter.adapterOrdinal, &desktop);
        for (const DeviceEntry& device : adapter.devices) {
            if (done || !DeviceTypeAllowed(device, requireHal, requireRef)) {
                continue;
            }
            for (const FormatCombo& combo : device.combos) {
                if (done) {
                    break;
                }
                if (combo.windowed) {
                    continue;
                }
                const Candidate candidate{&adapter, &device, &combo, desktop};
                const bool matchesDesktop = combo.adapterFormat == desktop.format;
                const bool matchesBackBuffer = combo.adapterFormat == combo.backBufferFormat;
                const bool bestOffDesktop =
                    best.combo != nullptr && best.combo->adapterFormat != best.desktop.format;
                const bool perfect = candidate.IsHal() && matchesDesktop && matchesBackBuffer;
                if (best.combo == nullptr || (!best.IsHal() && candidate.IsHal()) ||
                    (candidate.IsHal() && bestOffDesktop && matchesDesktop) || perfect) {
                    best = candidate;
                    done = perfect;
                }
            }
        }
    }
    if (best.combo == nullptr) {
        return false;
    }

    DisplaySetup& setup = settings->fullScreen;
    WriteCommonOptions(catalogue, best, &setup);
    setup.displayMode = ChooseFullScreenMode(best);
    setup.presentInterval = gfx::kPresentIntervalDefault;
    settings->isWindowed = false;
    return true;
}

Result ChooseStartSettings(const DeviceCatalog& catalogue, gfx::GraphicsApi& graphics,
                           const gfx::Rect& clientRect, bool startFullScreen,
                           DisplaySettings* settings) {
    const bool foundFullScreen = PickFullScreenSetup(catalogue, graphics, false, false, settings);
    const bool foundWindowed =
        PickWindowedSetup(catalogue, graphics, clientRect, false, false, settings);
    if (startFullScreen && foundFullScreen) {
        settings->isWindowed = false;
    }
    if (!foundWindowed) {
        if (!foundFullScreen) {
            return NoCompatibleDevice;
        }
        settings->isWindowed = false;
    }
    return S_OK;
}

}  // namespace tetrakon
