// ostrade: the host's face extraction (minimum distance is omvra's
// HM_MODL_ask_minimum_dist).
#ifndef CARVELL_HOST_OSTRADE_H
#define CARVELL_HOST_OSTRADE_H

#include "host_types.h"

// A new sheet body ("EXTRACT_FACE") holding a copy of the face.
HOST_C_API int MODL_extract_face(tag_t face, tag_t* sheet);

#endif
