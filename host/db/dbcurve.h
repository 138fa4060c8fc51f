// AcDbCurve: the parametric curve interface of lines, arcs, circles and polylines. The defaults
// answer eNotApplicable so that a framework entity derived from it overrides only what it has.
#pragma once

#include "host/db/dbentity.h"

class AcDbCurve : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbCurve)
public:
    AcDbCurve() = default;
    AcDbCurve(const AcDbCurve&) = default;

    virtual bool isClosed() const { return false; }
    virtual bool isPeriodic() const { return false; }
    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    // eInvalidInput for a parameter outside [start, end] (beyond a small tolerance).
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    // eInvalidInput when the point is not on the curve (farther than the point tolerance).
    virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
    virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
    // The nearest point of the curve to given (extend: of the unbounded line or full circle).
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                                bool extend = false) const;
    // The enclosed area (closed or not, as if closed by a chord); 0 for lines.
    virtual Acad::ErrorStatus getArea(double& area) const;
    // Reverses the direction; eNotApplicable where the kind has a fixed direction (arcs).
    virtual Acad::ErrorStatus reverseCurve();

    // Convenience: the length (getDistAtParam at the end parameter); 0 on failure.
    double length() const;
};
