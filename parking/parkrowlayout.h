// Geometry of one side of a straight row of parking spaces: outlines, style marks and car places.
#pragma once
#include <vector>

namespace vorn::parking {

struct ParkPt { double x = 0, y = 0; };

struct ParkSpaceShape {
  std::vector<ParkPt> outline;  // closed: Q, P, P+W, Q+W (rotated onto the row)
  std::vector<ParkPt> mark;     // open style mark, empty for style 0 and 3
  ParkPt carCentre;
  double carRotation = 0;
};

// Number of whole spaces of spacing w in a run of length len; none when w is not above minSpacing.
int ParkSpaceCount(double len, double w, double minSpacing);

// Spaces 0..n-1 from s towards e on side 1 (left) or 2 (right); a is the slant angle, w the spacing
// along the row, d the depth. Non-finite or non-positive inputs give no spaces.
std::vector<ParkSpaceShape> LayParkRowSide(ParkPt s, ParkPt e, double w, double d, double a, int side,
                                           int n, int style);

}  // namespace vorn::parking
