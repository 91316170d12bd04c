#pragma once

// Helpers for the model tests: the committed model files, frames and their meshes in model
// space, and the pyramid's face planes worked out from its corners.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gfxutil/matrix.h"
#include "gfxutil/mesh.h"
#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_mesh.h"

namespace tetrakon::modeltest {

inline std::string CommittedModelPath(const std::string& fileName) {
    return std::string(TETRAKON_SOURCE_DIR) + "/resources/models/" + fileName;
}

inline Vec3 Corner(int axis) {
    constexpr float kCorners[4][3] = {{0.0f, 18.856f, 0.0f},
                                      {-17.32f, -9.428f, 10.0f},
                                      {17.32f, -9.428f, 10.0f},
                                      {0.0f, -9.428f, -20.0f}};
    return {kCorners[axis - 1][0], kCorners[axis - 1][1], kCorners[axis - 1][2]};
}

// The face without the vertex of missingAxis: outward unit normal and offset.
struct Plane {
    Vec3 normal;
    float offset = 0;
    float Outside(Vec3 p) const { return Dot(normal, p) - offset; }
};

inline Plane FacePlaneWithout(int missingAxis) {
    std::vector<Vec3> corners;
    for (int axis = 1; axis <= 4; ++axis) {
        if (axis != missingAxis)
            corners.push_back(Corner(axis));
    }
    Vec3 normal = Normalize(Cross(corners[1] - corners[0], corners[2] - corners[0]));
    if (Dot(normal, corners[0] - Corner(missingAxis)) < 0)
        normal = normal * -1.0f;
    return {normal, Dot(normal, corners[0])};
}

struct ModelTriangle {
    Vec3 corner[3];
    const Material* material = nullptr;
    Vec3 Centroid() const { return (corner[0] + corner[1] + corner[2]) * (1.0f / 3.0f); }
    Vec3 Facing() const { return Cross(corner[1] - corner[0], corner[2] - corner[0]); }
};

// The triangles of one frame's mesh, placed in model space by the frame's matrix.
inline std::vector<ModelTriangle> ModelSpaceTriangles(const FramedMesh& framed) {
    std::vector<ModelTriangle> triangles;
    for (std::size_t f = 0; f < framed.mesh.faces.size(); ++f) {
        ModelTriangle triangle;
        for (int i = 0; i < 3; ++i) {
            triangle.corner[i] =
                TransformCoord(framed.mesh.positions[framed.mesh.faces[f].index[i]], framed.world);
        }
        triangle.material = &framed.mesh.materials[framed.mesh.faceMaterial[f]];
        triangles.push_back(triangle);
    }
    return triangles;
}

// The top-level frames of a file: name and the 16 values of its FrameTransformMatrix.
struct FrameEntry {
    std::string name;
    std::vector<float> matrix;
};

inline std::vector<FrameEntry> TopLevelFrames(const XFile& file) {
    std::vector<FrameEntry> frames;
    for (const auto& object : file.objects) {
        if (object->templateName != "Frame")
            continue;
        FrameEntry entry{object->name, {}};
        for (const XChild& child : object->children) {
            if (child.object && child.object->templateName == "FrameTransformMatrix") {
                for (const XValue& value : child.object->values) {
                    entry.matrix.push_back(value.AsFloat());
                }
            }
        }
        frames.push_back(entry);
    }
    return frames;
}

inline bool SameColour(const ColorValue& c, float r, float g, float b) {
    return c.r == r && c.g == g && c.b == b && c.a == 1.0f;
}

}  // namespace tetrakon::modeltest
