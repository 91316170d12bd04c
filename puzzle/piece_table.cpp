#include "puzzle/piece_table.h"

#include "scene/scene_frame.h"

namespace tetrakon {

namespace {

constexpr std::array<const char*, kPieceSlotCount> kSlotNames = {
    "Cone01",   "Cone02",   "Cone03",   "Cone04",   "Cone05",   "Cone06",   "Cone07",   "Cone08",
    "Cone09",   "Cone10",   "Cone11",   "Cone12",   "Cone13",   "Cone14",   "Cone15",   "Cone16",
    "Cone17",   "Cone18",   "Cone19",   "Cone20",   "Cone21",   "Cone22",   "Gengon01", "Gengon02",
    "Gengon03", "Gengon04", "Gengon05", "Gengon06", "Gengon07", "Gengon08", "Gengon09", "Gengon10",
    "Gengon11", "Gengon12", "Gengon13", "Gengon14", "Gengon15", "Gengon16", "Gengon17", "Gengon18",
    "Gengon19", "Gengon20", "Gengon21", "Gengon22", "Gengon23", "Gengon24", "Gengon25", "Gengon26",
    "Gengon27", "Gengon28", "Gengon29", "Gengon30", "Gengon31", "Gengon32", "Gengon33", "Gengon34",
    "Gengon35", "Gengon36"};

}  // namespace

const char* PieceSlotName(int slot) {
    if (slot < 0 || slot >= kPieceSlotCount) {
        return "";
    }
    return kSlotNames[static_cast<std::size_t>(slot)];
}

Result PieceTable::Bind(SceneFrame& root) {
    bound_ = false;
    std::array<Matrix*, kPieceSlotCount> found{};
    for (int slot = 0; slot < kPieceSlotCount; ++slot) {
        SceneFrame* frame = root.FindFrame(PieceSlotName(slot));
        if (frame == nullptr) {
            return kPieceFrameMissing;
        }
        found[static_cast<std::size_t>(slot)] = &frame->matrix;
    }
    slots_ = found;
    bound_ = true;
    return S_OK;
}

void PieceTable::Unbind() {
    slots_.fill(nullptr);
    bound_ = false;
}

void PieceTable::ApplyToAllPieces(const Matrix& m) {
    if (!bound_) {
        return;
    }
    for (Matrix* slot : slots_) {
        *slot = *slot * m;
    }
}

}  // namespace tetrakon
