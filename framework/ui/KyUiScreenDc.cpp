// Temporary screen vectors from geometry curves: each curve as chords through the host's
// acedGrDraw, in world coordinates whatever the user coordinate system.
#include "framework/ui/KyUiScreenDc.h"

#include <algorithm>
#include <cmath>

#include "geometry/KyGeometry.h"
#include "host/ed/aced.h"
#include "host/ed/ucs.h"

namespace {

// Chords stay within this fraction of the curve's length from an arc: a few hundred chords on
// a full circle at most, fine enough for any picture.
constexpr double kChordFraction = 1e-3;

}  // namespace

KyUiScreenDc::KyUiScreenDc(int colorIndex, int highlight) : m_colorIndex(colorIndex), m_highlight(highlight) {}

void KyUiScreenDc::Vector(double x0, double y0, double x1, double y1) {
    // acedGrDraw takes user coordinates.
    const double w0[3] = {x0, y0, 0.0}, w1[3] = {x1, y1, 0.0};
    double u0[3], u1[3];
    vorn::ed::WcsToUcsPoint(w0, u0);
    vorn::ed::WcsToUcsPoint(w1, u1);
    if (acedGrDraw(u0, u1, m_colorIndex, m_highlight) == RTNORM) ++m_nVectors;
}

KyUiScreenDc& KyUiScreenDc::operator<<(const KyGeObject& object) {
    if (!object.IsClassOf(KyGeCurve2d::s_classInfo)) return *this;
    const auto& curve = static_cast<const KyGeCurve2d&>(object);
    const double length = curve.Length();
    if (!std::isfinite(length) || length <= g_distZero) return *this;
    const std::unique_ptr<KyGePolyline2d> chords = curve.PLinearize(std::max(length * kChordFraction, g_distZero));
    if (!chords) return *this;
    const int n = chords->GetVertexNum();
    for (int i = 0; i + 1 < n; ++i) {
        const KyGePoint a = chords->GetVertex(i), b = chords->GetVertex(i + 1);
        Vector(a.x, a.y, b.x, b.y);
    }
    if (chords->IsClosed() && n > 1) {
        const KyGePoint a = chords->GetVertex(n - 1), b = chords->GetVertex(0);
        Vector(a.x, a.y, b.x, b.y);
    }
    return *this;
}

KyUiScreenDc& KyUiScreenDc::operator<<(const KyGeObject* object) {
    if (object) *this << *object;
    return *this;
}

void KyUiScreenDc::Clear() { acedRedraw(nullptr, 0); }
