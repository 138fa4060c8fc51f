// Joining base curves end to end for the slope command.
#include "annotation/slopejoin.h"

#include "geometry/KyGePoint.h"

namespace {

// Puts every vertex of curve but its last in front of line (the last one is line's start).
void PutInFront(KyGePolyline2d& line, const KyGePolyline2d& curve) {
  for (int i = curve.GetVertexNum() - 2; i >= 0; --i)
    line.InsertVertex(0, curve.GetVertex(i), curve.GetBulge(i));
}

// Replaces line's last vertex (curve's start) by all of curve's vertices.
void PutBehind(KyGePolyline2d& line, const KyGePolyline2d& curve) {
  line.DelVertex(line.GetVertexNum() - 1);
  for (int i = 0; i < curve.GetVertexNum(); ++i) line.AppendVertex(curve.GetVertex(i), curve.GetBulge(i));
}

bool Attach(KyGePolyline2d& line, KyGePolyline2d curve) {
  const KyGePoint s = line.GetStartPoint();
  const KyGePoint e = line.GetEndPoint();
  if (Equal2d(curve.GetStartPoint(), s)) {
    curve.Reverse();
    PutInFront(line, curve);
  } else if (Equal2d(curve.GetStartPoint(), e)) {
    PutBehind(line, curve);
  } else if (Equal2d(curve.GetEndPoint(), s)) {
    PutInFront(line, curve);
  } else if (Equal2d(curve.GetEndPoint(), e)) {
    curve.Reverse();
    PutBehind(line, curve);
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::vector<KyGePolyline2d> KyRoadSlopeJoinCurves(std::vector<KyGePolyline2d> curves) {
  std::vector<KyGePolyline2d> pieces;
  while (!curves.empty()) {
    KyGePolyline2d line = curves.front();
    curves.erase(curves.begin());
    bool attached = true;
    while (attached) {
      attached = false;
      for (auto it = curves.begin(); it != curves.end(); ++it) {
        if (it->GetVertexNum() < 2 || !Attach(line, *it)) continue;
        curves.erase(it);
        attached = true;
        break;
      }
    }
    pieces.push_back(line);
  }
  return pieces;
}
