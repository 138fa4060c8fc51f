// Road curves found in the drawing: the geometry of road entities, the road edge touching an
// edge's end, the centre line running between two edges, and the entity matching a curve.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyAdsRBList.h"
#include "geometry/KyGeometry.h"
#include "host/db/dbid.h"

// The geometry of a line or arc entity, opened for read and closed again at once; null when
// the entity cannot be opened as a curve or has no geometry.
std::unique_ptr<KyGeCurve2d> ReadRoadCurve(const AcDbObjectId& id);

// The selection filter for road curves: lines and arcs on the given drawing layer names
// (a comma list).
KyAdsRBList RoadCurveFilter(const std::wstring& layers);

// Ids and geometry of the entities of S that convert, in S's order (unconverted ones are left
// out of both, so ids[i] is the entity of G[i]).
void ReadRoadCurves(const KyAdsEntSet& S, std::vector<AcDbObjectId>& ids, KyGeObjList& G);

// Erases the first entity of S whose start, end and middle coincide with e's; the others are
// left alone. Entities that cannot be opened for write are skipped.
void EraseMatchingEntity(const KyAdsEntSet& S, const KyGeCurve2d& e);

// The road edge ("PLAN-ROAD") that touches p's start (end 0) or end (end 1), other than p or a
// piece of it: its id, its curve into curve and which of its ends touches into touchingEnd
// (0 start, 1 end). The null id, a null curve and -1 when there is none.
AcDbObjectId FindTouchingRoadEdge(const KyGeCurve2d& p, int end, std::unique_ptr<KyGeCurve2d>& curve,
                                  int& touchingEnd);

// The centre lines ("PLAN-ROAD_CENTER") that the closed outline (world coordinates) crosses
// or holds.
KyAdsEntSet SelectCenterLinesIn(const KyGePolyline2d& outline);

// The centre line of the road between edges a and b: the first centre line inside the road's
// outline that runs beside a, with its distances from a and from b. The null id (distances
// left alone) when there is none.
AcDbObjectId FindRoadCenterLine(const KyGeCurve2d& a, const KyGeCurve2d& b, double& distA, double& distB);
