// The back linkage of the H-point design tool in the side view: its pivots,
// link points, end point and the ALPHA angle.
#ifndef CARVELL_OCCUPANT_HPD_BACK_LINKAGE_H
#define CARVELL_OCCUPANT_HPD_BACK_LINKAGE_H

namespace carvell::occupant {

// The two pivots of the back linkage for the length p. 0, or -1 when p lies
// outside the first arm's reach (|57 mm - p| > first arm).
int hpd_ask_back_pivot_points(double p, double p1[2], double p2[2]);
// The link points C and D of the linkage at ALPHA = alpha degrees. 0 or -1
// when the links cannot close (c and d then undefined).
int hpd_ask_back_linkage_points(double alpha, const double p1[2], const double p2[2], double c[2], double d[2]);
// The end point E of the end arm from D, turned from D->C.
void hpd_ask_back_line_end(const double c[2], const double d[2], double e[2]);
// ALPHA (degrees) for the length p: the angle in [-90, 90] at which the end
// point comes to the height of the origin (within 1e-5). Angles at which the
// links do not close bound the search. 0; -1 when no pivots exist for p or
// the links close at no angle the search tries (*alpha not written), or when
// the search ends without meeting the height (*alpha = the last angle at
// which the links closed).
int ask_alpha_angle(double p, double* alpha);

}  // namespace carvell::occupant

#endif
