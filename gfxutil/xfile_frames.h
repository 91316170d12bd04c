#pragma once

// One reading of an X file's frame tree, shared by every loader that places meshes by their
// frames (the scene hierarchy and the merged mesh), so that all of them place the same
// mesh at the same spot.
//
// The reading:
// - A frame has one transform. When a Frame holds several FrameTransformMatrix objects the
//   last one counts, as if each had replaced the one before; a frame without one has the
//   identity. The file's top level is the body of the root frame: a FrameTransformMatrix
//   there is the root's.
// - A reference among a frame's children places the named Frame or Mesh there, as if it
//   were written out in that place (the format's way of using one mesh in several frames).
//   A reference to anything else, or to nothing in the file, makes the file unreadable, as
//   does a frame that would end up inside itself.
// - Nested objects of any other type (materials, animation data, ...) place nothing.

#include <cstddef>

#include "gfxutil/matrix.h"
#include "gfxutil/xfile.h"

namespace tetrakon {

// What a walk meets, in file order. A failure from any call stops the walk and is its result.
class XFrameVisitor {
  public:
    virtual ~XFrameVisitor() = default;

    // The root's transform, called once before anything else when the top level gives one.
    virtual XStatus RootTransform(const Matrix& transform) = 0;
    // A frame begins; `transform` places it in its parent (the root at the top level).
    virtual XStatus EnterFrame(const XDataObject& frame, const Matrix& transform) = 0;
    // A mesh of the innermost frame not yet left (the root's at the top level).
    virtual XStatus VisitMesh(const XDataObject& mesh) = 0;
    // The frame entered last ends.
    virtual void LeaveFrame() = 0;
};

// The frame tree of `file` as read above. Fails (Syntax) on a malformed transform or
// reference, and (TooLarge) when references place more than kMaxReferencedPlacements frames
// and meshes or nest frames deeper than the reader nests objects.
XStatus WalkFrames(const XFile& file, XFrameVisitor* visitor);

// Far beyond what the game's models or any exporter's files refer to; it bounds the work of
// a file whose references each repeat what another places, which would otherwise grow
// exponentially with the file.
constexpr std::size_t kMaxReferencedPlacements = 1u << 14;

}  // namespace tetrakon
