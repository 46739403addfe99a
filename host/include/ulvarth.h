// ulvarth: the host's data-management part names.
#ifndef CARVELL_HOST_ULVARTH_H
#define CARVELL_HOST_ULVARTH_H

#include "host_types.h"

// The data-management form of a part file name, into a buffer of `size`
// bytes (truncated to size-1 characters). This host keeps parts as plain
// files, so the form is the file name itself.
HOST_C_API int VD_ask_vorsa_name(const char* file_name, char* vorsa_name, size_t size);

// Decodes a data-management part file name: its leaf (what follows the
// last '/') in the form "@DB|<part number>|<revision>|<file type>|<name>".
// Each field goes into a buffer of KWMGR_FIELD_BUFSIZE bytes. 0,
// HM_ERR_NULL_POINTER, or HM_ERR_BAD_ARGUMENT (fields untouched) for a name
// not in that form, an empty field or one too long.
#define KWMGR_FIELD_BUFSIZE 133
HOST_C_API int KWMGR_decode_part_filename(const char* file_name, char* part_number, char* revision,
                                          char* file_type, char* name);
// The file name of a part given in command-line form: surrounding blanks
// and one pair of double quotes are taken off. HM_ERR_BAD_ARGUMENT for an
// empty name or one that does not fit the buffer.
HOST_C_API int KWMGR_decode_cli_part_file(const char* cli_name, char* file_name, size_t size);
// Opens a part file without changing the work and display parts (a part
// already loaded from that file is answered as it is). A file that cannot be
// read: HM_ERR_FILE with a failed status (free it with PART_free_load_status).
HOST_C_API int BASE_open_part_quietly(const char* file_name, tag_t* part, struct HM_PART_load_status_s* status);

#endif
