// The 2006 release's corner helpers of the hull enlargement: a line-line
// crossing and the corner vector of two offset vectors. The 2003 release's
// envelope offsets use the same two.
#ifndef CARVELL_RELEASE2006_R2006_OFFSET_CORNER_H
#define CARVELL_RELEASE2006_R2006_OFFSET_CORNER_H

namespace carvell::r2006 {

// The crossing of line 1 (through line1_start and line1_point) with line 2
// (through line2_point along line2_direction), by Cramer's rule in the
// coordinate plane where the lines' cross product is largest. 0 with the
// crossing in out; -1 (out untouched) when the lines are parallel.
int envelope_line_intersect(const double line1_start[3], const double line1_point[3], const double line2_point[3],
                            const double line2_direction[3], double out[3]);
// The corner vector of the offset vectors u and v: it moves a vertex by u's
// length across u's face and by v's length across v's face. A zero u (within
// 0.0001) gives v, a zero v gives u, parallel ones give u.
void combine_offset_directions(const double u[3], const double v[3], double out[3]);

}  // namespace carvell::r2006

#endif
