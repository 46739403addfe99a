// List and curve exports of the 2003 release: an insertion into a host list,
// a host list restored from a rule-language list, and chains of curves that
// meet end to end.
//
// Lists handed back are new host lists that the caller deletes with
// HM_MODL_delete_list (the objects stay). Curve end points are the points at
// the normalised parameters 0 and 1. "Within the distance tolerance" is the
// work part's modelling distance tolerance. A null output pointer is never
// followed, and a point or tolerance that is not finite (NaN, infinite) is
// refused, with nothing built and nothing allocated.
#ifndef CARVELL_RELEASE2003_LISTS_H
#define CARVELL_RELEASE2003_LISTS_H

#include "carvell_export.h"
#include "host_types.h"
#include "omvra.h"

#include <stdbool.h>

// How a chain of curves ends (HM_VD_CURVE_ask_chain_of_curve).
enum HM_VD_chain_state {
    HM_VD_CHAIN_CLOSED = 0,   // it closes on itself
    HM_VD_CHAIN_OPEN = 1,     // it ends open
    HM_VD_CHAIN_BRANCH = 2    // it stops at a branch (several neighbours) or at a closed member
};

// Inserts the item before the item at the zero-based index (index 0: first;
// into an empty list: its only item). 0, or -1 with the list unchanged for a
// null handle, a negative index, or an index past the last item (index above
// 0 and above count - 1, which also writes " invalid index" to the system
// log).
CARVELL_C_EXPORT int HM_VD_insert_list_item(hm_list_p_t* list, int index, tag_t item);

// A new host list of the rule-language list's elements in order: an object
// element gives its object, an instance element the host object of the
// instance; null objects and other elements are skipped. 0, or -1 with
// *list null for a null handle, no value, or a value that is not a list.
CARVELL_C_EXPORT int HM_VD_restore_list(HM_RQ_value_t value, hm_list_p_t* list);

// Whether the curves close: one curve by the host's closed test, several
// when each of the 2n end points has exactly one other end point nearer
// than the tolerance. 0, or -1 with *closed false for a null or empty list,
// an item that is not a curve, a curve whose ends cannot be asked, or a
// tolerance that is not finite or below 0.
CARVELL_C_EXPORT int HM_VD_CURVE_is_closed_chain(hm_list_p_t curves, double tolerance, bool* closed);

// *adjacent: a new list of the curves of the list, other than the given
// curve, with an end point within the distance tolerance of the point; null
// when there are none, for a null list or for a null point.
CARVELL_C_EXPORT void HM_VD_CURVE_ask_adjecent_curves_on_point(tag_t curve, const double point[3],
                                                              hm_list_p_t curves, hm_list_p_t* adjacent);

// 0 when the point is the curve's start point (within the distance
// tolerance), 1 when it is its end point, 0 otherwise; -1 for a null point,
// a closed curve or one whose ends cannot be asked.
CARVELL_C_EXPORT int HM_VD_CURVE_is_end_point(tag_t curve, const double point[3]);

// The chain through the curve (0: the list's first item): walked from its
// end (from_start) or its start, then, where the chain ends, from the other
// side of the curve, each curve met once. *chain: a new list of the chain's
// curves in order along it; *state: how it ends (HM_VD_chain_state); a
// chain ends closed when the walk comes back to its first point within the
// tolerance. 0, or -1 (state 0, chain null) for a null list, no curve and
// an empty list, a curve whose ends cannot be asked or a tolerance that is
// not finite or below 0.
CARVELL_C_EXPORT int HM_VD_CURVE_ask_chain_of_curve(tag_t curve, bool from_start, double tolerance,
                                                   hm_list_p_t curves, int* state, hm_list_p_t* chain);

#endif
