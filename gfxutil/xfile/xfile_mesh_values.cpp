#include "gfxutil/xfile/xfile_mesh_values.h"

#include <cmath>
#include <utility>

namespace tetrakon {

XStatus BadMesh(const std::string& message) {
    return XStatus{XError::BadMesh, message};
}

ValueCursor::ValueCursor(const XDataObject& object, std::string what)
    : values_(object.values), what_(std::move(what)) {}

XStatus ValueCursor::Count(const char* name, std::uint32_t* out) {
    if (pos_ >= values_.size())
        return BadMesh(what_ + ": " + name + " is missing");
    const XValue& value = values_[pos_++];
    double number = 0;
    if (value.kind() == XValue::Kind::Integer) {
        number = static_cast<double>(value.integer());
    } else if (value.kind() == XValue::Kind::Float &&
               std::floor(value.number()) == value.number()) {
        number = value.number();
    } else {
        return BadMesh(what_ + ": " + name + " is not a whole number");
    }
    if (number < 0 || number >= 2147483648.0) {
        return BadMesh(what_ + ": " + name + " out of range");
    }
    *out = static_cast<std::uint32_t>(number);
    return {};
}

XStatus ValueCursor::ItemCount(const char* name, std::size_t valuesPer, std::uint32_t* out) {
    if (XStatus s = Count(name, out); !s.ok())
        return s;
    if (*out > Left() / valuesPer) {
        return BadMesh(what_ + ": " + name + " " + std::to_string(*out) +
                       " is more than the data holds");
    }
    return {};
}

XStatus ValueCursor::Number(float* out) {
    if (pos_ >= values_.size())
        return BadMesh(what_ + ": data ends early");
    const XValue& value = values_[pos_++];
    if (value.kind() == XValue::Kind::String)
        return BadMesh(what_ + ": string where a number belongs");
    *out = value.AsFloat();
    return {};
}

XStatus ValueCursor::Index(std::uint32_t limit, const char* name, std::uint32_t* out) {
    if (XStatus s = Count(name, out); !s.ok())
        return s;
    if (*out >= limit) {
        return BadMesh(what_ + ": " + name + " " + std::to_string(*out) + " is past " +
                       std::to_string(limit) + " entries");
    }
    return {};
}

XStatus ReadPolygons(ValueCursor* cursor, std::uint32_t indexLimit, const char* what,
                     Polygons* out) {
    std::uint32_t count = 0;
    if (XStatus s = cursor->ItemCount(what, 1, &count); !s.ok())
        return s;
    out->start.assign(1, 0);
    out->start.reserve(std::size_t{count} + 1);
    for (std::uint32_t face = 0; face < count; ++face) {
        std::uint32_t size = 0;
        if (XStatus s = cursor->ItemCount("face size", 1, &size); !s.ok())
            return s;
        if (size < 3)
            return BadMesh(std::string(what) + ": a face has fewer than 3 corners");
        for (std::uint32_t k = 0; k < size; ++k) {
            std::uint32_t index = 0;
            if (XStatus s = cursor->Index(indexLimit, "vertex index", &index); !s.ok())
                return s;
            out->corners.push_back(index);
        }
        out->start.push_back(static_cast<std::uint32_t>(out->corners.size()));
    }
    return {};
}

XStatus ReadVectors(ValueCursor* cursor, const char* what, std::vector<Vec3>* out) {
    std::uint32_t count = 0;
    if (XStatus s = cursor->ItemCount(what, 3, &count); !s.ok())
        return s;
    out->resize(count);
    for (Vec3& v : *out) {
        if (XStatus s = cursor->Number(&v.x); !s.ok())
            return s;
        if (XStatus s = cursor->Number(&v.y); !s.ok())
            return s;
        if (XStatus s = cursor->Number(&v.z); !s.ok())
            return s;
    }
    return {};
}

}  // namespace tetrakon
