// nethrow: the host's part utilities: kernel entities of bodies and faces.
#ifndef CARVELL_HOST_NETHROW_H
#define CARVELL_HOST_NETHROW_H

#include "host_types.h"

// Kernel entity of a body (0 when the object is not a body).
HOST_C_API tag_t es7010_occ(tag_t body);
// Kernel entity of a face or edge (0 when the object is neither).
HOST_C_API tag_t PX_ask_ptag_of_kw_eid(tag_t object);

// Kernel body of a body object (the same tag in the stand-in).
HOST_C_API int ES_solid_ask_brelvic_tag(tag_t body, tag_t* kernel_body);

#endif
