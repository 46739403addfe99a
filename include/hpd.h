// H-point design tool: every family of H-point exports, one header per area.
// Decorated names, except the circle intersection and the list and array
// conversions, which keep plain names.
//
// Lengths are in the work part's units, angles in degrees. Side-view points
// are (L, H) pairs (the x and z of a vehicle point), plan-view points (L, W).
// Leg lengths are pairs (upper leg, lower leg). Records are allocated by the
// caller and hold nothing the library allocates; texts, names and arrays
// handed back are freed by the caller with SM_free, host lists with
// HM_MODL_delete_list, as each contract says.
#ifndef CARVELL_HPD_H
#define CARVELL_HPD_H

#include "hpd/back_pivot.h"
#include "hpd/contact.h"
#include "hpd/geometry.h"
#include "hpd/leg_posture.h"
#include "hpd/messages.h"
#include "hpd/record.h"
#include "hpd/report.h"
#include "hpd/reverse.h"
#include "hpd/sgrp.h"
#include "hpd/spreadsheet.h"

#endif
