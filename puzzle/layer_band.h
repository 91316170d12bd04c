#pragma once

// Which frames belong to a layer, from their coordinate u along the axis inside the axis's
// working frame (working_frame.h), compared with the current extent of the blocks.

namespace tetrakon {

// The extent of the blocks along the axis. The starting values are the ones every layer
// test has always used; any block coordinate beyond them replaces them.
struct LayerExtremes {
    float cmin = 20.0f;
    float cmax = -20.0f;

    void Include(float u) {
        if (u > cmax) {
            cmax = u;
        }
        if (u < cmin) {
            cmin = u;
        }
    }
};

// Strict band tests. The tip band lies within 1.7 of the tip-side extreme (the maximum
// for axes 1 and 3, the minimum for axes 2 and 4); the middle band more than 2 inside the
// tip-side extreme and more than 6 inside the far one; the far band within 6 of the far
// extreme.
bool InLayerBand(int axis, int layer, float u, const LayerExtremes& extremes);

}  // namespace tetrakon
