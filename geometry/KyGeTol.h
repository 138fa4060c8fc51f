// The geometry library's tolerances, in one place. Site plans are drawn in millimetres with
// coordinates up to 1e7 and road widths of a few thousand; doubles then resolve about 2e-9 mm.
#pragma once

// Two points closer than this (mm) are one point; also the "on the curve" band of hit tests.
// A tenth of a micron: far below any drawn detail, yet five orders above rounding at 1e7.
constexpr double g_distZero = 1e-4;
// Dimensionless quantities (normalised parameters, ratios, cross products of unit vectors).
constexpr double g_fZero = 1e-9;
// Angles (radians): directions within this are parallel; at 1e4 mm that is 1e-5 mm of drift.
constexpr double g_angleZero = 1e-9;
// Largest gap (mm) between an arc and the chords that replace it when a curve is linearised.
constexpr double g_dLinearDistPrec = 0.5;

// Largest offset distance or radius an operation answers with (mm): a hundred thousand times
// any site, yet small enough that sums and squares of coordinates stay finite.
constexpr double g_maxGeomSize = 1e12;
constexpr double KyGePi = 3.14159265358979323846;
