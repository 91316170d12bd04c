#include "puzzle/layer_band.h"

namespace tetrakon {

namespace {

bool TipAtMaximum(int axis) {
    return axis == 1 || axis == 3;
}

}  // namespace

bool InLayerBand(int axis, int layer, float u, const LayerExtremes& extremes) {
    const float cmin = extremes.cmin;
    const float cmax = extremes.cmax;
    if (TipAtMaximum(axis)) {
        switch (layer) {
            case 1:
                return cmax - 1.7f < u && u < cmax + 1.7f;
            case 2:
                return cmin + 6.0f < u && u < cmax - 2.0f;
            case 3:
                return u < cmin + 6.0f;
            default:
                return false;
        }
    }
    switch (layer) {
        case 1:
            return cmin - 1.7f < u && u < cmin + 1.7f;
        case 2:
            return cmin + 2.0f < u && u < cmax - 6.0f;
        case 3:
            return u > cmax - 6.0f;
        default:
            return false;
    }
}

}  // namespace tetrakon
