// nethrow: the host's part utilities: kernel entities of bodies and faces.
#ifndef CARVELL_HOST_NETHROW_H
#define CARVELL_HOST_NETHROW_H

#include "host_types.h"

// Kernel entity of a body (0 when the object is not a body).
HOST_C_API tag_t es7010_occ(tag_t body);
// Kernel entity of a face or edge (0 when the object is neither).
HOST_C_API tag_t PX_ask_ptag_of_kw_eid(tag_t object);
// Display grid of a face: u_count and v_count lines across it (0 and 0:
// none). 0, HM_ERR_INVALID_TAG, HM_ERR_WRONG_TYPE (no face) or
// HM_ERR_BAD_ARGUMENT (a count below 0 or above 1000).
HOST_C_API int ES_write_grid_counts(tag_t face, int u_count, int v_count);
// The faces of a body in the host's fixed order, in an SM_alloc'd array
// (null when none; the caller frees it). 0, HM_ERR_NULL_POINTER,
// HM_ERR_INVALID_TAG or HM_ERR_WRONG_TYPE (no body).
HOST_C_API int PX_body_ask_faces_sm(tag_t body, int* count, tag_t** faces);
// The prototype of an occurrence, to be worked on in its own part; any other
// object stands for itself; 0 for none.
HOST_C_API tag_t es7034(tag_t object);

// Kernel body of a body object (the same tag in the stand-in).
HOST_C_API int ES_solid_ask_brelvic_tag(tag_t body, tag_t* kernel_body);

// The part utilities' touch of a newly made object (nothing to do in this
// host): 0 for a live object, HM_ERR_INVALID_TAG otherwise.
HOST_C_API int at020(tag_t object);
// Parameter ranges of a face: u range then v range (normalised: 0 1 0 1).
HOST_C_API int pxpben(tag_t face, double ranges[4]);

// 1 when the curve lies in the plane through the origin with the normal
// (every point within the tolerance), else 0 (also for a bad argument).
HOST_C_API int CRV_ask_curve_on_plane(tag_t curve, const double origin[3], const double normal[3], double tolerance);

#endif
