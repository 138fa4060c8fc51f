// Straight curves: the common base of two defining points, the unbounded line and the segment.
#pragma once

#include "geometry/KyGeObject.h"

// Two defining points; travel runs from the first to the second. A straight curve whose two
// points coincide is degenerate: it has no direction and answers the negative to everything.
class KyGeBaseLine2d : public KyGeCurve2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    const KyGePoint& GetFirstPoint() const { return m_p1; }
    const KyGePoint& GetSecondPoint() const { return m_p2; }
    void Set(const KyGePoint& p1, const KyGePoint& p2) { m_p1 = p1; m_p2 = p2; }
    // Unit direction from the first to the second point (zero when degenerate).
    KyGeVector2d GetDirection() const;
    bool IsDegenerate() const { return !(Distance2d(m_p1, m_p2) > g_distZero); }
    // Angle of travel in [0, 2*pi).
    double GetAngle() const { return GetDirection().GetAngle(); }
    // Parallel to other's direction (false when either is degenerate).
    bool IsParallelWith(const KyGeBaseLine2d& other, double angTol = g_angleZero) const;
    // The foot of p on the unbounded line through the two points, and its parameter.
    KyGePoint GetFoot(const KyGePoint& p) const;

    KyGePoint GetStartPoint() const override { return m_p1; }
    KyGePoint GetEndPoint() const override { return m_p2; }
    double Length() const override { return Distance2d(m_p1, m_p2); }
    bool IsClockwise() const override { return false; }
    KyGePoint GetPtFromPa(double t) const override;
    KyGeVector2d GetTangent(double t) const override;
    int HitTest(const KyGePoint& p) const override;
    void Reverse() override;
    bool TransformBy(const KyGeMatrix& matrix) override;
    std::unique_ptr<KyGeCurve2d> GetExtendCurve() const override;
    bool Conbine(const KyGeCurve2d& other, bool bFillGap = true) override;

protected:
    KyGeBaseLine2d() = default;
    KyGeBaseLine2d(const KyGePoint& p1, const KyGePoint& p2) : m_p1(p1), m_p2(p2) {}
    // Unclamped parameter of p's foot (0 at the first point, 1 at the second).
    double RawParam(const KyGePoint& p) const;
    // The move of an offset at d; false when degenerate or d is not finite.
    bool OffsetShift(double d, KyGeVector2d& shift) const;

    KyGePoint m_p1;
    KyGePoint m_p2;
};

// The unbounded line through two points.
class KyGeLine2d : public KyGeBaseLine2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    KyGeLine2d() = default;
    KyGeLine2d(const KyGePoint& p1, const KyGePoint& p2) : KyGeBaseLine2d(p1, p2) {}
    // The line a segment (or another line) lies on, same direction.
    explicit KyGeLine2d(const KyGeBaseLine2d& base) : KyGeBaseLine2d(base.GetFirstPoint(), base.GetSecondPoint()) {}
    // Through p in direction dir (unit length taken as the parameter scale).
    static KyGeLine2d FromPointDir(const KyGePoint& p, const KyGeVector2d& dir);

    std::unique_ptr<KyGeLine2d> Clone() const { return std::make_unique<KyGeLine2d>(*this); }

    bool IsBounded() const override { return false; }
    bool IsClosed() const override { return false; }
    double GetPaFromPt(const KyGePoint& p) const override { return RawParam(p); }
    KyGePoint GetPtFromDist(double d) const override;
    double GetDistFromPt(const KyGePoint& p) const override;
    bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const override;
    std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const override;
    std::unique_ptr<KyGePolyline2d> PLinearize(double) const override { return nullptr; }
    KyGePoint GetPtFromPa(double t) const override;

private:
    KyGeObject* CloneRaw() const override { return new KyGeLine2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
};

// The segment from a start point to an end point.
class KyGeLineSeg2d : public KyGeBaseLine2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    KyGeLineSeg2d() = default;
    KyGeLineSeg2d(const KyGePoint& start, const KyGePoint& end) : KyGeBaseLine2d(start, end) {}

    std::unique_ptr<KyGeLineSeg2d> Clone() const { return std::make_unique<KyGeLineSeg2d>(*this); }
    void SetStartPoint(const KyGePoint& p) { m_p1 = p; }
    void SetEndPoint(const KyGePoint& p) { m_p2 = p; }

    bool IsBounded() const override { return true; }
    bool IsClosed() const override { return false; }
    double GetPaFromPt(const KyGePoint& p) const override;
    KyGePoint GetPtFromDist(double d) const override;
    bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const override;
    std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const override;
    std::unique_ptr<KyGePolyline2d> PLinearize(double precision) const override;

private:
    KyGeObject* CloneRaw() const override { return new KyGeLineSeg2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
};
