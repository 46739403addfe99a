// The older releases' corner helpers of the hull enlargement: a line-line
// crossing and the corner vector of two offset vectors. The 2006 and 2003
// releases share them; what they differ in is one rule defined once per
// release (r2006_corner_rule.cpp, release2003's r2003_envelope_corner.cpp).
#ifndef CARVELL_RELEASE2006_R2006_OFFSET_CORNER_H
#define CARVELL_RELEASE2006_R2006_OFFSET_CORNER_H

namespace carvell::r2006 {

// What a release's corner helpers hold to.
struct CornerRule {
    // Components of the lines' cross product closer than this count as
    // equal when the largest is chosen.
    double component_margin;
    // Whether a chosen component below 1e-10 means parallel lines (-1);
    // without the test the crossing is always written, and a component of
    // exactly 0 leaves the line parameter at 0 instead of dividing by it.
    bool parallel_test;
    // Offset vectors shorter than this, or this close to parallel, say
    // nothing new.
    double direction_tolerance;
};
const CornerRule& corner_rule();

// The crossing of line 1 (through line1_start and line1_point) with line 2
// (through line2_point along line2_direction), by Cramer's rule in the
// coordinate plane where the lines' cross product is largest. 0 with the
// crossing in out; -1 (out untouched) when the lines are parallel and the
// release tests for it.
int envelope_line_intersect(const double line1_start[3], const double line1_point[3], const double line2_point[3],
                            const double line2_direction[3], double out[3]);
// The corner vector of the offset vectors u and v: it moves a vertex by u's
// length across u's face and by v's length across v's face. A zero u (within
// the release's tolerance) gives v, a zero v gives u, parallel ones give u.
void combine_offset_directions(const double u[3], const double v[3], double out[3]);

}  // namespace carvell::r2006

#endif
