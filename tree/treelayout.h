// The numbers of tree placement, free of the drawing: where trees stand along a piece, the
// self-adjusted spacing, the scale that makes a block's largest extent the tree's diameter,
// random whole-degree turns and random sizes in whole drawing units.
#pragma once

#include <optional>
#include <vector>

// Distances from a piece's start at which trees stand: 0, s, 2s, ... below length - tolerance
// (the end is left for the next piece). Empty for a non-positive or non-finite spacing or
// length, so a zero spacing can never loop forever.
std::vector<double> KyTreeDistancesAlong(double length, double spacing);

// The spacing that divides length evenly: length / k with k = floor(length / spacing).
// Nothing when the piece is shorter than the spacing (k = 0) or the values are unusable.
std::optional<double> KyTreeSelfAdjustedSpacing(double length, double spacing);

// diameter / largest size; nothing when the block has no size (empty extents) or the result
// would not be finite and positive.
std::optional<double> KyTreeScaleForExtents(double sizeX, double sizeY, double sizeZ,
                                            double diameter);

// The turn of a tree from one random integer: a whole number of degrees 0..359, in radians.
double KyTreeRotationFromRandom(int randomValue);

// A size between lo and hi in whole steps: lo + (random mod k), k the integer part of hi - lo;
// lo when k is 0. lo and hi are exchanged first when hi < lo (the caller keeps the order).
double KyTreeRandomSize(double& lo, double& hi, int randomValue);
