// The area fill of the tree command: trees dropped along a mouse sweep at random sizes and
// spacings, then replaced by one region on "PLAN-TREE", the canopy outline of the patch.
#pragma once

#include <vector>

#include "host/db/dbid.h"
#include "host/ge/gevec3d.h"

class KyRYBSDlg;

// One sweep from start (world). True when the tree command is to end, false to go on (the
// dialog changed the mode, or the region could not be made).
bool FillTreeArea(KyRYBSDlg& dialog, const AcGePoint3d& start);

// The region of the trees' outlines on "PLAN-TREE". The trees are erased only once the region
// exists: when no region can be made they stay, with a message, and the result is false.
bool KyTreeMakeAreaRegion(const std::vector<AcDbObjectId>& trees);
