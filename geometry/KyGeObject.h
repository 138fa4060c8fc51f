// Base classes of the geometry objects: run-time kinds, ownership by unique_ptr, the curve
// interface every line, segment, arc, circle and polyline answers, and the point result object.
#pragma once

#include <memory>

#include "geometry/KyGeMatrix.h"

class KyGeObjList;
class KyGePolyline2d;

// Run-time kind of a geometry class; a class names its parent so kinds nest.
struct KyGeClassInfo {
    const char* name;
    const KyGeClassInfo* parent;
};

// Hit-test flags (an int of these bits).
enum : int {
    kKyGeHitOn = 1,       // within g_distZero of the curve itself (no side bit then)
    kKyGeHitLeft = 2,     // straight curve: left of travel; arc or circle: inside its circle
    kKyGeHitOutside = 4,  // arc or circle: outside its circle (left of travel when clockwise)
    kKyGeHitInside = 4,   // closed polyline: strictly inside the outline
};

class KyGeObject {
public:
    static const KyGeClassInfo s_classInfo;
    virtual ~KyGeObject() = default;

    virtual const KyGeClassInfo* GetClassInfo() const { return &s_classInfo; }
    // True when this object is of the given class or of a class derived from it.
    bool IsClassOf(const KyGeClassInfo& info) const;
    bool IsClassOf(const KyGeClassInfo* info) const { return info && IsClassOf(*info); }

    // A deep copy owned by the caller.
    std::unique_ptr<KyGeObject> Clone() const { return std::unique_ptr<KyGeObject>(CloneRaw()); }
    // False (object unchanged) when the matrix is singular or would turn an arc into an ellipse.
    virtual bool TransformBy(const KyGeMatrix& matrix) = 0;

protected:
    KyGeObject() = default;
    KyGeObject(const KyGeObject&) = default;
    KyGeObject& operator=(const KyGeObject&) = default;
    virtual KyGeObject* CloneRaw() const = 0;
};

class KyGeObject2d : public KyGeObject {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }
};

// A point as an object: what intersections append to a KyGeObjList.
class KyGePoint2d : public KyGeObject2d {
public:
    static const KyGeClassInfo s_classInfo;
    KyGePoint2d() = default;
    explicit KyGePoint2d(const KyGePoint& p) : m_pt(p) {}
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    const KyGePoint& GetPoint() const { return m_pt; }
    void SetPoint(const KyGePoint& p) { m_pt = p; }
    std::unique_ptr<KyGePoint2d> Clone() const { return std::make_unique<KyGePoint2d>(*this); }
    bool TransformBy(const KyGeMatrix& matrix) override;

private:
    KyGeObject* CloneRaw() const override { return new KyGePoint2d(*this); }
    KyGePoint m_pt;
};

// A plane curve. Parameters are normalised: 0 at the start, 1 at the end of a bounded curve.
// An unbounded line has 0 at its first defining point and 1 at its second (any real parameter
// is on it); a full circle runs once round from its reference point (0) in its sense back to it
// (1). Left and right are taken along the direction of travel.
class KyGeCurve2d : public KyGeObject2d {
public:
    static const KyGeClassInfo s_classInfo;
    const KyGeClassInfo* GetClassInfo() const override { return &s_classInfo; }

    std::unique_ptr<KyGeCurve2d> Clone() const { return std::unique_ptr<KyGeCurve2d>(static_cast<KyGeCurve2d*>(CloneRaw())); }

    // False for the unbounded line and the full circle.
    virtual bool IsBounded() const = 0;
    // A closed polyline or a full circle.
    virtual bool IsClosed() const = 0;
    // Start and end; for an unbounded line its two defining points, for a circle its reference
    // point twice.
    virtual KyGePoint GetStartPoint() const = 0;
    virtual KyGePoint GetEndPoint() const = 0;
    // The point halfway along (parameter 0.5 for lines, segments, arcs and circles).
    virtual KyGePoint GetMidPoint() const;
    // Length; an unbounded line reports the distance between its defining points.
    virtual double Length() const = 0;
    // Arc sense: true for a clockwise arc or circle; for a polyline, true when its outline
    // (closed by its chord when open) winds clockwise. Straight curves: false.
    virtual bool IsClockwise() const = 0;

