// The pieces of road edges as a junction cuts them: which partner pieces a crossing road meets,
// the pair of new edge pieces at the next crossing, a piece found again by its shape, and the
// piece that begins or ends an edge.
#pragma once

#include "geometry/KyGeometry.h"

// O: the pieces of R (partner edges) that the crossing road A/B meets, moved out of R; a
// single partner is copied. When none is met, the piece starting nearest the first crossing of
// R[0]'s line with A's and B's lines. False when O stays empty.
bool PickCrossingPartners(KyGeObjList& R, const KyGeCurve2d& A, const KyGeCurve2d& B, KyGeObjList& O);

// The pieces of the new road's edges E that meet the crossing road c/p: the first piece crossing
// either, and its partner piece lying beside it. out receives copies of both; false otherwise.
bool FindCurrentEdgePair(const KyGeObjList& E, const KyGeCurve2d& c, const KyGeCurve2d& p, KyGeObjList& out);

// Deletes the first curve of L whose start, end and middle are those of x.
void RemoveMatchingCurve(KyGeObjList& L, const KyGeCurve2d& x);

// The index of the piece in list that begins (end 0) or finishes (end 1) the edge: its end on
// the edge's line or circle nearest the edge's own end (a later one when as near); -1 if none.
int FindEndPiece(const KyGeCurve2d& edge, int end, const KyGeObjList& list);
