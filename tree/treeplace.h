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

// What a placement step did: trees planted (possibly none), a refusal already reported, the
// user declining a large count, or the end of the command (no tree block).
enum class KyTreeStep { kPlanted, kRefused, kDeclined, kEnd };

// More trees than kTreeAskAbove in one stroke are planted only when the user says yes; more
// than kTreeMostAtOnce not at all (the drawing would not hold them in any useful time).
constexpr double kTreeAskAbove = 10000;
constexpr double kTreeMostAtOnce = 1000000;
// True for count up to kTreeAskAbove; above it, the user's answer to a Yes/No question (Enter
// or anything but Yes declines); false with a refusal beyond kTreeMostAtOnce.
bool KyTreeConfirmCount(double count);

// Drag mode, one segment from → to: an undo mark, then trees at from and every spacing after
// it, the end left for the next segment. The caller has checked the sizes (KyTreeCheckSizes).
KyTreeStep PlaceTreesAlongSegment(const AcGePoint3d& to, const AcGePoint3d& from,
                                  std::vector<AcDbObjectId>& placed);

// Path mode: trees along lines, arcs and lightweight polylines (other kinds skipped, pieces of
// no length too). With self-adjusting spacing each piece's spacing divides it evenly and the
// changed spacing carries on; a piece shorter than the spacing refuses the whole selection
// (kRefused, with a message, nothing planted).
KyTreeStep PlantTreesAlongPaths(const KyAdsEntSet& set, std::vector<AcDbObjectId>& placed);
