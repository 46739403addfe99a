// The 2003 release's point-cloud envelope: the offsets of a point set read
// from the rule function's offset list, applied in one pass.
#ifndef CARVELL_RELEASE2003_R2003_ENVELOPE_H
#define CARVELL_RELEASE2003_R2003_ENVELOPE_H

#include "istrane.h"

namespace carvell::r2003 {

// Offsets the points (kernel metres, three doubles a point, a block of the
// host's memory manager owned by the caller) by the pairs of the list.
// mode 0 extends: each (vector, distance) pair sweeps the input points along
// the unit vector by distance x factor and the result is the facet-vertex
// list of the hull of everything swept (three points a facet); *points is
// then a new block and the old one is freed. Any other mode enlarges: each
// (position k from 1, distance) pair pushes the hull vertices of position
// k's per_position points out across the hull's faces by distance x factor;
// the positions named are written in pair order over the caller's block and
// *count becomes the number written. A position out of range is skipped with
// its distance; no more positions are written than the points hold. A
// distance is a number or an integer. 0; 1105004 for a list item of another
// kind; -1 for null or unusable arguments; a hull's or the allocation's
// code. On any failure the caller's points and count are as they were.
int offset_envelope_points(double** points, int* count, int per_position, x_DList list, int mode, double factor);

}  // namespace carvell::r2003

#endif
