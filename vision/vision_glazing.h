// The line where two planes meet, as the glazing tools take it.
#ifndef CARVELL_VISION_VISION_GLAZING_H
#define CARVELL_VISION_VISION_GLAZING_H

namespace carvell::vision {

// A point and the unit direction of the line where the planes (point,
// normal) meet: 0, or -1 for parallel planes (nothing written). The point
// has zero in the coordinate along which the planes' line runs most steeply
// (the largest component of N x N'), so that the two plane equations solve
// well.
int plane_plane_line(const double p1[3], const double n1[3], const double p2[3], const double n2[3], double point[3],
                     double direction[3]);

}  // namespace carvell::vision

#endif
