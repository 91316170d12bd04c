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
// - A reference among a frame's children makes the file unreadable: the game's loaders
//   have always wanted a frame's children written out in place.
// - Nested objects of any other type (materials, animation data, ...) place nothing.

#include "gfxutil/matrix.h"
#include "gfxutil/xfile/xfile.h"

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

// The frame tree of `file` as read above. Fails (Syntax) on a malformed transform or a
// reference among a frame's children, and (TooLarge) on frames nested deeper than the
// reader nests objects.
XStatus WalkFrames(const XFile& file, XFrameVisitor* visitor);

}  // namespace tetrakon
