// omvra: annotations. Included by omvra.h; not included on its own.
//
// A note is an annotation object of the work part (type HM_note_type): a text
// placed at a point, shown in a style (character height and colour). A note
// is made at the origin of the work coordinate system, so a caller that wants
// it elsewhere sets a coordinate system there as the work one first. The
// three calls are known by their numbers only.
#ifndef CARVELL_HOST_OMVRA_ANNOTATIONS_H
#define CARVELL_HOST_OMVRA_ANNOTATIONS_H

#include "../host_types.h"

// The style of a note: character height (part units) and colour.
typedef struct hc_note_style_s {
    double char_height;
    int colour;
} hc_note_style_t;

// The note style saved under the name; an empty (or null) name gives the work
// part's default style (height 3.5 mm in part units, colour 1). 0,
// HM_ERR_NULL_POINTER, HM_ERR_NO_PART or HM_ERR_NOT_FOUND (no such style).
HOST_C_API int hc6433(const char* name, hc_note_style_t* style);
// A new note of the text in the style (null: the default style) at the origin
// of the work coordinate system. 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART or
// HM_ERR_BAD_ARGUMENT (empty text, height not positive); *note 0 on failure.
HOST_C_API int hc5540(const char* text, const hc_note_style_t* style, tag_t* note);
// Finishes a note: gives it the name (an empty or null name leaves it
// unnamed) and shows it. 0, HM_ERR_INVALID_TAG or HM_ERR_WRONG_TYPE (no note).
HOST_C_API int hc6401(tag_t note, const char* name);

#endif
