// Circular arcs and the full circle (the unbounded form of an arc, derived from it so that
// every arc test also sees circles).
#pragma once

#include "geometry/KyGeObject.h"

// An arc: centre, radius, start angle, a positive sweep and a sense. Angles are radians
// counter-clockwise from +X. A clockwise arc runs from its start angle towards smaller angles.
class KyGeArc2d : public KyGeCurve2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    // A degenerate arc (radius 0): IsValid() is false.
    KyGeArc2d() = default;
    // Through start, a point on the arc and end. Collinear or coincident points give an invalid
    // arc (check IsValid(), or use Create).
    KyGeArc2d(const KyGePoint& start, const KyGePoint& onArc, const KyGePoint& end);
    // From centre, radius, start and end angle and sense; the sweep goes from start to end in
    // that sense (equal angles give an invalid arc, not a full circle).
    KyGeArc2d(const KyGePoint& centre, double radius, double startAngle, double endAngle, bool clockwise = false);

    // Checked factories: null instead of an invalid arc.
    static std::unique_ptr<KyGeArc2d> Create(const KyGePoint& start, const KyGePoint& onArc, const KyGePoint& end);
    static std::unique_ptr<KyGeArc2d> Create(const KyGePoint& centre, double radius, double startAngle,
                                             double endAngle, bool clockwise = false);
    // The arc of a polyline segment from start to end with the given bulge (tan of a quarter
    // of the sweep, negative for clockwise). Null for a zero bulge or coincident points.
    static std::unique_ptr<KyGeArc2d> CreateFromBulge(const KyGePoint& start, const KyGePoint& end, double bulge);

    std::unique_ptr<KyGeArc2d> Clone() const { return std::unique_ptr<KyGeArc2d>(static_cast<KyGeArc2d*>(CloneRaw())); }

    bool IsValid() const { return m_radius > g_distZero && m_sweep > g_angleZero; }
    const KyGePoint& GetCenter() const { return m_centre; }
    double GetRadius() const { return m_radius; }
    // Start angle of travel's first point, and end angle, both in [0, 2*pi).
    double GetStartAngle() const { return m_startAngle; }
    double GetEndAngle() const;
    // Positive sweep in radians (2*pi for a circle).
    double GetSweep() const { return m_sweep; }
    // The bulge of this arc as a polyline segment (0 for a circle, which no one segment holds).
    double GetBulge() const;
    // The point on the arc's circle at a given angle.
    KyGePoint PointAtAngle(double angle) const;
    // True when the direction from the centre at angle lies within the arc (tolerance g_angleZero
    // plus g_distZero of arc length at each end).
    bool ContainsAngle(double angle) const;

    bool IsBounded() const override { return true; }
    bool IsClosed() const override { return false; }
    KyGePoint GetStartPoint() const override;
    KyGePoint GetEndPoint() const override;
    double Length() const override { return m_radius * m_sweep; }
    bool IsClockwise() const override { return m_clockwise; }
    KyGePoint GetPtFromPa(double t) const override;
    double GetPaFromPt(const KyGePoint& p) const override;
    KyGePoint GetPtFromDist(double d) const override;
    KyGeVector2d GetTangent(double t) const override;
    bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const override;
    std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const override;
    std::unique_ptr<KyGeCurve2d> GetExtendCurve() const override;
    int HitTest(const KyGePoint& p) const override;
    bool Conbine(const KyGeCurve2d& other, bool bFillGap = true) override;
    void Reverse() override;
    std::unique_ptr<KyGePolyline2d> PLinearize(double precision) const override;
    bool TransformBy(const KyGeMatrix& matrix) override;

protected:
    KyGeObject* CloneRaw() const override { return new KyGeArc2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
    // Signed angle travelled from the start to angle, in [0, 2*pi).
    double TravelTo(double angle) const;

    KyGePoint m_centre;
    double m_radius = 0.0;
    double m_startAngle = 0.0;
    double m_sweep = 0.0;
    bool m_clockwise = false;
};

// A full circle: the arc of sweep 2*pi starting (and ending) at its reference angle.
class KyGeCircle2d : public KyGeArc2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    KyGeCircle2d() = default;
    KyGeCircle2d(const KyGePoint& centre, double radius, double refAngle = 0.0, bool clockwise = false);

    std::unique_ptr<KyGeCircle2d> Clone() const { return std::make_unique<KyGeCircle2d>(*this); }

    bool IsBounded() const override { return false; }
    bool IsClosed() const override { return true; }
    double GetPaFromPt(const KyGePoint& p) const override;
    KyGePoint GetPtFromDist(double d) const override;
    bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const override;
    std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const override;
    std::unique_ptr<KyGeCurve2d> GetExtendCurve() const override;
    bool Conbine(const KyGeCurve2d& other, bool bFillGap = true) override;
    std::unique_ptr<KyGePolyline2d> PLinearize(double precision) const override;

private:
    KyGeObject* CloneRaw() const override { return new KyGeCircle2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
};
