// The numbers of tree placement, free of the drawing: where trees stand along a piece, the
// self-adjusted spacing, the scale that makes a block's largest extent the tree's diameter,
// random whole-degree turns and random sizes in whole millimetres.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Distances from a piece's start at which trees stand: 0, s, 2s, ... below length - tolerance
// (the end is left for the next piece). Empty for a non-positive or non-finite spacing or
// length, so a zero spacing can never loop forever.
std::vector<double> KyTreeDistancesAlong(double length, double spacing);
// How many distances KyTreeDistancesAlong gives, found without making them (so that a tiny
// spacing over a long piece can be refused before memory is spent on it).
double KyTreeCountAlong(double length, double spacing);

// The spacing that divides length evenly: length / k with k = floor(length / spacing).
// Nothing when the piece is shorter than the spacing (k = 0) or the values are unusable.
std::optional<double> KyTreeSelfAdjustedSpacing(double length, double spacing);

// diameter / largest size; nothing when the block has no size (empty extents) or the result
// would not be finite and positive.
std::optional<double> KyTreeScaleForExtents(double sizeX, double sizeY, double sizeZ,
                                            double diameter);

// The turn of a tree from one random integer: a whole number of degrees 0..359, in radians.
double KyTreeRotationFromRandom(int randomValue);

// A size between lo and hi in whole steps: lo + (random mod k) · step, k the integer part of
// (hi - lo) / step; lo when k is 0. step is one millimetre in drawing units (the unit factor),
// so sizes spread alike in every unit. lo and hi are exchanged first when hi < lo (the caller
// keeps the order).
double KyTreeRandomSize(double& lo, double& hi, int randomValue, double step);

// The trees of one area sweep, kept in a grid of square cells so that the spacing test looks
// only at the trees of the nine cells around a point, however many the sweep has placed.
class KyTreeSpacingGrid {
public:
    // cell: at least the largest spacing the sweep uses (a positive finite number).
    explicit KyTreeSpacingGrid(double cell);
    // True when no tree lies closer than spacing (at most the cell size) to (x, y).
    bool Clear(double x, double y, double spacing) const;
    void Add(double x, double y);

private:
    std::int64_t Key(std::int64_t i, std::int64_t j) const;
    std::int64_t Cell(double v) const;
    double m_cell;
    std::unordered_map<std::int64_t, std::vector<std::pair<double, double>>> m_cells;
};
