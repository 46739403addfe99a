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
// List rule of strings: the count and an SM_alloc'd array of SM_alloc'd
// strings (null for an empty list; the caller frees each and the array with
// SM_free). One final line end of each literal is dropped. A path without
// the root ("NAME:rule:") is read from the root. HM_ERR_WRONG_TYPE when the
// rule is not a list of strings.
HOST_C_API int VD_RQ_ask_string_list(const struct TEXT_s* path, int* count, char*** strings);
// Object of an object rule, or the first object made by the instance at the
// path; HM_ERR_INVALID_TAG when the object is deleted.
HOST_C_API int VD_RQ_ask_object(const struct TEXT_s* path, tag_t* object);
// Alive objects made by the instance at the path and its child instances, or
// held by an object rule or a list rule (nested lists too), in a new array
// (free with SM_free); a count of 0 gives a null array.
HOST_C_API int VD_RQ_ask_objs_list(const struct TEXT_s* path, int* count, tag_t** objects);

// Whole list rules: *count entries in new SM_alloc'd blocks that the caller
// frees (each point or vector, then the array, with SM_free). Point and
// vector lists give an array of pointers to double[3]; number lists an array
// of doubles (integers read as numbers). Every member must be of the kind
// asked (HM_ERR_WRONG_TYPE otherwise). An empty list gives count 0 and a null
// array; on any failure *count is 0 and *array null.
HOST_C_API int VD_RQ_ask_point_list(const struct TEXT_s* path, int* count, double*** points);
HOST_C_API int VD_RQ_ask_number_list(const struct TEXT_s* path, int* count, double** numbers);
HOST_C_API int VD_RQ_ask_vector_list(const struct TEXT_s* path, int* count, double*** vectors);
// The rule string of an instance name: "root:NAME:" for a bare name, the
// chain itself (a colon added when missing) for a name that starts at the
// root, as an SM_alloc'd text (free with SM_free). 0, HM_ERR_NULL_POINTER,
// HM_ERR_NO_PART, HM_ERR_BAD_ARGUMENT (empty name) or HM_ERR_NOT_FOUND (no
// such instance; *rule_string null).
HOST_C_API int VD_ask_rule_string(const char* name, char** rule_string);

/* ---- eyellipse data ---- */
// An eyellipse instance (class VD_EYELLIPSE_CLASS) holds, besides the
// ellipsoid attributes "Centroid_coords:" (three points: eye types -1, 0, 1),
// "Axis_Length:", "Axis_Length_95:", "Axis_Length_99:" (three numbers each)
// and "Axis_dir:" (three vectors), the drive side as "Side_value:" (a signed
// lateral value: below 0 a driver on side 1, above 0 on side 0) with
// "Drive_side:" (0 or 1) for a value of 0, and up to two sets of neck pivot
// points "Pivot_points_1:" and "Pivot_points_2:" (two points each).
#define VD_EYELLIPSE_CLASS "%kw_vd_eyellipse"
// An instance of the class made (HM_RQ_create_child_rule) from its design
// parameters works its ellipsoid out itself, by SAE J941 for class A
// vehicles, and answers it under the attributes above (Side_value: the hip
// point's y; no pivot points). The parameters it rests on: "PRP_X",
// "PRP_SWC_Length", "Chair_Height", "Heel_Point_Z", "Hip_Point_Y",
// "Transmission_Type" (below) and "Population_Percentile" (95 or 99, the
// percentile of "Axis_Length:"). Cyclops centroid x = PRP_X + 664 + 0.587
// PRP_SWC_Length - 0.176 Chair_Height (- 12.5 with a manual transmission),
// y = Hip_Point_Y, z = Heel_Point_Z + 638 + Chair_Height; the left and right
// eyes 32.5 mm to either side in y; axes (x tipped 12 degrees nose down, y,
// z) 206.4 x 60.3 x 93.4 (95th) and 287.1 x 85.3 x 132.1 (99th). The class's
// other parameters ("Name", "Standard", "Hip_Point_X", "entity_color", ...)
// are kept as given. Giving some of these seven but not all, or one of
// another kind or value, fails the creation with HM_ERR_BAD_ARGUMENT.
enum { VD_EYELLIPSE_AUTOMATIC = 0, VD_EYELLIPSE_MANUAL = 1 };
// Requirement of VD_is_eyellipse_satisfied: the eye-point mode of an A-pillar
// analysis can be served.
enum { VD_EYELLIPSE_REQ_EYE_POINT = 6 };
// The host's record of an eyellipse instance, as VD_ask_eyellipse_data fills it.
typedef struct VD_eyellipse_pivot_set_s {
    unsigned char present;   // 1 when the instance holds the set
    double first[3];         // neck pivot of the drive side
    double second[3];        // neck pivot of the other side
} VD_eyellipse_pivot_set_t;
typedef struct VD_eyellipse_param_s {
    double centre[3][3];         // ellipsoid centres by eye type -1, 0, 1
    double side_value;           // signed drive-side value
    unsigned char drive_side;    // drive side when side_value is 0
    double axis_length[3][3];    // full axis lengths: percentile -1, 0, other
    double axis_dir[3][3];       // axis directions, as stored
    VD_eyellipse_pivot_set_t pivot[2];   // rule set 0, any other rule set
} VD_eyellipse_param_t;
// True when the instance at the rule string is an eyellipse whose data serve
// the requirement: for VD_EYELLIPSE_REQ_EYE_POINT its centres, axis
// directions and the three axis-length sets, and for eye-point mode 0 the
// pivot set of the rule set (0: set one, other: set two). False otherwise.
HOST_C_API bool VD_is_eyellipse_satisfied(const char* rule_string, int requirement, int rule_set,
                                          int eye_point_mode);
