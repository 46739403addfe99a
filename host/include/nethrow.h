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
// HM_ERR_BAD_ARGUMENT (a negative count).
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

#endif
