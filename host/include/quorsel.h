// quorsel: the host's validation-application checker objects.
//
// A checker is made by a validation application's plug-in from a class name
// and three texts: the application's name, the checker's name and its
// parameters. A persistent checker is kept in the work part as an object of
// its own, found again by the application's name.
#ifndef CARVELL_HOST_QUORSEL_H
#define CARVELL_HOST_QUORSEL_H

#include "host_types.h"

#include <stdbool.h>

// Capacity of the description's text fields, terminator included.
#define VALIDATION_DESCRIPTION_FIELD_SIZE 133

// What a plug-in makes: a zero-filled record with its version (0), the
// checker class's name and the dialog that edits it.
typedef struct VALIDATION_APPLICATION_description_s {
    int version;
    char name[VALIDATION_DESCRIPTION_FIELD_SIZE];
    char dialog[VALIDATION_DESCRIPTION_FIELD_SIZE];
} VALIDATION_APPLICATION_description_t;

// A checker. Those handed out by the plug-in belong to the host; details
// asked of persistent objects belong to the caller
// (VALIDATION_APPLICATION_free_app_memory).
typedef struct VALIDATION_checker_object_s {
    char* name;          // the checker's name
    char* class_name;
    char* application;
    char* parameters;
    tag_t object;        // its persistent object, 0 for a transient checker
} VALIDATION_checker_object_t;

// Makes a checker of the description's class from (application, checker name,
// parameters); a persistent one also gets an object in the work part.
// *checker is null when none is made (empty class or name, null texts, or no
// work part for a persistent checker).
HOST_C_API int VALIDATION_APPLICATION_plugin(const VALIDATION_APPLICATION_description_t* description,
                                             const char* application, const char* checker_name,
                                             const char* parameters, bool persistent,
                                             VALIDATION_checker_object_t** checker);
// Persistent checker objects of an application in the session, in creation
// order, in an SM_alloc'd array (null when there are none).
HOST_C_API int VALIDATION_APPLICATION_ask_all_persistent_app_objects(const char* application, int* count,
                                                                     tag_t** objects);
// A copy of a persistent object's checker (free it with
// VALIDATION_APPLICATION_free_app_memory); null for 0 or an object that is
// no checker.
HOST_C_API int VALIDATION_APPLICATION_ask_persistent_checker_detail(tag_t object,
                                                                   VALIDATION_checker_object_t** detail);
// Frees a detail; checkers that belong to the host and null are ignored.
HOST_C_API void VALIDATION_APPLICATION_free_app_memory(VALIDATION_checker_object_t* detail);

#endif