// Fills the record from the eyellipse instance at the rule string (absent
// pivot sets: presence 0, points zero). 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART,
// HM_ERR_NOT_FOUND (no eyellipse there) or HM_ERR_WRONG_TYPE (an attribute
// missing or short); nothing is written on failure.
HOST_C_API int VD_ask_eyellipse_data(const char* rule_string, VD_eyellipse_param_t* data);
// Maps the record from absolute coordinates into the coordinate system
// (origin, nine values, rows are the axes): centres and pivot points as
// points, axis directions as vectors. 0 or HM_ERR_NULL_POINTER.
HOST_C_API int VD_eyllipse_apply_vehicle_csys(VD_eyellipse_param_t* data, const double origin[3],
                                              const double matrix[9]);

/* ---- vehicle coordinate system ---- */
// Name of the coordinate system that is the work part's vehicle frame.
#define VD_VEHICLE_CSYS_NAME "VEHICLE_CSYS"
// The vehicle frame of the work part (origin, nine values, rows are the
// axes): its coordinate system named VD_VEHICLE_CSYS_NAME (the first made),
// the absolute frame when it has none. 0, HM_ERR_NULL_POINTER or HM_ERR_NO_PART.
HOST_C_API int VD_get_csys(double origin[3], double matrix[9]);
// Creates (or redefines) the eyellipse instance "root:NAME:" of the work
// part from the record: centres, axis directions, the three axis-length
// sets, the drive side and the pivot sets that are present. *instance (may
// be null) is its tag. 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART or
// HM_ERR_BAD_ARGUMENT (empty name, or a value that is not finite).
HOST_C_API int VD_ELL_create_eyellipse(const char* name, const VD_eyellipse_param_t* data, tag_t* instance);

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

/* ---- bodies made by features, sorting ---- */
// Makes a feature (the callback answers the host's code and the feature, or
// a body in its place) and answers the body it made; the callback's code on
// failure, HM_ERR_GEOMETRY when no body came of it.
typedef int (*VD_feature_callback_t)(void* data, tag_t* feature);
HOST_C_API int VD_create_bv_body_from_feature(VD_feature_callback_t callback, void* data, tag_t* body);
// Sorts the numbers ascending in place.
HOST_C_API int VD_sort_array_ascending(double* values, int count);

