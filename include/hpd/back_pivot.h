// H-point design tool, back pivots: the points of the back linkage at its
// ALPHA angle (decorated name).
#ifndef CARVELL_HPD_BACK_PIVOT_H
#define CARVELL_HPD_BACK_PIVOT_H

#include "carvell_export.h"

// The five points P1, P2, C, D and E of the back linkage for the length p,
// relative to the reference point, at the ALPHA angle that brings E to the
// reference height. Answers 0; -1 when the linkage cannot be solved for p
// (points not written).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_back_pivot_relative_locations(double p, double (*points)[2]);

#endif
