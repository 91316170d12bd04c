#include "gfxutil/quaternion.h"

namespace tetrakon {

Quaternion QuaternionMultiply(const Quaternion& q, const Quaternion& d) {
    return {d.w * q.x + d.x * q.w + d.y * q.z - d.z * q.y,
            d.w * q.y - d.x * q.z + d.y * q.w + d.z * q.x,
            d.w * q.z + d.x * q.y - d.y * q.x + d.z * q.w,
            d.w * q.w - d.x * q.x - d.y * q.y - d.z * q.z};
}

Matrix MatrixRotationQuaternion(const Quaternion& q) {
    Matrix out;
    out.m[0][0] = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    out.m[0][1] = 2.0f * (q.x * q.y + q.z * q.w);
    out.m[0][2] = 2.0f * (q.x * q.z - q.y * q.w);
    out.m[1][0] = 2.0f * (q.x * q.y - q.z * q.w);
    out.m[1][1] = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    out.m[1][2] = 2.0f * (q.y * q.z + q.x * q.w);
    out.m[2][0] = 2.0f * (q.x * q.z + q.y * q.w);
    out.m[2][1] = 2.0f * (q.y * q.z - q.x * q.w);
    out.m[2][2] = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    return out;
}

}  // namespace tetrakon