/* ---- stone-impingement contour angles ---- */
// The contour angles of input (first, last, step): first, first + step, ...
// up to last (with a 1e-9 allowance), at most `capacity` (and never more than
// 90); none for a step <= 0, last < first or values not finite. 0, or
// HM_ERR_NULL_POINTER.
HOST_C_API int VD_SI_calculate_num_contour_angle(const double input[3], double* angles, int capacity, int* count);
/* ---- vehicle frames as transforms ---- */
// A 4x4 transform: sixteen doubles row by row, points as columns, the
// translation in elements 3, 7 and 11 (the vehicle frame's origin) and the
// rows of the upper-left 3x3 the frame's axes.
typedef struct MTX4_s {
    double m[16];
} MTX4_t;
// Origin and orientation (nine doubles, rows are the axes) of the transform.
HOST_C_API int VD_MTX4_ask_matrix(const MTX4_t* mtx, double origin[3], double matrix[9]);

/* ---- rule creation and rule-language values ---- */
// Creates or replaces the rule `name` of the instance `owner` ("Root:" the
// root) from a rule text. The type text (any case) names the kind:
// "list parameter modifiable", "integer parameter modifiable", "number
// parameter modifiable", "string parameter modifiable", "boolean parameter
// modifiable", "point parameter modifiable", "frame parameter modifiable";
// the text must parse to that kind (in strings a tilde escapes a double
// quote or a tilde). `data` is the host's (null). 0, HM_ERR_NULL_POINTER,
// HM_ERR_NO_PART, HM_ERR_NOT_FOUND (no owner), HM_ERR_BAD_ARGUMENT (unknown
// type text, a text that does not parse) or HM_ERR_WRONG_TYPE (the text is
// of another kind, or a child instance has that name); nothing is made on
// failure. The _no_update form does the same without updating the part.
HOST_C_API int VD_RQ_create_rule(const char* owner, const char* name, const char* type, const char* text, void* data);
HOST_C_API int VD_RQ_create_rule_no_update(const char* owner, const char* name, const char* type, const char* text,
                                           void* data);
// The object of an object value (a component's tag): 0, HM_ERR_NULL_POINTER
// or HM_ERR_WRONG_TYPE.
struct Value_s;
HOST_C_API int VD_RQ_ask_object_tag(const struct Value_s* value, tag_t* tag);

// Names of every rule of an instance ("Root:" the root), in an SM_alloc'd
// array of SM_alloc'd texts (free with VD_free_string_array; null for none):
// 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART, HM_ERR_NOT_FOUND, HM_ERR_WRONG_TYPE
// (the path names a rule).
HOST_C_API int VD_RQ_ask_rules(const char* owner, int* count, char*** names);
// Names of the work part's top-level instances of exactly that class (case
// counts), in chain order, in an SM_alloc'd array of SM_alloc'd texts (free
// with VD_free_string_array; null for none): 0, HM_ERR_NULL_POINTER or
// HM_ERR_NO_PART.
HOST_C_API int VD_get_all_rules_by_class(const char* class_name, int* count, char*** names);
// Frees count texts and their array (null: nothing).
HOST_C_API void VD_free_string_array(int count, char** strings);
// Bytes of a reference text, terminator included.
#define VD_REFERENCE_SIZE 133
// The rule-language text that names an object in a rule ("Object(<tag>)"),
// into a buffer of VD_REFERENCE_SIZE bytes: 0, HM_ERR_NULL_POINTER or
// HM_ERR_INVALID_TAG (empty text).
HOST_C_API int VD_reference_object(tag_t object, char* buffer);

// Logs a temporary body (or any object) for deletion at the next update.
HOST_C_API int VD_log_body_to_delete(tag_t body);

// Upper-cases the text in place (ASCII letters): 0 or HM_ERR_NULL_POINTER.
HOST_C_API int VD_convert_char_toupper(char* text);

// The lateral (y) coordinate of an absolute point in a coordinate system;
// the same function as the automotive helpers' (belmorra.h), which older
// releases take from here.
HOST_C_API double VD_LOCAL_Y(const double point[3], const double origin[3], const double matrix[9]);

#endif
