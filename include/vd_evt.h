// Tire-envelope tool: its inputs (groups of curves, coordinate systems,
// numbers, switches) kept as list rules at the part's root, so that a later
// run of the tool reads them back. Decorated (C++) exports.
//
// VD_EVT_object_t holds one input: the value (or a pointer to the values),
// the number of items (1 for a single value) and the kind (VD_EVT_TYPE_...).
// Strings are 133-byte buffers (at most 132 characters). Every block a
// record points to is the host memory manager's; free the records with
// VD_EVTWIZ_free_EVT_Object. A cleared record is the null record.
#ifndef CARVELL_VD_EVT_H
#define CARVELL_VD_EVT_H

#include "carvell_export.h"
#include "host_types.h"

#define VD_EVT_STRING_SIZE 133

enum VD_EVT_type {
    VD_EVT_TYPE_STRING = 0,        // value.string: one 133-byte string
    VD_EVT_TYPE_STRING_LIST = 1,   // value.strings: count pointers to 133-byte strings
    VD_EVT_TYPE_INTEGER = 2,       // value.integer
    VD_EVT_TYPE_INTEGER_LIST = 3,  // value.integers: count ints
    VD_EVT_TYPE_NUMBER = 4,        // value.number
    VD_EVT_TYPE_NUMBER_LIST = 5,   // value.numbers: count doubles
    VD_EVT_TYPE_BOOLEAN = 6,       // value.boolean
    VD_EVT_TYPE_BOOLEAN_LIST = 7,  // value.booleans: count one-byte bools
    VD_EVT_TYPE_OBJECT = 8,        // value.tag
    VD_EVT_TYPE_OBJECT_LIST = 9    // value.tags: count identifiers
};

typedef struct VD_EVT_object_s {
    union {
        char* string;
        char** strings;
        int integer;
        int* integers;
        double number;
        double* numbers;
        bool boolean;
        bool* booleans;
        tag_t tag;
        tag_t* tags;
        unsigned long long raw;   // the whole 8-byte slot
    } value;
    int count;
    int type;
} VD_EVT_object_t;

// Writes the n records as one list rule "Root:<rule_name>" ("{ a, { b, c },
// d }": strings in double quotes as they stand, at most their first 132
// characters (a buffer without its terminator is not read past its 133
// bytes), integers "%d", numbers "%f",
// booleans TRUE/FALSE, objects by their reference text, lists in braces).
// Returns the rule creation's code (0); -1 (null argument, n < 1, a list
// record without items, an object that has no reference text, a boolean
// byte other than 0 or 1,
// a number not finite or beyond 1e12, counts whose arrays would pass 1 GiB;
// no rule made).
CARVELL_CPP_EXPORT int VD_EVTWIZ_build_EVT_Object(VD_EVT_object_t* objects, int n, const char* rule_name);
// Reads the list rule "Root:<rule_name>" back into *n new records (*objects
// null for an empty list). Returns the last host query's code (0); -1 (null
// argument, no such rule, a rule that is not a list; nothing allocated).
CARVELL_CPP_EXPORT int VD_EVTWIZ_ask_EVT_Object(const char* rule_name, int* n, VD_EVT_object_t** objects);
// Frees what the n records own and the array (null: nothing). Returns 0.
CARVELL_CPP_EXPORT int VD_EVTWIZ_free_EVT_Object(int n, VD_EVT_object_t* objects);
// Clears the record (null: nothing). Returns 0.
CARVELL_CPP_EXPORT int VD_EVTWIZ_init_EVT_Object(VD_EVT_object_t* object);
// True when value, count and type are all zero (a null pointer counts as null).
CARVELL_CPP_EXPORT bool VD_EVTWIZ_is_EVT_Object_null(VD_EVT_object_t* object);
// True when the root holds a rule of exactly that name (case counts).
CARVELL_CPP_EXPORT bool VD_EVTWIZ_is_group_available(const char* name);

// ---- spindle and joint-displacement files ----
// Kinds of VD_EVT_store_data_file_into_rq.
#define VD_EVT_DATA_SPINDLE 0
#define VD_EVT_DATA_JOINT_DISPLACEMENT 1

// Counts the records of a spindle-points file: the lines without '#' after
// the last header terminator (a line beginning with six '#'), or from the
// start; *has_header when a terminator was seen. Returns 0, or -1 (null
// argument, file cannot be opened; count 0).
CARVELL_CPP_EXPORT int VD_EVT_count_spindle_pts(const char* path, bool* has_header, long* count);
// Reads the records (six numbers: spindle point P, then a point Q on the
// spindle axis) after the first header terminator, or from the start, into
// *count new points each of *first and *second: P and Q when order is not
// 0, Q and P when it is (arrays of point pointers; free each point and the
// arrays with SM_free). Returns 0 (a missing file too, count 0); -1 (null
// argument); -2 (a record of fewer than six numbers); -3 (a record with more than
// six numbers or a token that is not a number). On
// failure nothing is handed back.
CARVELL_CPP_EXPORT int VD_EVTWIZ_read_spindle_file(const char* path, int order, int* count, double*** first,
                                                   double*** second);
