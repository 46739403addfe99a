// Display grids of faces: how many u and v lines a face shows across it,
// and the faces of a body in one array for callers that set them all.
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "geometry/bodies.h"

namespace {
// The most lines a display grid draws in one direction.
constexpr int kMaxGridLines = 1000;
}  // namespace

int ES_write_grid_counts(tag_t face, int u_count, int v_count) {
    if (!host::find(face)) return HM_ERR_INVALID_TAG;
    host::Object* f = host::find_face(face);
    if (!f) return HM_ERR_WRONG_TYPE;
    if (u_count < 0 || v_count < 0 || u_count > kMaxGridLines || v_count > kMaxGridLines) return HM_ERR_BAD_ARGUMENT;
    f->grid_counts = {u_count, v_count};
    return 0;
}

int PX_body_ask_faces_sm(tag_t body, int* count, tag_t** faces) {
    if (!count || !faces) return HM_ERR_NULL_POINTER;
    *count = 0;
    *faces = nullptr;
    if (!host::find(body)) return HM_ERR_INVALID_TAG;
    if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
    const std::vector<tag_t> tags = host::body_faces(body);
    *faces = host::tag_array(tags);
    *count = static_cast<int>(tags.size());
    return 0;
}

tag_t es7034(tag_t object) { return HM_ASSEM_ask_prototype_of_occ(object); }
