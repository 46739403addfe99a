// Display attributes of objects: the line font, and the grid line counts of
// a face (hm5401).
#include "core/model.h"
#include "omvra.h"

int HM_OBJ_set_font(tag_t object, int font) {
    host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type == HM_part_type) return HM_ERR_WRONG_TYPE;
    if (font < 0 || font > HM_FONT_LAST) return HM_ERR_BAD_ARGUMENT;
    o->font = font;
    return 0;
}

int HM_OBJ_ask_font(tag_t object, int* font) {
    if (!font) return HM_ERR_NULL_POINTER;
    const host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *font = o->font;
    return 0;
}

int hm5401(tag_t face, int u_count, int v_count) {
    host::Object* o = host::find(face);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_solid_type || o->subtype != HM_solid_face_subtype) return HM_ERR_WRONG_TYPE;
    if (u_count < 0 || v_count < 0) return HM_ERR_BAD_ARGUMENT;
    o->grid_u = u_count;
    o->grid_v = v_count;
    return 0;
}

int hm5402(tag_t face, int* u_count, int* v_count) {
    if (!u_count || !v_count) return HM_ERR_NULL_POINTER;
    const host::Object* o = host::find(face);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_solid_type || o->subtype != HM_solid_face_subtype) return HM_ERR_WRONG_TYPE;
    *u_count = o->grid_u;
    *v_count = o->grid_v;
    return 0;
}
