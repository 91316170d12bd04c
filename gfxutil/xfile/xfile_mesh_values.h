#pragma once

// The flat values of the mesh data objects, read in order and checked against what is
// left: the reading step shared by the mesh, its normals, texture coordinates and
// materials.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfxutil/vector.h"
#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// A mesh that does not make sense, with `message` saying where.
XStatus BadMesh(const std::string& message);

// Reads one object's flat values in order, checking each against what is left.
class ValueCursor {
  public:
    ValueCursor(const XDataObject& object, std::string what);

    std::size_t Left() const { return values_.size() - pos_; }

    // A non-negative whole number below 2^31.
    XStatus Count(const char* name, std::uint32_t* out);
    // A count of items that each take `valuesPer` values, all of which must follow.
    XStatus ItemCount(const char* name, std::size_t valuesPer, std::uint32_t* out);
    XStatus Number(float* out);
    // A count below `limit`.
    XStatus Index(std::uint32_t limit, const char* name, std::uint32_t* out);

  private:
    const std::vector<XValue>& values_;
    std::size_t pos_ = 0;
    std::string what_;
};

// Polygons as a flat corner list with one start offset per polygon.
struct Polygons {
    std::vector<std::uint32_t> start;  // size count + 1
    std::vector<std::uint32_t> corners;
    std::size_t Count() const { return start.size() - 1; }
    std::uint32_t Size(std::size_t i) const { return start[i + 1] - start[i]; }
};

// A polygon count, then each polygon's corner count (at least 3) and its corners, each an
// index below `indexLimit`.
XStatus ReadPolygons(ValueCursor* cursor, std::uint32_t indexLimit, const char* what,
                     Polygons* out);

// A vector count, then three numbers for each vector.
XStatus ReadVectors(ValueCursor* cursor, const char* what, std::vector<Vec3>* out);

// The object a child stands for: the nested object, or the one a reference points to.
inline const XDataObject* Target(const XChild& child) {
    return child.object ? child.object.get() : child.resolved;
}

}  // namespace tetrakon