// Stores a text file as list rules of the owner (lists of at most 2000
// lines, see vd_eve.h): the spindle file as "spindle_file_data",
// "spindle_file_data_1", ... with the count rule "spindle_line_count", the
// joint-displacement file as "joints_disp_file_data", ... with
// "joints_disp_line_count". Returns 0; -1 (null argument, another kind,
// file cannot be opened; no rule made) or a rule creation's code.
CARVELL_CPP_EXPORT int VD_EVT_store_data_file_into_rq(const char* path, const char* owner, int kind);

// ---- clearance data set: configurations and zones ----
// Replaces every configuration of the clearance data set by one per record
// of the spindle-points (displacement) file, named "LOAD 1", "LOAD 2", ...
// in file order. Configuration i's 4x4 transform carries the design record
// (the first) onto record i: the spindle point P onto Pi and the spindle
// axis, from the point nearer the vehicle's centre plane (lateral y in the
// coordinate system origin, matrix) to the farther one, onto record i's
// (the identity for "LOAD 1"). The new configurations move the first object
// of position 0 of the data set's first configuration, or nothing. Returns
// 0 or the last configuration's host code; the reader's -2 / -3; -1 (null
// argument, a missing file or one without records); the host's code for a
// data set that is not one or a zero-length spindle. Any failure is logged
// ("ERROR: DISPLACE file data extraction failed") and changes nothing.
CARVELL_CPP_EXPORT int VD_EVTWIZ_build_clear_configurations(tag_t dataset, const char* path, double origin[3],
                                                            double matrix[9]);
// Gives objects[i] the clearance zone zones[i] (an expression of the zone's
// distance) in the data set, for i < n. Returns the last host result (0 for
// n < 1); -1 (null array).
CARVELL_CPP_EXPORT int VD_EVTWIZ_add_objs_zone(tag_t dataset, int n, const tag_t* zones, const tag_t* objects);
// The objects that stand for an object in the clearance analysis: a solid
// stands for itself; a component for the occurrences in it of the facetted
// models of the root (display) part that belong to the component's part, or,
// when there are none, of the root part's solid bodies that do. *tags is a
// new array of *n objects (free with SM_free). Returns 0; -1 (null argument,
// another kind of object, nothing found; *n 0, *tags null).
CARVELL_CPP_EXPORT int VD_EVTWIZ_ask_objs_tag_of_component(tag_t object, int* n, tag_t** tags);
// Writes the component and its whole subtree (each part occurrence once, a
// child just before its own children) into the caller's array from index
// *count on, and adds their number to *count. The caller sizes the array;
// the tags end at index VD_EVT_MAX_SUBTREE_TAGS at the latest. Returns 0; -1
// (null argument, *count negative or above VD_EVT_MAX_SUBTREE_TAGS, or a
// subtree that would pass it; nothing written).
#define VD_EVT_MAX_SUBTREE_TAGS 100000
CARVELL_CPP_EXPORT int VD_EVTWIZ_ask_child_part_tags(tag_t component, int* count, tag_t* array);
// Adds a part file as a component of the parent: the same as
// VD_EVEWIZ_add_part_to_assy (vd_eve.h), with its results; -1 for a null
// placement.
CARVELL_CPP_EXPORT int VD_EVTWIZ_add_component_to_assy(tag_t parent, const char* part_name, const char* refset,
                                                       const char* instance_name, double placement[4][4],
                                                       tag_t* instance);
// The clearance lists' objects: for each component i, the objects that stand
// for every occurrence of its subtree (each occurrence blanked), each with a
// new zone expression reading values[i] ("%f"); then the n_extra extra
// objects (no expression). Both arrays are new (free with SM_free; null when
// empty). Opens its own host-API session. Returns the last objects query's
// status (0, or -1 for an occurrence that stands for nothing); -1 (null
// argument, negative count; nothing handed back); an expression's host code.
CARVELL_CPP_EXPORT int VD_EVT_ask_clr_list_objs(tag_t part_object, const double* values, int n_extra,
                                                const tag_t* extra, int n_components, const tag_t* components,
                                                int* n_objects, tag_t** objects, int* n_expressions,
                                                tag_t** expressions);
