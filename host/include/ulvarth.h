// ulvarth: the host's data-management part names.
#ifndef CARVELL_HOST_ULVARTH_H
#define CARVELL_HOST_ULVARTH_H

#include "host_types.h"

// The data-management form of a part file name, into a buffer of `size`
// bytes (truncated to size-1 characters). This host keeps parts as plain
// files, so the form is the file name itself.
HOST_C_API int VD_ask_vorsa_name(const char* file_name, char* vorsa_name, size_t size);

#endif
