// Point input and the small helpers of selection code: polygon fences and arrays of new
// entities.
#pragma once

#include <vector>

#include "host/db/dbarray.h"
#include "host/ed/adsdefs.h"
#include "host/ge/ge.h"

class KyAdsRBList;
class KyGePolyline2d;

// Asks for a point (base may be null: no rubber band). RTNORM with the point in user
// coordinates; otherwise the host's code (RTNONE, RTCAN, RTKWORD) and out unchanged.
int KyUtGetPoint(const AcGePoint3d* base, const wchar_t* prompt, AcGePoint3d& out);

// The point list for a "CP"/"WP" selection from an outline, as a result buffer chain of
// RT3DPOINTs. flatten 1 replaces each arc segment by chords within the chord tolerance;
// 0 takes the vertices only. A repeated closing vertex is dropped. Coordinates are taken as
// they stand (convert to user coordinates first).
KyAdsRBList KyUtGetPolyFence(const KyGePolyline2d& outline, int flatten = 1);
KyAdsRBList KyUtGetPolyFence(const std::vector<AcGePoint3d>& outline, int flatten = 1);

// Deletes the entities (AcDbEntity pointers not in a drawing) of the array and empties it.
void ReleaseEntSet(AcDbVoidPtrArray& entities);
