#include "tools/modelgen/model_part.h"

namespace tetrakon::modelgen {

int MaterialIndex(ModelPart* part, const ColorValue& colour) {
    for (std::size_t i = 0; i < part->materials.size(); ++i) {
        const ColorValue& known = part->materials[i];
        if (known.r == colour.r && known.g == colour.g && known.b == colour.b &&
            known.a == colour.a) {
            return static_cast<int>(i);
        }
    }
    part->materials.push_back(colour);
    return static_cast<int>(part->materials.size() - 1);
}

}  // namespace tetrakon::modelgen
