// Faces extracted as sheets and sewn into one sheet (internal operations of
// the library, used by the mirror, glazing and windshield tools).
#include "hm_vd/bodies.h"
#include "omvra.h"
#include "ostrade.h"
#include "quillon.h"
#include "rostval.h"

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

// Sews the other sheets onto the last one. On success answers the sewn
// sheet and the disjoint sheets the sew reports; false when the sew failed.
bool sew_sheets(const std::vector<tag_t>& sheets, tag_t* sewn, std::vector<tag_t>* disjoint) {
    const tag_t target = sheets.back();
    hm_list_p_t apart = nullptr;
    tag_t feature = 0;
    if (HM_MODL_create_sew(0, 1, &target, static_cast<int>(sheets.size()) - 1, sheets.data(),
                           kSewToleranceFactor * TOLER_ask_distance_tol(), 0, &apart, &feature) != 0)
        return false;
    *sewn = 0;
    HM_MODL_ask_feat_body(feature, sewn);
    int count = 0;
    HM_MODL_ask_list_count(apart, &count);
    for (int i = 0; i < count; ++i) {
        tag_t body = 0;
        if (HM_MODL_ask_list_item(apart, i, &body) == 0) disjoint->push_back(body);
    }
    HM_MODL_delete_list(&apart);
    return *sewn != 0;
}

// The tags in a new array of the memory manager (null when there are none).
tag_t* to_array(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    tag_t* array = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    for (size_t i = 0; i < tags.size(); ++i) array[i] = tags[i];
    return array;
}

}  // namespace

int extract_and_sew_faces(int n, const tag_t* faces, int* count, tag_t** sheets) {
    std::vector<tag_t> made = extract_faces(n, faces);
    std::vector<tag_t> disjoint;
    tag_t sewn = 0;
    if (made.size() > 1 && sew_sheets(made, &sewn, &disjoint)) {
        // Sheets the sew could not join are handed back after the sewn one:
        // a count of 1 must mean that every face went into that sheet, and
        // the caller deletes what it was given.
        made = {sewn};
        made.insert(made.end(), disjoint.begin(), disjoint.end());
    }
    if (count) *count = static_cast<int>(made.size());
    if (sheets) *sheets = to_array(made);
    return 0;
}

int extract_and_sew_faces_with_disjoint(int n, const tag_t* faces, int* count, tag_t** sheets) {
    std::vector<tag_t> made = extract_faces(n, faces);
    std::vector<tag_t> disjoint;
    tag_t sewn = 0;
    if (made.size() > 1) {
        if (sew_sheets(made, &sewn, &disjoint)) {
            made = {sewn};
            made.insert(made.end(), disjoint.begin(), disjoint.end());
        } else {
            // A failed sew gives no sheets: the extracted ones would be left
            // in the part with nobody to know of them.
            for (tag_t sheet : made) HM_OBJ_delete_object(sheet);
            made.clear();
        }
    }
    if (count) *count = static_cast<int>(made.size());
    if (sheets) *sheets = to_array(made);
    return 0;
}
