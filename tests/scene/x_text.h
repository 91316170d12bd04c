#pragma once

// Small X files written as text, for loading the scene graph without model resources.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfxutil/matrix.h"

namespace tetrakon::xtext {

inline std::string Number(float value) {
    return std::to_string(value);
}

inline std::string Header() {
    return "xof 0303txt 0032\n";
}

// One material per entry: diffuse (tag, 0.25, 0.5, alpha), power 8, specular (0.1, 0.2,
// 0.3), emissive (0.4, 0.5, 0.6). `tag` tells the materials apart.
struct MaterialSample {
    float tag = 1.0f;
    float alpha = 1.0f;
};

inline std::string MaterialText(const MaterialSample& sample) {
    return "Material {\n " + Number(sample.tag) + ";0.25;0.5;" + Number(sample.alpha) +
           ";;\n 8.0;\n 0.1;0.2;0.3;;\n 0.4;0.5;0.6;;\n}\n";
}

// A mesh of one separate triangle per material, the triangle of material i at x = i:
// vertices (i, 0, 0), (i + 1, 0, 0), (i, 1, 0). Faces are written in reverse material
// order so that loading has to sort them.
inline std::string MeshText(const std::string& name, const std::vector<MaterialSample>& materials) {
    const std::size_t count = materials.size();
    std::string text = "Mesh " + name + " {\n " + std::to_string(count * 3) + ";\n";
    for (std::size_t i = 0; i < count; ++i) {
        const std::string x = Number(static_cast<float>(i));
        const std::string x1 = Number(static_cast<float>(i + 1));
        text += " " + x + ";0.0;0.0;,\n " + x1 + ";0.0;0.0;,\n " + x + ";1.0;0.0;" +
                (i + 1 == count ? ";\n" : ",\n");
    }
    text += " " + std::to_string(count) + ";\n";
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = count - 1 - k;
        text += " 3;" + std::to_string(i * 3) + "," + std::to_string(i * 3 + 1) + "," +
                std::to_string(i * 3 + 2) + ";" + (k + 1 == count ? ";\n" : ",\n");
    }
    text +=
        " MeshMaterialList {\n " + std::to_string(count) + ";\n " + std::to_string(count) + ";\n";
    for (std::size_t k = 0; k < count; ++k) {
        text += " " + std::to_string(count - 1 - k) + (k + 1 == count ? ";;\n" : ",\n");
    }
    for (const MaterialSample& material : materials) {
        text += MaterialText(material);
    }
    text += " }\n}\n";
    return text;
}

inline std::string TransformText(const Matrix& matrix) {
    std::string text = "FrameTransformMatrix {\n ";
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            text += Number(matrix.m[row][column]);
            text += (row == 3 && column == 3) ? ";;\n" : ",";
        }
    }
    return text + "}\n";
}

inline std::string FrameText(const std::string& name, const std::string& body) {
    return "Frame " + name + " {\n" + body + "}\n";
}

inline std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace tetrakon::xtext
