#include "gfxutil/xfile_frames.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile_reader_parser.h"
#include "gfxutil/xfile_token.h"

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
        if (value.kind == XValue::Kind::String) {
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
    // A Frame or Mesh where it is written or referred to; other objects place nothing.
    XStatus Place(const XDataObject& object) {
        const bool frame = IsType(object, "Frame");
        if (!frame && !IsType(object, "Mesh"))
            return {};
        if (referenceDepth_ > 0 && ++placedByReference_ > kMaxReferencedPlacements) {
            return XStatus{XError::TooLarge, "references place more than " +
                                                 std::to_string(kMaxReferencedPlacements) +
                                                 " frames and meshes"};
        }
        return frame ? Frame(object) : visitor_->VisitMesh(object);
    }

    XStatus Frame(const XDataObject& frame) {
        if (std::find(open_.begin(), open_.end(), &frame) != open_.end()) {
            return Malformed("Frame " + PrintableXName(frame.name) +
                             " would be placed inside itself");
        }
        if (open_.size() >= static_cast<std::size_t>(kMaxXObjectDepth)) {
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
        open_.push_back(&frame);
        for (const XChild& child : frame.children) {
            if (XStatus s = Child(frame, child); !s.ok())
                return s;
        }
        open_.pop_back();
        visitor_->LeaveFrame();
        return {};
    }

    XStatus Child(const XDataObject& frame, const XChild& child) {
        if (!child.IsReference())
            return Place(*child.object);
        const XDataObject* target = child.resolved;
        if (target == nullptr) {
            return Malformed("Frame " + PrintableXName(frame.name) + " refers to '" +
                             PrintableXName(child.referenceName) + "', which is not in the file");
        }
        if (!IsType(*target, "Frame") && !IsType(*target, "Mesh")) {
            return Malformed("Frame " + PrintableXName(frame.name) + " refers to a " +
                             PrintableXName(target->templateName) + ", not a frame or mesh");
        }
        ++referenceDepth_;
        const XStatus placed = Place(*target);
        --referenceDepth_;
        return placed;
    }

    XFrameVisitor* visitor_;
    std::vector<const XDataObject*> open_;
    int referenceDepth_ = 0;  // references being followed around the current object
    std::size_t placedByReference_ = 0;
};

}  // namespace

XStatus WalkFrames(const XFile& file, XFrameVisitor* visitor) {
    return FrameWalk(visitor).TopLevel(file);
}

}  // namespace tetrakon
