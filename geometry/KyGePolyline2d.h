// Polylines: vertices with bulges (tan of a quarter of each arc segment's sweep, negative for
// clockwise), open or closed; and the vertex chain KyGeMLine2d built on them.
#pragma once

#include <vector>

#include "geometry/KyGeObject.h"

// Segment i runs from vertex i to vertex i+1 (to vertex 0 for the last segment of a closed
// polyline) and bends by the bulge stored with vertex i. Parameters run 0..1 over the whole
// length, proportional to distance.
class KyGePolyline2d : public KyGeCurve2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    KyGePolyline2d() = default;

    std::unique_ptr<KyGePolyline2d> Clone() const { return std::unique_ptr<KyGePolyline2d>(static_cast<KyGePolyline2d*>(CloneRaw())); }
    void CopyFrom(const KyGePolyline2d& other);

    // Vertex editing. Non-finite points or bulges are refused (false). Indexes out of range: false.
    bool AppendVertex(const KyGePoint& p, double bulge = 0.0);
    bool InsertVertex(int index, const KyGePoint& p, double bulge = 0.0);
    bool DelVertex(int index);
    bool SetVertex(int index, const KyGePoint& p);
    bool SetBulge(int index, double bulge);
    void SetClosed(bool closed) { m_closed = closed; }
    void Reset();

    int GetVertexNum() const { return static_cast<int>(m_pts.size()); }
    // The vertex at index (the origin when out of range).
    KyGePoint GetVertex(int index) const;
    double GetBulge(int index) const;
    // Segments: vertex count - 1 when open, vertex count when closed (with at least 2 vertices).
    int GetSegNum() const;
    bool IsArcSeg(int index) const;
    // Segment index as a new curve (segment or arc) running in the polyline's direction; null
    // when out of range or degenerate (coincident vertices).
    std::unique_ptr<KyGeCurve2d> GetSegment(int index) const;
    // Drops vertices that coincide with their predecessor (and a closing vertex equal to the
    // first of a closed polyline); returns how many were dropped.
    int RemoveDupPoint();
    // Signed area (positive counter-clockwise), arcs included; an open polyline counts as
    // closed by its chord.
    double GetArea() const;

    bool IsBounded() const override { return true; }
    bool IsClosed() const override { return m_closed; }
    KyGePoint GetStartPoint() const override;
    KyGePoint GetEndPoint() const override;
    double Length() const override;
    bool IsClockwise() const override { return GetArea() < 0.0; }
    KyGePoint GetPtFromPa(double t) const override;
    double GetPaFromPt(const KyGePoint& p) const override;
    KyGePoint GetPtFromDist(double d) const override;
    double GetDistFromPt(const KyGePoint& p) const override;
    KyGeVector2d GetTangent(double t) const override;
    bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const override;
    // Each segment offset and neighbours joined at the crossing of their extensions (or at the
    // shared point when they meet tangentially); null when a segment collapses.
    std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const override;
    std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const override;
    std::unique_ptr<KyGeCurve2d> GetExtendCurve() const override { return nullptr; }
    // Open: 1 on it, else the side bits of the nearest segment. Closed: 1 on the outline,
    // kKyGeHitInside strictly inside, 0 outside.
    int HitTest(const KyGePoint& p) const override;
    bool IsInclude(const KyGeCurve2d& other) const override;
    // Appends other when it starts (or, reversed, ends) where this ends, or prepends when it
    // ends (or starts) where this starts. Closed polylines never join.
    bool Conbine(const KyGeCurve2d& other, bool bFillGap = true) override;
    void Reverse() override;
    std::unique_ptr<KyGePolyline2d> PLinearize(double precision) const override;
    bool TransformBy(const KyGeMatrix& matrix) override;

protected:
    KyGeObject* CloneRaw() const override { return new KyGePolyline2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
    // Index of the segment and the distance into it at distance d from the start.
    int SegmentAtDist(double d, double& into) const;

    std::vector<KyGePoint> m_pts;
    std::vector<double> m_bulges;
    bool m_closed = false;
};

// A chain of vertices read as consecutive segments (straight or with bulges).
class KyGeMLine2d : public KyGePolyline2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    KyGeMLine2d() = default;
    explicit KyGeMLine2d(const KyGePolyline2d& chain) { CopyFrom(chain); }
    std::unique_ptr<KyGeMLine2d> Clone() const { return std::make_unique<KyGeMLine2d>(*this); }
    // The centre of arc segment index into out; false for a straight segment or a bad index.
    bool GetCenter(int index, KyGePoint& out) const;
    // The centre of the chain's extents (the origin when empty).
    KyGePoint GetCenter() const;

private:
    KyGeObject* CloneRaw() const override { return new KyGeMLine2d(*this); }
    bool AssignFrom(const KyGeCurve2d& other) override;
};
