// The mirror dialog's input checks, the same code in every release that
// holds a mirror certification: the bezel loop, the prime point's place, a
// convex mirror's radius and the backlite faces. None leaves geometry in the
// part.
#ifndef CARVELL_HM_VD_MC_CHECKS_H
#define CARVELL_HM_VD_MC_CHECKS_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// Most objects one caller array may hold (bezel curves, backlite faces, each
// kind of restriction, the objects of the input checks) and most caller
// messages: far above what a mirror dialog selects; a larger count is
// refused before the array is read.
#define HM_VD_MC_MAX_OBJECTS 1000


// true when the curves and edges form one closed loop within the distance
// tolerance; true also for a count below 1 or above 100 (not looked at);
// false for a null array with a count in range.
CARVELL_CPP_EXPORT bool HM_VD_MC_check_curves_edges_loop(int count, const tag_t* objects);

// 1: the point lies on the perimeter of the mirror face or single-face body,
// or the object is not a face or body (nothing to check); 2: on the mirror
// surface but not on its perimeter; -1: not on the mirror, a body of more
// than one face, a face without edges, or a null or non-finite point.
CARVELL_CPP_EXPORT int HM_VD_MC_check_prime_location(const double point[3], tag_t mirror);

// Fits a sphere to the mirror's outline and compares its radius with the
// entered one. 0: *radius written (the entered radius for a flat mirror, the
// fitted one otherwise), *agrees true when within 0.1 % (always for flat);
// 1: not a face or single-face body, or edges that give no curves; 2: the
// edges join into other than one curve, or sampling failed; 3: the fit
// failed; 4: a sphere smaller than the outline's circle; -1: null outputs or
// an entered radius that is not finite (outputs untouched).
// For codes 1 to 4 *agrees is true (not a convex mirror to refuse), except
// code 1 for an object that is not a face or body, which leaves it as set.
CARVELL_CPP_EXPORT int HM_VD_MC_check_convex_value(tag_t mirror, double entered_radius, double* radius,
                                                   bool* agrees);

// true when the faces, extracted as sheets, sew into exactly one sheet; the
// part holds no new sheet afterwards either way. false for no faces, a count
// above HM_VD_MC_MAX_OBJECTS or a null array (not read).
CARVELL_CPP_EXPORT bool HM_VD_MC_check_backlite(int count, const tag_t* faces);

#endif
