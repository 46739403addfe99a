// zelvadt: the host's sheet-metal flat pattern: a sheet unrolled into the
// plane that touches it at a reference face, carrying curves along, and the
// reversal of a sheet's normals.
#ifndef CARVELL_HOST_ZELVADT_H
#define CARVELL_HOST_ZELVADT_H

#include "host_types.h"

// Duplicates among projected curves: deletes every curve of the array that
// coincides with an earlier one (the same points within the work part's
// distance tolerance, in either sense), closes up the array and lowers
// *count. Entries that are no curve stay. 0; HM_ERR_NULL_POINTER;
// HM_ERR_BAD_ARGUMENT for a negative count; HM_ERR_INVALID_TAG for a dead
// entry (nothing deleted).
HOST_C_API int SMDF_remove_coincident_curves(int* count, tag_t* curves);

// One curve to carry into the flat pattern: the curve and the host's three
// entry options (the flat pattern reads none of them).
typedef struct SMDFLAT_curve_entry_s {
    tag_t curve;
    int option1;
    int option2;
    int flags;
} SMDFLAT_curve_entry_t;

// A flat-pattern layout. The caller fills the curves (SM_alloc'd, freed by
// SMDFLAT__free_layout with the bend-allowance text), the direction object,
// the options and the size value; SMDFLAT_fill_structure sets the reference face.
typedef struct SMDFLAT_layout_s {
    int curve_count;
    SMDFLAT_curve_entry_t* curves;
    tag_t reference_face;
    double face_parm[2];          // normalised parameters of the reference point on the face
    tag_t direction;              // direction object (read for range only)
    char* bend_allowance;         // formula text, SM_alloc'd
    int layout_option;
    int type_flag;
    double size;
    int filled;                   // set by SMDFLAT_fill_structure
    int part_units;               // 0 millimetres, 1 inches (from the preferences)
    double max_stretch;           // out: largest relative change of an edge length in the flat (0: exact)
} SMDFLAT_layout_t;

// The real attribute of a flat pattern's group that holds its max_stretch.
#define SMDFLAT_STRETCH_ATTRIBUTE "FLAT_PATTERN_STRETCH"

// The module bracket: the flat-pattern calls answer HM_ERR_NO_SESSION
// outside it. Exit without init: nothing.
HOST_C_API int SMDFLAT_init_module(void);
HOST_C_API int SMDFLAT_exit_module(void);
// A cleared layout; then the work part's defaults (its units).
HOST_C_API int SMDFLAT__initialize_layout(SMDFLAT_layout_t* layout);
HOST_C_API int SMDFLAT_load_layout_from_prefs(tag_t part, SMDFLAT_layout_t* layout);
// The default bend-allowance formula as a new SM_alloc'd text: answers 1
// with the text, 0 when there is none (*formula null).
HOST_C_API int SMDUTL_ask_def_baf(char** formula);
// The reference face (a face of a sheet) and the normalised parameters of
// the point about which the sheet is unrolled.
HOST_C_API int SMDFLAT_fill_structure(SMDFLAT_layout_t* layout, tag_t face, const double parm[2]);
// Lays the sheet body flat in the plane touching the reference face at the
// reference point: exactly when all its faces lie on the reference face's
// plane, cylinder or cone (unrolled), otherwise through a triangle mesh of
// the sheet laid into the plane as rigidly as possible (the face's u
// direction at the reference point keeps its line). The sheet's boundary and
// each carried curve (its points taken onto the sheet) become flat curves,
// members of a new group (type 15) with the name (at most 132 characters),
// answered in *group; the largest relative change of a mesh edge's length
// goes to layout->max_stretch and to the group's real attribute
// SMDFLAT_STRETCH_ATTRIBUTE (0 when unrolled exactly). Option 1 only. 0;
// HM_ERR_NO_SESSION outside the module bracket; HM_ERR_NULL_POINTER;
// HM_ERR_BAD_ARGUMENT (layout not filled, option, empty name);
// HM_ERR_INVALID_TAG / HM_ERR_WRONG_TYPE (body, face not of the body, a
// curve); HM_ERR_GEOMETRY for a sheet that cannot be laid flat (not one
// piece with one boundary) or a curve off the sheet (nothing made). May
// throw the host's exception when the kernel fails.
HOST_C_API int SMDFLAT_create_flat_pattern(tag_t body, const char* name, int option, SMDFLAT_layout_t* layout,
                                           tag_t* group);
// Frees the curve entries and the formula text; the layout is cleared.
HOST_C_API int SMDFLAT__free_layout(SMDFLAT_layout_t* layout);

// Reverses the normals of every face of a sheet body (the faces and edges
// keep their tags); answers the feature ("FLIP_NORMAL").
HOST_C_API int FLIPNORMAL_construct(tag_t body, tag_t* feature);

#endif
