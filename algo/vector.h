// CVector2 and CVector3: the two- and three-dimensional vectors of the vector
// components, shared by the designer and the runtime library.
#pragma once

#include <cstdint>

namespace zor2 {

/// A 2D vector. The tolerance (1e-5 in single precision) is used only by
/// normalisation: a shorter vector is not scaled, and components within it become 0.
class CVector2 {
  public:
    CVector2() = default;
    CVector2(double x, double y) : m_x(x), m_y(y) {}
    CVector2(const CVector2&) = default;
    CVector2& operator=(const CVector2&) = default;
    virtual ~CVector2() = default;

    double Magnitude() const;
    /// Scales to length 1 in place; a vector no longer than the tolerance keeps its length.
    void Normalize();
    double Dot(const CVector2& b) const { return m_x * b.m_x + m_y * b.m_y; }
    /// The z component of the cross product of the two vectors taken in the plane.
    double Cross(const CVector2& b) const { return m_x * b.m_y - b.m_x * m_y; }
    CVector2 operator+(const CVector2& b) const { return {m_x + b.m_x, m_y + b.m_y}; }
    CVector2 operator-(const CVector2& b) const { return {m_x - b.m_x, m_y - b.m_y}; }

    // Identity block, as every engine object carries it.
    int32_t m_id = 0;
    int32_t m_nodeKind = 0;
    bool m_selected = false;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_tolerance = static_cast<double>(1e-5f);
};

/// A 3D vector; its tolerance is 1e-6 in single precision.
class CVector3 {
  public:
    CVector3() = default;
    CVector3(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}
    CVector3(const CVector3&) = default;
    CVector3& operator=(const CVector3&) = default;
    virtual ~CVector3() = default;

    double Magnitude() const;
    void Normalize();
    double Dot(const CVector3& b) const { return m_x * b.m_x + m_y * b.m_y + m_z * b.m_z; }
    CVector3 Cross(const CVector3& b) const {
        return {m_y * b.m_z - m_z * b.m_y, m_z * b.m_x - m_x * b.m_z, m_x * b.m_y - m_y * b.m_x};
    }
    CVector3 operator+(const CVector3& b) const { return {m_x + b.m_x, m_y + b.m_y, m_z + b.m_z}; }
    CVector3 operator-(const CVector3& b) const { return {m_x - b.m_x, m_y - b.m_y, m_z - b.m_z}; }

    int32_t m_id = 0;
    int32_t m_nodeKind = 0;
    bool m_selected = false;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
    double m_tolerance = static_cast<double>(1e-6f);
};

}  // namespace zor2
