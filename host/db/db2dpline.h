// AcDb2dPolyline: the old-style polyline (POLYLINE with VERTEX records) of drawing files. The
// vertices live inside the entity; its curve behaviour is that of the lightweight polyline.
#pragma once

#include <vector>

#include "host/db/dbbulge.h"
#include "host/db/dbpline.h"

class AcDb2dPolyline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDb2dPolyline)
public:
    AcDb2dPolyline() = default;
    AcDb2dPolyline(AcDb::Poly2dType type, const std::vector<AcGePoint3d>& points, double elevation = 0.0,
                   bool closed = false);
    AcDb2dPolyline(const AcDb2dPolyline&) = default;

    AcDb::Poly2dType polyType() const { return m_type; }
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    Acad::ErrorStatus appendVertex(const AcGePoint3d& point, double bulge = 0.0, double startWidth = 0.0,
                                   double endWidth = 0.0);
    unsigned int numVerts() const { return static_cast<unsigned int>(m_verts.size()); }
    const std::vector<vorn::db::BulgeVertex>& vertices() const { return m_verts; }
    Acad::ErrorStatus setVertices(const std::vector<vorn::db::BulgeVertex>& vertices);
    // The vertex at the polyline's elevation.
    Acad::ErrorStatus vertexPosition(unsigned int index, AcGePoint3d& point) const;
    void makeClosed() { setClosed(true); }
    void makeOpen() { setClosed(false); }
    void setClosed(bool closed);
    bool isClosed() const override { return m_closed; }
    double elevation() const { return m_elevation; }
    void setElevation(double z);
    // A lightweight polyline with the same vertices (caller owns).
    AcDbPolyline* toPolyline() const;

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
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDb2dPolyline(*this); }
    bool isFiniteObject() const override;

private:
    // The same vertices as a lightweight polyline, for the shared curve code.
    AcDbPolyline asPolyline() const;
    std::vector<vorn::db::BulgeVertex> m_verts;
    AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
    bool m_closed = false;
    double m_elevation = 0.0;
};
