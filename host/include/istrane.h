// istrane: the rule language's run-time values, lists and the argument slots
// with which it calls a library function.
//
// A rule-language function receives an array of 8-byte argument slots; each
// function's contract says which slot holds what (a list, an int, a value).
// A list (x_DList) hands out its values one by one (KBL_list_pop); a popped
// value's data stays valid while its list lives. Lists and values are the
// rule language's: the called function frees none of them.
#ifndef CARVELL_HOST_ISTRANE_H
#define CARVELL_HOST_ISTRANE_H

#include "host_types.h"

// Kinds of values, as the rule language numbers them.
enum KBL_value_kind {
    KBL_KIND_NONE = 0,
    KBL_KIND_BOOLEAN = 3,   // data: int 0 or 1
    KBL_KIND_INTEGER = 7,   // data: int
    KBL_KIND_NUMBER = 12,   // data: double
    KBL_KIND_STRING = 14,   // data: a terminated text
    KBL_KIND_POINT = 16,    // data: double[3]
    KBL_KIND_VECTOR = 17,   // data: double[3]
    KBL_KIND_FRAME = 20,    // data: double[16], a transform (HM_RQ_ask_frame's layout)
    KBL_KIND_OBJECT = 24,   // data: tag_t
    KBL_KIND_LIST = 30      // data: x_DList
};

typedef struct Value_s {
    int kind;
    void* data;
} Value;

typedef struct x_DList_s* x_DList;

// One argument slot of a rule-language call.
typedef union KBL_arg_slot_u {
    x_DList list;
    const Value* value;
    int integer;
    double number;
    tag_t tag;
    void* pointer;
} KBL_arg_slot_t;

// Values not yet popped (0 for a null list).
HOST_C_API int KBL_list_length(x_DList list);
// The next value of the list, removed from it; kind KBL_KIND_NONE when the
// list is empty or null.
HOST_C_API Value KBL_list_pop(x_DList list);
// Kind of a value (KBL_KIND_NONE for null).
HOST_C_API int KBL_ask_value_kind(const Value* value);
// The class of the work part's instance of that name (a bare name or a
// chain from the root), as an SM_alloc'd text (free with SM_free): 0,
// HM_ERR_NULL_POINTER, HM_ERR_NO_PART, HM_ERR_NOT_FOUND (*class_name null).
HOST_C_API int KBL_ask_instance_class(const char* instance, char** class_name);

#endif
