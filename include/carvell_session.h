// Host-API session bracket and framework services (decorated names).
#ifndef CARVELL_SESSION_H
#define CARVELL_SESSION_H

#include "carvell_export.h"
#include "host_types.h"
#include "quillon.h"
#include "quorsel.h"

// Opens the library's host-API session unless the bracket already holds one.
CARVELL_CPP_EXPORT void VD_enter_omvra();
// Closes the bracket's session when it holds one. The bracket is a flag, not
// a count: the first exit after any number of enters closes it.
CARVELL_CPP_EXPORT void VD_exit_omvra();

// Exports every object of the type and subtype of the source part into the
// target part's file (an occurrence as its prototype), opening either part
// when it is not loaded. 0 when done, 2 (nothing exported) when the parts'
// units differ, otherwise the host's code of the first open, export or
// display-part failure (a part that cannot be opened stops the export).
// Leaves the target as the display part and the bracket closed.
CARVELL_CPP_EXPORT int VD_export_all_objs(tag_t source_part, tag_t target_part, int type, int subtype);

// Components of the work part with their names (an unnamed one under its
// part's display name; names holding "ROLL_MOVING_COMP_COPY" left out), for
// mode 0 or 1; any other mode nulls both arrays and leaves the count. The
// caller frees each name, the name array and the tag array with SM_free.
// Always 0; leaves the bracket closed.
CARVELL_CPP_EXPORT int VD_ask_all_component_name(tag_t** components, char*** names, int* count, int mode);

// Minimum distance between two objects and the nearest point on each; the
// host's status.
CARVELL_CPP_EXPORT int VD_ask_minimum_distance(tag_t object1, tag_t object2, double* distance, double point1[3],
                                               double point2[3]);

// Size of the buffer VD_ask_tag_handle writes: the longest handle and its
// terminator.
#define VD_TAG_HANDLE_BUFSIZE (TAG_HANDLE_MAX_LENGTH + 1)
// Writes the object's persistent handle text into `handle` (at most
// VD_TAG_HANDLE_BUFSIZE bytes, terminator included). -1, nothing written,
// for tag 0, a null buffer or an object that has no handle; 0 otherwise.
CARVELL_CPP_EXPORT int VD_ask_tag_handle(tag_t object, char* handle);
// The object a persistent handle names; 0 when none.
CARVELL_CPP_EXPORT tag_t VD_ask_handle_tag(const char* handle);

// Makes a validation-application checker of the class from the three texts
// (application, checker name, parameters); *checker (host-owned) stays null
// when the host makes none.
CARVELL_CPP_EXPORT void VD_create_validation_app_object(const char* application, const char* checker_name,
                                                        const char* parameters, const char* class_name,
                                                        VALIDATION_checker_object_t** checker);
// The first persistent checker object of the application whose checker bears
// the name; 0 when none does.
CARVELL_CPP_EXPORT void VD_find_validation_app_tag(const char* name, const char* application, tag_t* object);
// The checker detail of that object (null when none matches); the caller
// frees it with VALIDATION_APPLICATION_free_app_memory.
CARVELL_CPP_EXPORT void VD_find_validation_app_object(const char* name, const char* application,
                                                      VALIDATION_checker_object_t** checker);

#endif
