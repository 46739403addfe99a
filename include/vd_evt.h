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

#endif
