#include "puzzle/working_frame.h"

#include "puzzle/puzzle_geometry.h"

namespace tetrakon {

Matrix WorkingFrame(int axis) {
    Matrix w = Matrix::Identity();
    switch (axis) {
        case 1:
            w = w * MatrixTranslation(0, 0, 0);
            break;
        case 2:
            w = w * MatrixRotationY(-kThirtyDegrees);
            w = w * MatrixRotationZ(-kPhi);
            w = w * MatrixTranslation(0, kWorkingFrameLift, 0);
            break;
        case 3:
            w = w * MatrixRotationY(kThirtyDegrees);
            w = w * MatrixRotationZ(kPhi);
            w = w * MatrixTranslation(0, kWorkingFrameLift, 0);
            break;
        case 4:
            w = w * MatrixRotationX(kPhi);
            w = w * MatrixTranslation(0, kWorkingFrameLift, 0);
            break;
        default:
            break;
    }
    return w;
}

Matrix WorkingFrameBack(int axis) {
    Matrix w = Matrix::Identity();
    switch (axis) {
        case 1:
            w = w * MatrixTranslation(0, 0, 0);
            break;
        case 2:
            w = w * MatrixTranslation(0, -kWorkingFrameLift, 0);
            w = w * MatrixRotationZ(kPhi);
            w = w * MatrixRotationY(kThirtyDegrees);
            break;
        case 3:
            w = w * MatrixTranslation(0, -kWorkingFrameLift, 0);
            w = w * MatrixRotationZ(-kPhi);
            w = w * MatrixRotationY(-kThirtyDegrees);
            break;
        case 4:
            w = w * MatrixTranslation(0, -kWorkingFrameLift, 0);
            w = w * MatrixRotationX(-kPhi);
            break;
        default:
            break;
    }
    return w;
}

float MeasuredCoordinate(int axis, const Matrix& frameInWorkingFrame) {
    switch (axis) {
        case 1:
            return frameInWorkingFrame.m[3][1];
        case 4:
            return frameInWorkingFrame.m[3][2];
        default:
            return frameInWorkingFrame.m[3][0];
    }
}

int TurnSign(int axis, int flag) {
    const int flagZeroSign = (axis == 2 || axis == 3) ? 1 : -1;
    return flag == 0 ? flagZeroSign : -flagZeroSign;
}

float StepAngle(int axis, int flag, int steps) {
    const int degrees = TurnSign(axis, flag) * 120 / steps;
    return static_cast<float>(degrees) * kRadiansPerDegree;
}

Matrix StepRotation(int axis, float angle) {
    switch (axis) {
        case 1:
            return MatrixRotationY(angle);
        case 4:
            return MatrixRotationZ(angle);
        default:
            return MatrixRotationX(angle);
    }
}

}  // namespace tetrakon
