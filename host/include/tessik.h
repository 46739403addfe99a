// tessik: the host's vehicle-design core: unit conversion, the defaults
// file, typed rule-language queries and rule creation, eyellipse and H-point
// data, vehicle coordinate-system helpers.
#ifndef CARVELL_HOST_TESSIK_H
#define CARVELL_HOST_TESSIK_H

#include "host_types.h"

#include <stdbool.h>

/* ---- units ---- */
// Unit codes of vd_convert_unit: 0 millimetres, 1 inches.
enum VD_unit_code { VD_UNIT_MM = 0, VD_UNIT_INCH = 1 };
// Converts a length given in unit code `from` into unit code `to`.
HOST_C_API double vd_convert_unit(double value, int from, int to);

/* ---- defaults file ---- */
enum VD_deffile_type { VD_DEFFILE_TEXT = 0, VD_DEFFILE_SWITCH = 5 };
// Text buffers passed for VD_DEFFILE_TEXT hold this many characters.
#define VD_DEFFILE_TEXT_SIZE 1040
// Reads a key of the defaults file (file null: the host's own). Type
// VD_DEFFILE_SWITCH writes one byte (1 for "1", "ON", "TRUE", "YES", any case;
// 0 otherwise); VD_DEFFILE_TEXT copies at most VD_DEFFILE_TEXT_SIZE-1
// characters and a terminator. Answers 0 when read, HM_ERR_NOT_FOUND when the
// key is missing (nothing written).
HOST_C_API int VD_DEFFILE_read_value(const char* file, const char* key, int type, void* value);

/* ---- rule-language queries: see the rules section ---- */

#endif
