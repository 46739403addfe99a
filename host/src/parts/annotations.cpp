// Annotations of a part: notes, texts placed at a point in a style. A note
// is made at the origin of the work coordinate system and keeps that point.
#include "omvra.h"
#include "core/model.h"
#include "parts/annotation_data.h"

namespace {

constexpr double kDefaultHeightMm = 3.5;
constexpr int kDefaultColour = 1;

}  // namespace

int hc6433(const char* name, hc_note_style_t* style) {
    if (!style) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    // Only the part's default style exists in the stand-in.
    if (name && name[0] != '\0') return HM_ERR_NOT_FOUND;
    style->char_height = host::mm_to_part(kDefaultHeightMm);
    style->colour = kDefaultColour;
    return 0;
}

int hc5540(const char* text, const hc_note_style_t* style, tag_t* note) {
    if (!note) return HM_ERR_NULL_POINTER;
    *note = 0;
    if (!text) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    hc_note_style_t used{};
    if (style) used = *style;
    else hc6433("", &used);
    if (text[0] == '\0' || !(used.char_height > 0.0)) return HM_ERR_BAD_ARGUMENT;
    host::CsysData frame;
    if (int r = host::frame_of(host::work_part_data()->wcs, frame)) return r;
    host::Object& o = host::create(HM_note_type, 0);
    o.colour = used.colour;
    o.data = host::NoteData{text, frame.origin, used.char_height};
    *note = o.tag;
    return 0;
}

int hc6401(tag_t note, const char* name) {
    if (!host::find(note)) return HM_ERR_INVALID_TAG;
    host::Object* o = host::find(note, HM_note_type);
    if (!o) return HM_ERR_WRONG_TYPE;
    o->name = name ? name : "";
    o->blanked = false;
    return 0;
}
