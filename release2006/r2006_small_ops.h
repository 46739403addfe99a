// Small operations of the 2006 release that the current release inlined,
// replaced or dropped: the object manager's log of an object, the slope sign
// of two segments, clearing a vector, and reversing rows of points. The 2003
// release carries the same ones.
#ifndef CARVELL_RELEASE2006_R2006_SMALL_OPS_H
#define CARVELL_RELEASE2006_R2006_SMALL_OPS_H

namespace carvell::r2006 {

// Logs the object (its internal record) with the host's object manager
// (OM__log). The host's header flag that would skip it is not this host's
// to read, so the call is always made; null: nothing.
void om_log_unless_flagged(void* object);

// With d = (zB2 - zB1)(xB2 - xB1) - (zA2 - zA1)(xA2 - xA1) of segments A and
// B (two points each, six doubles): 0 when |d| < 1e-5, else -1 when d is not
// greater than 1e-6, else 1. Written to *sign and answered. No caller.
int segment_slope_sign(const double a[6], int* sign, const double b[6]);

// Sets the three values to 0. No caller.
void vec3_zero(double v[3]);

// Reverses the order of n points held as point pointers by swapping their
// coordinates (the pointers stay). Null or n below 2: nothing.
void reverse_point_array(int n, double** points);

// Reverses n points of three doubles in place. Null or n below 2: nothing.
void reverse_xyz_array(int n, double (*points)[3]);

}  // namespace carvell::r2006

#endif
