// nethrow: the host's part utilities: kernel entities of bodies and faces.
#ifndef CARVELL_HOST_NETHROW_H
#define CARVELL_HOST_NETHROW_H

#include "host_types.h"

// Kernel entity of a body (0 when the object is not a body).
HOST_C_API tag_t es7010_occ(tag_t body);
// Kernel entity of a face or edge (0 when the object is neither).
HOST_C_API tag_t PX_ask_ptag_of_kw_eid(tag_t object);

// The part utilities' touch of a newly made object (nothing to do in this
// host): 0 for a live object, HM_ERR_INVALID_TAG otherwise.
HOST_C_API int at020(tag_t object);
// Parameter ranges of a face: u range then v range (normalised: 0 1 0 1).
HOST_C_API int pxpben(tag_t face, double ranges[4]);
// The kernel body of a body or sheet (the body's own tag here); 0 for anything else.
HOST_C_API tag_t ES_solid_ask_brelvic_tag(tag_t body);

// 1 when the curve lies in the plane through the origin with the normal
// (every point within the tolerance), else 0 (also for a bad argument).
HOST_C_API int CRV_ask_curve_on_plane(tag_t curve, const double origin[3], const double normal[3], double tolerance);

#endif
