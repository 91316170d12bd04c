#include "gfxutil/xfile/xfile_frames.h"

#include <iterator>
#include <memory>
#include <string>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile_reader_parser.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {
namespace {

bool IsType(const XDataObject& object, const char* templateName) {
    return EqualsIgnoringCase(object.templateName, templateName);
}

XStatus Malformed(const std::string& message) {
    return XStatus{XError::Syntax, message};
}

XStatus ReadTransform(const XDataObject& object, Matrix* out) {
    if (object.values.size() < 16) {
        return Malformed("FrameTransformMatrix needs 16 numbers, has " +
                         std::to_string(object.values.size()));
    }
    for (int i = 0; i < 16; ++i) {
        const XValue& value = object.values[static_cast<std::size_t>(i)];
        if (value.kind() == XValue::Kind::String) {
            return Malformed("FrameTransformMatrix holds a string");
        }
        out->m[i / 4][i % 4] = value.AsFloat();
    }
    return {};
}

// The last FrameTransformMatrix among `objects` (nested ones only: a reference to one is
// refused where the children are walked); `found` tells whether there was one.
template <typename Objects, typename Get>
XStatus LastTransform(const Objects& objects, Get get, Matrix* out, bool* found) {
    *found = false;
    for (auto it = std::rbegin(objects); it != std::rend(objects); ++it) {
        const XDataObject* object = get(*it);
        if (object != nullptr && IsType(*object, "FrameTransformMatrix")) {
            *found = true;
            return ReadTransform(*object, out);
        }
    }
    return {};
}

class FrameWalk {
  public:
    explicit FrameWalk(XFrameVisitor* visitor) : visitor_(visitor) {}

    XStatus TopLevel(const XFile& file) {
        Matrix root;
        bool found = false;
        const auto nested = [](const std::unique_ptr<XDataObject>& object) { return object.get(); };
        if (XStatus s = LastTransform(file.objects, nested, &root, &found); !s.ok())
            return s;
        if (found) {
            if (XStatus s = visitor_->RootTransform(root); !s.ok())
                return s;
        }
        for (const auto& object : file.objects) {
            if (object == nullptr)
                continue;
            if (XStatus s = Place(*object); !s.ok())
                return s;
        }
        return {};
    }

  private:
    // A Frame or Mesh where it is written; other objects place nothing.
    XStatus Place(const XDataObject& object) {
        if (IsType(object, "Frame"))
            return Frame(object);
        if (IsType(object, "Mesh"))
            return visitor_->VisitMesh(object);
        return {};
    }

    XStatus Frame(const XDataObject& frame) {
        if (depth_ >= kMaxXObjectDepth) {
            return XStatus{XError::TooLarge,
                           "frames nested deeper than " + std::to_string(kMaxXObjectDepth)};
        }
        Matrix transform;
        bool found = false;
        const auto nested = [](const XChild& child) { return child.object.get(); };
        if (XStatus s = LastTransform(frame.children, nested, &transform, &found); !s.ok())
            return s;
        if (XStatus s = visitor_->EnterFrame(frame, transform); !s.ok())
            return s;
        ++depth_;
        for (const XChild& child : frame.children) {
            if (child.IsReference()) {
                return Malformed("Frame " + PrintableXName(frame.name) + " refers to '" +
                                 PrintableXName(child.referenceName) +
                                 "': a frame's children must be written out");
            }
            if (XStatus s = Place(*child.object); !s.ok())
                return s;
        }
        --depth_;
        visitor_->LeaveFrame();
        return {};
    }

    XFrameVisitor* visitor_;
    int depth_ = 0;
};

}  // namespace

XStatus WalkFrames(const XFile& file, XFrameVisitor* visitor) {
    return FrameWalk(visitor).TopLevel(file);
}

}  // namespace tetrakon
