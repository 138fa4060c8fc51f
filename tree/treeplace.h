// Placing tree symbols: one tree, the trees of one drag segment, trees along picked curves.
// Every tree is a block reference on "PLAN-TREE" whose largest extent is the tree diameter.
#pragma once

#include <vector>

#include "host/db/dbid.h"
#include "host/ge/gevec3d.h"

class KyAdsEntSet;

// The tree block: the picked one, else the one loaded from the tree file; null when neither.
AcDbObjectId KyTreeBlock();

// One tree at p (world). Null when the block has no usable size (refused with a message, never
// an infinite scale) or the tree could not be added.
AcDbObjectId AddTreeAt(const AcDbObjectId& block, const AcGePoint3d& p, double diameter);

// Point mode. False when there is no tree block (the command ends).
bool PlaceTree(const AcGePoint3d& p, std::vector<AcDbObjectId>& placed);

// Drag mode, one segment from → to: an undo mark, then trees at from and every spacing after
// it, the end left for the next segment. False when there is no tree block or the spacing is
// not positive (refused with a message).
bool PlaceTreesAlongSegment(const AcGePoint3d& to, const AcGePoint3d& from,
                            std::vector<AcDbObjectId>& placed);

// Path mode: trees along lines, arcs and lightweight polylines (other kinds skipped). With
// self-adjusting spacing each piece's spacing divides it evenly and the changed spacing
// carries on. False when the command is to end.
bool PlantTreesAlongPaths(const KyAdsEntSet& set, std::vector<AcDbObjectId>& placed);
