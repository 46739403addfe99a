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
// d }": strings in double quotes as they stand, integers "%d", numbers "%f",
// booleans TRUE/FALSE, objects by their reference text, lists in braces).
// Returns the rule creation's code (0); -1 (null argument, n < 1, a list
// record without items, an object that has no reference text; no rule made).
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

#endif
