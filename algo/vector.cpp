// Magnitude and normalisation of the shared 2D and 3D vectors.
#include "algo/vector.h"

#include <cmath>

namespace zor2 {

namespace {

/// Divides by the magnitude unless it is within the tolerance (so a zero vector
/// stays zero), then zeroes every component within the tolerance.
template <size_t N>
void NormalizeComponents(double* (&v)[N], double tolerance) {
    double sum = 0.0;
    for (double* c : v) sum += *c * *c;
    double m = std::sqrt(sum);
    if (m <= tolerance) m = 1.0;
    for (double* c : v) {
        *c /= m;
        if (std::fabs(*c) <= tolerance) *c = 0.0;
    }
}

}  // namespace

double CVector2::Magnitude() const {
    return std::sqrt(m_x * m_x + m_y * m_y);
}

void CVector2::Normalize() {
    double* v[] = {&m_x, &m_y};
    NormalizeComponents(v, m_tolerance);
}

double CVector3::Magnitude() const {
    return std::sqrt(m_x * m_x + m_y * m_y + m_z * m_z);
}

void CVector3::Normalize() {
    double* v[] = {&m_x, &m_y, &m_z};
    NormalizeComponents(v, m_tolerance);
}

}  // namespace zor2
