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
// Paths are chains of the work part's rule language: "root:NAME:" names an
// instance, "root:NAME:attr:" a rule of it ("Root:" is the same root). The
// typed queries take the path as a host text (TEXT_init_string; the caller
// frees it) and answer 0 when read; HM_ERR_NULL_POINTER (null path or
// output), HM_ERR_NO_PART, HM_ERR_BAD_ARGUMENT (malformed path, list member
// out of range), HM_ERR_NOT_FOUND (nothing at the path) or HM_ERR_WRONG_TYPE
// (another kind, or an instance) otherwise, writing nothing then. Number
// queries read integer rules too; integer queries read number rules only
// when the number is whole.
struct TEXT_s;
// true when parent+name is an instance of exactly that class.
HOST_C_API bool VD_is_instance_of_class(const char* parent, const char* name, const char* class_name);
// true when the instance `parent` has a rule or a child instance `name`.
HOST_C_API bool VD_RQ_ask_rule_exist(const char* parent, const char* name);
HOST_C_API int VD_RQ_ask_integer(const struct TEXT_s* path, int* value);
HOST_C_API int VD_RQ_ask_number(const struct TEXT_s* path, double* value);
HOST_C_API int VD_RQ_ask_boolean(const struct TEXT_s* path, bool* value);
HOST_C_API int VD_RQ_ask_point(const struct TEXT_s* path, double point[3]);
// Frame rule: origin and 3x3 matrix (rows are the axes).
HOST_C_API int VD_RQ_ask_frame(const struct TEXT_s* path, double origin[3], double matrix[9]);
// Member `member` (1-based) of a list rule, as a point / a number.
HOST_C_API int VD_RQ_ask_point_list_member(const struct TEXT_s* path, int member, double point[3]);
HOST_C_API int VD_RQ_ask_number_list_member(const struct TEXT_s* path, int member, double* value);
// String rule as an SM_alloc'd copy (free with SM_free).
HOST_C_API int VD_RQ_ask_string(const struct TEXT_s* path, char** value);
// Object of an object rule, or the first object made by the instance at the
// path; HM_ERR_INVALID_TAG when the object is deleted.
HOST_C_API int VD_RQ_ask_object(const struct TEXT_s* path, tag_t* object);
// Alive objects made by the instance at the path and its child instances, or
// held by an object rule or a list rule (nested lists too), in a new array
// (free with SM_free); a count of 0 gives a null array.
HOST_C_API int VD_RQ_ask_objs_list(const struct TEXT_s* path, int* count, tag_t** objects);

/* ---- H-point data ---- */
// The host's H-point data of a design instance: whether its last update
// succeeded, and its failure code when not.
typedef struct VD_hpd_param_s {
    bool update_success;
    int fail_code;
} VD_hpd_param_t;
// H-point data of the design instance "root:NAME:" (either H-point class):
// its "rcode" (0 when unset) as failure code. 0, HM_ERR_NULL_POINTER or
// HM_ERR_NOT_FOUND (no such design instance; nothing written).
HOST_C_API int VD_ask_hpd_data(const char* name, VD_hpd_param_t* data);
// The feature of instance "root:NAME:" (the first feature among the objects
// the instance made) and its name as an SM_alloc'd text (free with SM_free).
// 0, HM_ERR_NULL_POINTER or HM_ERR_NOT_FOUND (no instance or no feature;
// nothing written).
HOST_C_API int VD_ask_feature_tag_and_name(const char* name, tag_t* feature, char** feature_name);

/* ---- vehicle frames as transforms ---- */
// A 4x4 transform: sixteen doubles row by row, points as columns, the
// translation in elements 3, 7 and 11 (the vehicle frame's origin) and the
// rows of the upper-left 3x3 the frame's axes.
typedef struct MTX4_s {
    double m[16];
} MTX4_t;
// Origin and orientation (nine doubles, rows are the axes) of the transform.
HOST_C_API int VD_MTX4_ask_matrix(const MTX4_t* mtx, double origin[3], double matrix[9]);

#endif
