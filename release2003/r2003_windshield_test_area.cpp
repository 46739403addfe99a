// The 2003 release's test area: each of its four planes cut with the glass,
// bounded by the two planes across it, joined into one side curve and
// sampled at equal parameter steps.
#include "r2003_windshield.h"
#include "release2003/windshield.h"
#include "windshield/ws_internal.h"

#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <utility>
#include <vector>

namespace {

using namespace carvell;

constexpr int kSides = 4;
// The side curve's pieces are joined as one chain.
constexpr int kSideJoinMode = 2;

// The curves of plane k on the faces within its bounding planes: the first
// section curve of each face; a curve wholly outside is logged for deletion.
std::vector<tag_t> side_curves(int k, int face_count, const tag_t* faces, const tag_t planes[4],
                               const double origins[4][3], const double normals[4][3], double tolerance) {
    std::vector<tag_t> side;
    for (int f = 0; f < face_count; ++f) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(planes[k], faces[f], tolerance, &count, &entries)) continue;
        tag_t first = 0;
        for (int i = 0; i < count; ++i) {
            if (entries[i]->kind != HM_INTERSECTION_CURVE) continue;
            if (first == 0)
                first = entries[i]->curve;
            else
                (void)UPDATE_log_entity_to_delete(entries[i]->curve);
        }
        detail::free_intersection_entries(count, entries);
        if (first == 0) continue;
        if (windshield::ws_bound_cut_curve(first, planes, origins, normals, k))
            side.push_back(first);
        else
            (void)UPDATE_log_entity_to_delete(first);
    }
    return side;
}

// The side curve sampled into row k of the outputs; nothing for no curve.
void sample_side(tag_t curve, int n, int* point_counts, double*** points, int k) {
    if (curve == 0) return;
    int count = 0;
    int* counts = nullptr;
    double*** rows = nullptr;
    if (windshield::ws_sample_curve_list({curve}, n, count, counts, rows) == 0 && count == 1) {
        point_counts[k] = counts[0];
        points[k] = rows[0];
        rows[0] = nullptr;
        count = 0;
    }
    windshield::group_free(count, counts, rows);
}

// The four sides, sampled into rows of their own (freed unless handed over).
struct Sides {
    int count = kSides;
    int* point_counts = static_cast<int*>(SM_calloc(kSides, sizeof(int)));
    double*** points = static_cast<double***>(SM_calloc(kSides, sizeof(double**)));
    ~Sides() { windshield::group_free(count, point_counts, points); }
};

void sample_sides(int face_count, const tag_t* faces, const double origins[4][3], const double normals[4][3],
                  int points_per_curve, Sides& sides) {
    detail::Temporaries made(detail::Temporaries::Disposal::log_for_update);
    tag_t planes[kSides] = {0, 0, 0, 0};
    for (int k = 0; k < kSides; ++k)
        if (HM_MODL_create_plane(origins[k], normals[k], &planes[k]) || made.add(planes[k]) == 0) return;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    for (int k = 0; k < kSides; ++k) {
        const std::vector<tag_t> side = side_curves(k, face_count, faces, planes, origins, normals, tolerance);
        for (tag_t c : side) made.add(c);
        const tag_t curve = r2003::join_first_loop(side, kSideJoinMode);
        if (curve != 0 && side.size() > 1) made.add(curve);
        sample_side(curve, points_per_curve, sides.point_counts, sides.points, k);
    }
}

bool test_area_input_usable(int face_count, const tag_t* faces, const double origins[4][3],
                            const double normals[4][3], int points_per_curve) {
    return r2003::faces_usable(face_count, faces) && r2003::planes_usable(origins, normals) &&
           r2003::point_count_usable(points_per_curve);
}

}  // namespace

void HM_VD_WS_create_test_area(int face_count, const tag_t* faces, const double origins[4][3],
                               const double normals[4][3], int points_per_curve, int** point_counts,
                               double**** points) {
    if (!point_counts || !points) return;
    *point_counts = nullptr;
    *points = nullptr;
    if (!test_area_input_usable(face_count, faces, origins, normals, points_per_curve)) return;
    (void)UI_set_status("creating windshield vision zones");
    r2003::DisplayOff display;
    try {
        Sides sides;
        sample_sides(face_count, faces, origins, normals, points_per_curve, sides);
        sides.count = 0;
        *point_counts = std::exchange(sides.point_counts, nullptr);
        *points = std::exchange(sides.points, nullptr);
    } catch (...) {
        // A host failure leaves no sides.
        (void)detail::caught_code(windshield::kSource, __LINE__);
    }
}
