#pragma once

#include <array>

#include "gfxutil/matrix.h"
#include "gfxutil/result.h"
#include "gfxutil/vector.h"

namespace tetrakon {

class SceneFrame;

constexpr int kPieceSlotCount = 58;
// Slots 0 to 21 hold the blocks, the reference set for every layer test.
constexpr int kBlockSlotCount = 22;

// A model that lacks one of the 58 piece frames is refused with this code, the
// framework's "required media missing" code, so that the user is told the model could
// not be loaded.
constexpr Result kPieceFrameMissing = MediaMissing;

// The frame name of a slot: "Cone01" to "Cone22" for slots 0 to 21, "Gengon01" to
// "Gengon36" for slots 22 to 57.
const char* PieceSlotName(int slot);

// References to the transform matrices of the 58 piece frames, in the fixed slot order
// of PieceSlotName. The scene graph owns the frames; the table owns nothing. While the
// table is not bound (before the first successful Bind, after Unbind or a refused model)
// nothing reads or writes through it.
class PieceTable {
  public:
    // Looks every slot's name up in `root` (case-insensitive, depth first). When one is
    // missing the model is refused: kPieceFrameMissing, and the table is left unbound.
    Result Bind(SceneFrame& root);
    // Forgets the frames, for example because the scene graph is about to discard them.
    void Unbind();
    bool bound() const { return bound_; }

    // The slot's matrix. Only while bound.
    Matrix& matrix(int slot) { return *slots_[static_cast<std::size_t>(slot)]; }
    const Matrix& matrix(int slot) const { return *slots_[static_cast<std::size_t>(slot)]; }
    // The translation row of the slot's matrix. Only while bound.
    Vec3 Position(int slot) const { return matrix(slot).TranslationRow(); }

    // matrix <- matrix x m for slot 0 to 57 in order. Does nothing while unbound.
    void ApplyToAllPieces(const Matrix& m);

  private:
    std::array<Matrix*, kPieceSlotCount> slots_{};
    bool bound_ = false;
};

}  // namespace tetrakon
