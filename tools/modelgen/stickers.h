#pragma once

#include "tools/modelgen/model_part.h"

namespace tetrakon::modelgen {

// The sticker slab in its own coordinates: a triangle between y = 0 and y = kStickerThickness.
constexpr float kStickerThickness = 0.1f;
constexpr Vec3 kStickerCorners[3] = {
    {6.4f, 0.0f, 0.0f}, {-3.2f, 0.0f, 5.543f}, {-3.2f, 0.0f, -5.543f}};

// Sticker k (0 is "Gengon01"): the closed slab, two caps and three sides, eight triangles
// in the colour of its face. Base and blue stickers store the slab as it is; the red and
// yellow ones store it as placed in model space (see stickers.cpp), so their vertices
// differ from it by up to 0.81.
ModelPart BuildSticker(int sticker);

}  // namespace tetrakon::modelgen
