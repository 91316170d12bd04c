#include "scene/view_rotation.h"

#include <cmath>

namespace tetrakon {

namespace {

// Below this length the sum of two unit vectors counts as zero: the directions are opposite
// and their half-way direction is undefined.
constexpr float kOppositeTolerance = 1e-6f;

// A unit axis perpendicular to the unit vector given. The view axis is preferred, so that a
// drag between opposite points of the ball's rim turns the pyramid in the screen's plane.
Vec3 PerpendicularAxis(Vec3 unit) {
    Vec3 axis = Vec3{0, 0, 1} - unit * unit.z;
    if (Length(axis) < 0.5f) {
        axis = Vec3{1, 0, 0} - unit * unit.x;
    }
    return Normalize(axis);
}

}  // namespace

void ViewRotation::Reset() {
    downQuat_ = Quaternion{};
    nowQuat_ = Quaternion{};
    rotation_ = Matrix::Identity();
    dragging_ = false;
}

void ViewRotation::SetWindow(std::int32_t width, std::int32_t height, float radius) {
    width_ = width;
    height_ = height;
    radius_ = radius;
}

Vec3 ViewRotation::ScreenToBall(float x, float y) const {
    // Before the drawing area has a size there is no ball; every pixel maps to its centre,
    // so a drag turns nothing.
    if (width_ <= 0 || height_ <= 0 || !(radius_ > 0.0f)) {
        return {0, 0, 1};
    }
    const float halfWidth = static_cast<float>(width_ / 2);
    const float halfHeight = static_cast<float>(height_ / 2);
    const float vx = (halfWidth - x) / (static_cast<float>(width_) * radius_ * 0.5f);
    const float vy = (y - halfHeight) / (static_cast<float>(height_) * radius_ * 0.5f);
    const float m = vx * vx + vy * vy;
    if (m > 1.0f) {
        const float k = 1.0f / std::sqrt(m);
        return {vx * k, vy * k, 0};
    }
    return {vx, vy, std::sqrt(1.0f - m)};
}

Quaternion ViewRotation::AxisToAxis(Vec3 a, Vec3 b) {
    const Vec3 from = Normalize(a);
    const Vec3 to = Normalize(b);
    if (Length(from) == 0.0f || Length(to) == 0.0f) {
        return Quaternion{};
    }
    const Vec3 sum = from + to;
    if (Length(sum) < kOppositeTolerance) {
        // Half a turn about any axis perpendicular to `from` turns it into `to`.
        const Vec3 axis = PerpendicularAxis(from);
        return {axis.x, axis.y, axis.z, 0};
    }
    const Vec3 half = Normalize(sum);
    const Vec3 axis = Cross(from, half);
    return {axis.x, axis.y, axis.z, Dot(from, half)};
}

void ViewRotation::HandleMessage(const ViewMessage& message) {
    const float x = message.x;
    const float y = message.y;
    switch (message.kind) {
        case ViewMessageKind::RightButtonDown:
            dragging_ = true;
            downVector_ = ScreenToBall(x, y);
            downQuat_ = nowQuat_;
            break;
        case ViewMessageKind::RightButtonUp:
            dragging_ = false;
            break;
        case ViewMessageKind::MouseMove:
            if (!message.rightButtonHeld) {
                break;
            }
            // Each move starts again from the orientation at the press, so the result depends
            // only on the press point and the current point.
            if (dragging_) {
                const Quaternion drag = AxisToAxis(downVector_, ScreenToBall(x, y));
                nowQuat_ = QuaternionMultiply(downQuat_, drag);
            }
            rotation_ = MatrixRotationQuaternion(nowQuat_);
            // A move with the button held continues a drag pressed outside the window.
            dragging_ = true;
            break;
        case ViewMessageKind::Other:
            break;
    }
}

float ApplyWheel(float zoomScale, std::int32_t wheelDelta) {
    // One step per call, with the limits tested before the step, so the scale runs on the
    // grid 0.52, 0.60, ..., 1.08, 1.16. The limits are compared in double precision, as the
    // game always has: 0.6 in float lies just above 0.6, so the step below it is taken.
    constexpr float kStep = 0.08f;
    const float z = static_cast<float>(wheelDelta) * 0.01f;
    if (z == 0.0f) {
        return zoomScale;
    }
    if (static_cast<double>(zoomScale) > 0.6 && z > 0.0f) {
        zoomScale -= kStep;
    }
    if (static_cast<double>(zoomScale) < 1.1 && z < 0.0f) {
        zoomScale += kStep;
    }
    return zoomScale;
}

}  // namespace tetrakon
