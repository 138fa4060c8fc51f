// AcDbPolyline: the lightweight polyline (LWPOLYLINE): vertices with bulges and widths, closed
// or open, at one elevation. Parameter i is vertex i; between, the fraction of the segment.
#pragma once

#include <vector>

#include "host/db/dbbulge.h"
#include "host/db/dbcurve.h"

class AcDbPolyline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbPolyline)
public:
    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned int reserve) { m_verts.reserve(reserve); }
    AcDbPolyline(const AcDbPolyline&) = default;

    unsigned int numVerts() const { return static_cast<unsigned int>(m_verts.size()); }
    // Inserts before index (index == numVerts appends); eInvalidIndex beyond.
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = 0.0, double endWidth = 0.0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    // The vertex at the polyline's elevation.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    // Sets every segment's widths.
    Acad::ErrorStatus setConstantWidth(double width);
    bool isOnlyLines() const;
    void setClosed(bool closed);
    bool isClosed() const override { return m_closed; }
    double elevation() const { return m_elevation; }
    void setElevation(double z);
    AcGeVector3d normal() const { return AcGeVector3d::kZAxis; }
    // Whether segment index is an arc, a line, or neither (a zero-length segment: "coincident").
    enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };
    SegType segType(unsigned int index) const;
    // The segment's geometry in the plane.
    Acad::ErrorStatus getSegmentAt(unsigned int index, vorn::db::BulgeSegment& segment) const;
    unsigned int numSegments() const;

    const std::vector<vorn::db::BulgeVertex>& vertices() const { return m_verts; }
    Acad::ErrorStatus setVertices(const std::vector<vorn::db::BulgeVertex>& vertices);

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                        bool extend = false) const override;
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus reverseCurve() override;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Lines and arcs, one per segment with length.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbPolyline(*this); }
    bool isFiniteObject() const override;

private:
    std::vector<vorn::db::BulgeVertex> m_verts;
    bool m_closed = false;
    double m_elevation = 0.0;
};
