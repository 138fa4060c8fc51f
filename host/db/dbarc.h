// AcDbCircle and AcDbArc: circles and counter-clockwise arcs in the XY plane. Their parameter
// is the angle in radians (an arc's end parameter is above its start, less than 2pi apart).
#pragma once

#include "host/db/dbcurve.h"

class AcDbCircle : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbCircle)
public:
    AcDbCircle() = default;
    AcDbCircle(const AcGePoint3d& centre, const AcGeVector3d& normal, double radius);
    AcDbCircle(const AcDbCircle&) = default;

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    // Negative or non-finite radii are refused with eInvalidInput.
    Acad::ErrorStatus setRadius(double r);
    AcGeVector3d normal() const { return AcGeVector3d::kZAxis; }
    double circumference() const;

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }
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

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbCircle(*this); }
    bool isFiniteObject() const override;

private:
    AcGePoint3d m_center;
    double m_radius = 0.0;
};

class AcDbArc : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbArc)
public:
    AcDbArc() = default;
    // Angles in radians, counter-clockwise from start to end.
    AcDbArc(const AcGePoint3d& centre, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& centre, const AcGeVector3d& normal, double radius, double startAngle,
            double endAngle);
    AcDbArc(const AcDbArc&) = default;

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double r);
    // Angles are kept in [0, 2pi).
    double startAngle() const { return m_start; }
    double endAngle() const { return m_end; }
    Acad::ErrorStatus setStartAngle(double a);
    Acad::ErrorStatus setEndAngle(double a);
    AcGeVector3d normal() const { return AcGeVector3d::kZAxis; }
    // The counter-clockwise sweep from start to end in (0, 2pi]; equal angles give a full turn.
    double totalAngle() const;
    double arcLength() const { return m_radius * totalAngle(); }

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

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbArc(*this); }
    bool isFiniteObject() const override;

private:
    AcGePoint3d m_center;
    double m_radius = 0.0;
    double m_start = 0.0;
    double m_end = 0.0;
};
