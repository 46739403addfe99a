// Faces extracted as sheets and sewn into one sheet (internal operations of
// the library, used by the mirror, glazing and windshield tools).
#include "hm_vd/bodies.h"
#include "omvra.h"
#include "ostrade.h"
#include "quillon.h"
#include "rostval.h"

#include "toolbox/detail/owners.h"

#include <vector>

namespace {

// Sewing tolerance: five times the modelling distance tolerance.
constexpr double kSewToleranceFactor = 5.0;

// Extracts each face as a sheet; faces that cannot be extracted are left out.
std::vector<tag_t> extract_faces(int n, const tag_t* faces) {
    std::vector<tag_t> sheets;
    for (int i = 0; i < n && faces; ++i) {
        tag_t sheet = 0;
        if (MODL_extract_face(faces[i], &sheet) == 0 && sheet) sheets.push_back(sheet);
    }
    return sheets;
}

// Sews the other sheets onto the last one. On success the sheets become
// the sewn sheet followed by the disjoint sheets the sew reports: a count of
// 1 must mean that every face went into that sheet, and the caller deletes
// what it was given. False, the sheets untouched, when the sew failed.
bool sew_sheets(std::vector<tag_t>& sheets) {
    const tag_t target = sheets.back();
    hm_list_p_t apart = nullptr;
    tag_t feature = 0;
    if (HM_MODL_create_sew(0, 1, &target, static_cast<int>(sheets.size()) - 1, sheets.data(),
                           kSewToleranceFactor * TOLER_ask_distance_tol(), 0, &apart, &feature) != 0)
        return false;
    tag_t sewn = 0;
    HM_MODL_ask_feat_body(feature, &sewn);
    const std::vector<tag_t> disjoint = carvell::detail::list_items(apart);
    HM_MODL_delete_list(&apart);
    if (sewn == 0) return false;
    sheets = {sewn};
    sheets.insert(sheets.end(), disjoint.begin(), disjoint.end());
    return true;
}

// Hands the sheets back in a new array of the memory manager (null when
// there are none).
void hand_back(const std::vector<tag_t>& made, int* count, tag_t** sheets) {
    if (count) *count = static_cast<int>(made.size());
    if (!sheets) return;
    *sheets = nullptr;
    if (made.empty()) return;
    *sheets = static_cast<tag_t*>(SM_alloc(made.size() * sizeof(tag_t)));
    for (size_t i = 0; i < made.size(); ++i) (*sheets)[i] = made[i];
}

}  // namespace

int extract_and_sew_faces(int n, const tag_t* faces, int* count, tag_t** sheets) {
    std::vector<tag_t> made = extract_faces(n, faces);
    if (made.size() > 1) sew_sheets(made);
    hand_back(made, count, sheets);
    return 0;
}

int extract_and_sew_faces_with_disjoint(int n, const tag_t* faces, int* count, tag_t** sheets) {
    std::vector<tag_t> made = extract_faces(n, faces);
    if (made.size() > 1 && !sew_sheets(made)) {
        // A failed sew gives no sheets: the extracted ones would be left in
        // the part with nobody to know of them.
        for (tag_t sheet : made) HM_OBJ_delete_object(sheet);
        made.clear();
    }
    hand_back(made, count, sheets);
    return 0;
}