// Loads the fixing occurrences fully, with the assembly options "load fully"
// and "load interpart data" set for the time of the call: a component whose
// part is not loaded is loaded; the part of a prototype that is not fully
// loaded is opened. Returns 0; the options' host code; the last failing
// load's code; -1 (null array, negative n).
CARVELL_CPP_EXPORT int VD_EVT_load_fixing_components_fully(tag_t* occurrences, int n);
// Engine roll: sets object list `list` of the data set (lists of component
// occurrences, each object against every other) to the n objects. For list 1
// the first object is paired with the first engine-roll copy
// "ROLL_MOVING_COMP_COPY_0" in list 2 (unless list 2 compares every object),
// and every configuration's position 0 moves the n objects. Returns the last
// host result; -1 (null objects, negative n).
CARVELL_CPP_EXPORT int VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(tag_t dataset, int list, int n, tag_t* objects);
// Engine roll: adds to the assembly a copy "ROLL_MOVING_COMP_COPY_<i>" of each
// moving occurrence's part, at the occurrence's place and with its reference
// set, replacing the copy of that name when copies were made before; a
// component that is not loaded is loaded first. Returns the last addition's
// result; the data set's host code; the load status's first code; -1 (null
// array).
CARVELL_CPP_EXPORT int VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(tag_t assembly, tag_t dataset, tag_t* moving, int n);
// ---- checks of the tool's curves and sketches ----
// Sketch placements: orientation rows are the sketch's x, y and z axes;
// transform is the twelve-value transformation (hm5947) that carries
// absolute XY geometry into the sketch's axes (no translation); the 4x4
// maps (row by row) give absolute points of sketch coordinates
// (sketch_to_absolute) and sketch coordinates of absolute points
// (absolute_to_sketch). Lengths are in part units.

// True, with *sketch, when a sketch holds the curve; false and *sketch 0 when
// none (tag 0, null sketch pointer: false).
CARVELL_CPP_EXPORT bool VD_EVT_is_curve_in_sketch(tag_t curve, tag_t* sketch);
// 0 when every point of the curve sampled at eleven even parameter steps has
// |z| <= 1e-10; -1 when one does not, or for tag 0; a host code when the
// curve cannot be evaluated.
CARVELL_CPP_EXPORT int VD_EVT_check_curve_in_XOY_plane(tag_t curve);
// Where the curve (a feature: its first object) crosses the Y axis plane:
// the plane through the sketch's origin normal to its x axis for a sketch
// curve, the absolute YZ plane otherwise. *count new points (each three
// doubles); free each and the array with SM_free. Returns 0 (tag 0 too,
// count 0); -1 (null count or points); a host code or a caught exception's
// code (count 0, points null). The part is left as it was.
CARVELL_CPP_EXPORT int VD_EVT_check_curve_intersect_Y_axis(tag_t curve, int* count, double*** points);
// 0 when one end of the curve (a feature: its link source) is within 0.0001
// of the Y axis, in sketch coordinates for a sketch curve; -1 when neither
// is, or for tag 0 or a feature without source; a host code otherwise.
CARVELL_CPP_EXPORT int VD_EVT_check_curve_begin_Y_axis(tag_t curve);
// The sketch's orientation (nine values), transform (twelve) and maps
// (sixteen each). Returns 0; -1 (tag 0, a null array); the sketch query's code.
CARVELL_CPP_EXPORT int VD_EVT_ask_sketch_matrix_information(tag_t sketch, double orientation[9], double* transform,
                                                            double* sketch_to_absolute, double* absolute_to_sketch);
// The reach of the sketch's geometry in sketch coordinates: limits = the
// smallest x, the largest x, the smallest y, the largest y. Returns 0; -1
// (tag 0, null limits); a host code or a caught exception's code (limits
// found before it kept). Nothing is left in the part.
CARVELL_CPP_EXPORT int VD_EVT_ask_joint_limits_from_sketch(tag_t sketch, double limits[4]);
// The given tags, in order, that no other instance of the tool holds in its
// geometry attributes (output curves, profile curves, tire frames, the step
// plane): instances of the given instance's class ("%kw_vd_evt_envelope"
// when it has none or none is given) other than it (names ignoring case).
// *free_tags is a new array (free with SM_free; null when none is free).
// Returns 0; -1 (null output, n < 0, null tags for n > 0, an instance name
// too long for its attribute paths); a host code or a caught exception's code.
CARVELL_CPP_EXPORT int VD_EVT_check_geometry_used_by_rules(const char* instance, const tag_t* tags, int n,
                                                           tag_t** free_tags, int* n_free);
// The text as a rule-language string body: a tilde before every double
// quote and every tilde, in a new string (free with SM_free). Returns 0; -1
// (null text or result pointer); -2 (empty text). *rq_text null on failure.
CARVELL_CPP_EXPORT int VD_EVT_convert_c_string_to_rq_string(const char* text, char** rq_text);

#endif