    // The point at normalised parameter t (bounded curves clamp t to [0, 1]).
    virtual KyGePoint GetPtFromPa(double t) const = 0;
    // The parameter of p's foot on the curve (p is projected first). Bounded curves answer in
    // [0, 1]; the foot's nearest end counts when it lies off the curve.
    virtual double GetPaFromPt(const KyGePoint& p) const = 0;
    // The point at distance d along the curve from its start. Bounded curves clamp d to
    // [0, Length()]; an unbounded line goes on in either direction, a circle wraps round.
    virtual KyGePoint GetPtFromDist(double d) const = 0;
    // The distance along the curve from its start to p's foot (0..Length() on bounded curves).
    virtual double GetDistFromPt(const KyGePoint& p) const;
    // Unit direction of travel at parameter t.
    virtual KyGeVector2d GetTangent(double t) const = 0;
    // The nearest point of the curve to p into out. False when the perpendicular foot lies off
    // a bounded curve (out then holds the nearest point of the curve, usually an end).
    virtual bool GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const = 0;

    // A new parallel curve at distance |d|: d < 0 on the left of travel, d > 0 on the right.
    // Null when impossible (an arc's radius would vanish or turn, a polyline would collapse).
    virtual std::unique_ptr<KyGeCurve2d> GetOffsetCurve(double d) const = 0;
    // This curve moved to its offset at d (same sides); false (unchanged) when impossible.
    bool Offset(double d);

    // A new curve between the feet of p1 and p2, running from p1 to p2 (on an arc or circle
    // in the curve's own sense, on a straight curve from p1 towards p2). Works on unbounded
    // curves too, so the piece may reach beyond the edge the line or circle came from. Null
    // when the feet coincide or a foot lies off a bounded curve.
    virtual std::unique_ptr<KyGeCurve2d> GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const = 0;
    // The piece between two parameters, from pa1 to pa2 (on a circle going round in its sense,
    // wrapping past 1). Null when they coincide or (bounded) either lies outside [0, 1].
    virtual std::unique_ptr<KyGeCurve2d> GetSubCurve(double pa1, double pa2) const = 0;
    // The unbounded curve this one lies on: a line for straight curves, a full circle of the
    // same sense whose reference point is the arc's start for arcs. Null for polylines.
    virtual std::unique_ptr<KyGeCurve2d> GetExtendCurve() const = 0;

    // Intersections with other: each point appended to out as a KyGePoint2d, ordered along this
    // curve; tangency gives one point; collinear or concentric overlaps give the overlap's end
    // points. False when none.
    bool IntersectWith(const KyGeCurve2d& other, KyGeObjList& out) const;

    // Hit-test flags of p (kKyGeHit... bits).
    virtual int HitTest(const KyGePoint& p) const = 0;
    // The point lies on the curve (within g_distZero).
    bool IsInclude(const KyGePoint& p) const;
    // Every point of other lies on this curve (its ends and points inside it).
    virtual bool IsInclude(const KyGeCurve2d& other) const;
    // Joins other into this curve when both lie on one line or one circle: this becomes the
    // shortest piece of that line or circle holding both, in its own direction. With bFillGap
    // true a gap between them is bridged (so the result's length tells how far apart they
    // were); with false only curves that overlap or touch join. False (unchanged) when they lie
    // on different lines or circles, or the join would close a full circle. Polylines join
    // end to end only.
    virtual bool Conbine(const KyGeCurve2d& other, bool bFillGap = true) = 0;
    // Turns the direction of travel (an arc's sense flips, its points stay).
    virtual void Reverse() = 0;
    // The curve as a polyline with bulges. precision <= 0 keeps arcs exact as bulges; a
    // positive precision replaces them by chords no farther than precision from the arc.
    // Null for unbounded curves.
    virtual std::unique_ptr<KyGePolyline2d> PLinearize(double precision) const = 0;

protected:
    KyGeCurve2d() = default;
    // Copies other into this when it is of this curve's own class; false otherwise.
    virtual bool AssignFrom(const KyGeCurve2d& other) = 0;
};

// Helper casts: the object as T when it is of T's class, else null.
template <class T>
T* KyGeCast(KyGeObject* object) {
    return object && object->IsClassOf(T::s_classInfo) ? static_cast<T*>(object) : nullptr;
}
template <class T>
const T* KyGeCast(const KyGeObject* object) {
    return object && object->IsClassOf(T::s_classInfo) ? static_cast<const T*>(object) : nullptr;
}
