// Tolerances of the host's geometry values, in one place with the reason for each. Drawings are
// site plans in millimetres whose coordinates reach 10^7, so absolute tolerances sit well above
// the rounding noise of doubles at that magnitude (about 2e-9) and well below any drawn detail.
#pragma once

namespace vorn::ge {

// Two points closer than this are the same point (1e-6 mm: far below a pen width, far above
// the round-off of coordinates near 1e7).
constexpr double kPointTol = 1.0e-6;
// A vector shorter than this has no direction; the same scale as kPointTol.
constexpr double kVectorTol = 1.0e-9;
// Angles closer than this (radians) are equal; an arc's end 1e7 mm away moves by 1e-3 mm.
constexpr double kAngleTol = 1.0e-10;
// A matrix whose determinant is below this is singular and has no inverse.
constexpr double kSingularTol = 1.0e-14;
// Arcs are turned into polygons with chords that stray at most this far from the true arc
// (in drawing units), and never with fewer segments than kMinArcSegments per full turn.
constexpr double kArcChordTol = 0.01;
constexpr int kMinArcSegments = 64;
constexpr int kMaxArcSegments = 4096;

}  // namespace vorn::ge

// The tolerance pair AcGe calls take: equalPoint for points, equalVector for directions.
class AcGeTol {
public:
    AcGeTol() = default;
    double equalPoint() const { return m_point; }
    double equalVector() const { return m_vector; }
    void setEqualPoint(double t) { m_point = t; }
    void setEqualVector(double t) { m_vector = t; }

private:
    double m_point = vorn::ge::kPointTol;
    double m_vector = vorn::ge::kVectorTol;
};

struct AcGeContext {
    static const AcGeTol gTol;
};
