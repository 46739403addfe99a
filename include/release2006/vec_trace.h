// Vector and trace functions of the 2006 release: quick geometric checks on
// points and vectors of three doubles, and printers of one line of the
// system log. Plain (C) exports; nothing of the release calls them.
//
// Directions given to the line functions are taken as unit vectors. The
// rotation result is a 3x4 matrix of twelve doubles, row by row: three
// rotation values, then the translation, per row. A printer formats into a
// 256-byte buffer (longer text is cut) and writes it with HM_print_syslog;
// two blanks separate its fields.
#ifndef CARVELL_RELEASE2006_VEC_TRACE_H
#define CARVELL_RELEASE2006_VEC_TRACE_H

#include "carvell_export.h"

// Distance of p from the line through q along the unit direction u: the
// length of (p - q) x u. -1 for a null argument.
CARVELL_C_EXPORT double vec_dist_point_line(const double p[3], const double u[3], const double q[3]);
// The unit vector from p to its foot on the line through q along u (foot =
// q + ((p - q).u) u) into out; returns the distance from p to the foot. A
// point within 0.0001 of the line gives 0 and the zero vector; -1 (out
// untouched) for a null argument.
CARVELL_C_EXPORT double vec_unit_to_line(const double p[3], const double u[3], const double q[3], double out[3]);
// The rotation by the angle (degrees) about the line through p along the
// axis a (normalised first) into out, with the translation p - R p, so that
// points of the axis stay; returns out. Null (out untouched) for a null
// argument, a non-finite value or an axis shorter than 0.0001.
CARVELL_C_EXPORT double* vec_rotation_about_axis(const double p[3], const double a[3], double degrees,
                                                 double out[12]);
// Length of the vector; -1 for null.
CARVELL_C_EXPORT double vec_length(const double v[3]);

// "%s\n"; a null text prints as empty.
CARVELL_C_EXPORT void syslog_text(const char* text);
// "%s  %s\n".
CARVELL_C_EXPORT void syslog_text_text(const char* text1, const char* text2);
// "%s  %d\n".
CARVELL_C_EXPORT void syslog_text_int(const char* text, int value);
// "%s  %d  %d\n".
CARVELL_C_EXPORT void syslog_text_int_int(const char* text, int value1, int value2);
// One line "  %d" per value, then "\n"; the text is not printed. A null
// array or n below 1 prints only "\n".
CARVELL_C_EXPORT void syslog_int_array(const char* text, const int* values, int n);
// One line "  %.4f" per value, then "\n"; as above.
CARVELL_C_EXPORT void syslog_double_array(const char* text, const double* values, int n);
// "%s  %.4f\n".
CARVELL_C_EXPORT void syslog_text_double(const char* text, double value);

#endif
