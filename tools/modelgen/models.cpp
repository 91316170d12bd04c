#include "tools/modelgen/models.h"

#include <fstream>
#include <vector>

#include "tools/modelgen/block_shapes.h"
#include "tools/modelgen/model_writer.h"
#include "tools/modelgen/solved_geometry.h"
#include "tools/modelgen/stickers.h"
#include "tools/modelgen/targets.h"

namespace tetrakon::modelgen {
namespace {

std::vector<ModelPart> Blocks() {
    std::vector<ModelPart> parts;
    for (int block = 0; block < kBlockCount; ++block) {
        parts.push_back(BuildBlock(block));
    }
    return parts;
}

}  // namespace

XFile BuildPuzzleModel() {
    std::vector<ModelPart> parts = Blocks();
    for (int sticker = 0; sticker < kStickerCount; ++sticker) {
        parts.push_back(BuildSticker(sticker));
    }
    return BuildModelFile(parts);
}

XFile BuildHullModel() {
    return BuildModelFile(Blocks());
}

XFile BuildTargetModel() {
    const std::vector<TargetTriangle> targets = BuildTargetTriangles();
    std::vector<ModelPart> parts;
    for (std::size_t plane = 0; plane < targets.size(); ++plane) {
        parts.push_back(BuildTargetPart(targets[plane], static_cast<int>(plane)));
    }
    return BuildModelFile(parts);
}

XStatus ModelText(int model, std::string* text) {
    switch (model) {
        case 0:
            return WriteXFileText(BuildPuzzleModel(), text);
        case 1:
            return WriteXFileText(BuildHullModel(), text);
        case 2:
            return WriteXFileText(BuildTargetModel(), text);
        default:
            return {XError::WriteFailed, "no such model"};
    }
}

XStatus WriteModelFiles(const std::string& directory) {
    for (int model = 0; model < 3; ++model) {
        std::string text;
        if (XStatus status = ModelText(model, &text); !status.ok()) {
            return status;
        }
        const std::string path = directory + "/" + kModelFileNames[model];
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            return {XError::WriteFailed, "cannot write " + path};
        }
    }
    return {};
}

}  // namespace tetrakon::modelgen
