// The stone-impingement record and run: initialise, the run over the body
// faces (tire model, stone paths per radial section, contours, outline,
// stone path and threshold curves), deletion of the analysis geometry and
// release of the record.
#include "si_internal.h"

#include "hm_vd.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"
#include "quillon.h"
#include "elvosk.h"
#include "tessik.h"

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {

constexpr double kTolerance2 = 0.01, kTolerance4 = 0.01, kTolerance5 = 0.0001, kTolerance6 = 0.001;

void free_face_result(si_face_result_s* r, int blocking_count) {
    if (!r) return;
    hm_list_p_t* lists[] = {&r->stone_path_list, &r->contour_list, &r->outline_list, &r->band_list,
                            &r->label_list, &r->area_list};
    for (hm_list_p_t* l : lists)
        if (*l) HM_MODL_delete_list(l);
    for (int b = 0; b < blocking_count && b < SI_MAX_BLOCKING; ++b)
        if (r->blocking_lists[b]) HM_MODL_delete_list(&r->blocking_lists[b]);
    SM_free(r->area_sizes);
    SM_free(r->area_angles);
    SM_free(r);
}

// Whether the record's counts stay within what it holds: the face tags,
// face results and wheel centre as initialise allocated them, the colour
// table as the caller allocated it. A count raised past its array, or out
// of its range, fails.
bool counts_fit_record(const si_data_s* rec) {
    if (rec->face_count < 1 || rec->face_count > SI_MAX_FACES) return false;
    if (rec->blocking_count < 0 || rec->blocking_count > SI_MAX_BLOCKING) return false;
    if (!detail::block_holds(rec->face_tags, rec->face_count, sizeof(tag_t)) ||
        !detail::block_holds(rec->face_results, rec->face_count, sizeof(si_face_result_s*)) ||
        !detail::block_holds(rec->wheel_centre, 3, sizeof(double)))
        return false;
    if (rec->colour_count < 0) return false;
    return rec->colour_count == 0 || detail::block_holds(rec->colour_table, rec->colour_count, sizeof(int));
}

// The run's own numbers (the tire's are the tire model's to judge): finite.
bool run_values_finite(const si_data_s* rec) {
    return detail::all_finite({rec->x_limit, rec->angle_threshold}) && detail::all_finite(rec->contour_angle_input, 3);
}

// The faces whose results the record holds: its face count when that fits
// its arrays, else as many as the results array holds.
int held_faces(const si_data_s* rec) {
    if (!rec->face_results) return 0;
    const long long held = static_cast<long long>(SM_ask_block_size(rec->face_results) / sizeof(si_face_result_s*));
    const long long count = rec->face_count < 0 ? 0 : rec->face_count;
    return static_cast<int>(count < held ? count : held);
}

// The blocking lists a face result holds.
int held_blocking(const si_data_s* rec) {
    return rec->blocking_count < 0 ? 0 : (rec->blocking_count > SI_MAX_BLOCKING ? SI_MAX_BLOCKING : rec->blocking_count);
}

void delete_list_objects(hm_list_p_t list) {
    for (tag_t t : detail::list_items(list))
        if (t) HM_OBJ_delete_object(t);
}


int face_sign_of(const double n[3], bool left) {
    const double ny = left ? n[1] : -n[1];
    return ((ny >= 0 && n[2] >= 0) || std::fabs(n[2]) < ny || std::fabs(ny) < n[2]) ? -1 : 1;
}

struct FaceRun {
    si_data_s* rec;
    int f;
    tag_t face;
    tag_t plane;
    bool left;
    si_face_result_s* result;
    bool partial = false;
    int colour = 0;
    int lo = 0, hi = kStones - 1;  // the stones of the tread over the face
};

// The face's lateral range on the tread: false when the face lies outside it.
bool tread_range(const si_data_s* rec, const double box[6], bool left, double step, bool* partial, int* first,
                 int* last) {
    const double cy = work().centre[1];
    double lo = left ? std::trunc((box[1] - cy) / step) : std::trunc((cy - box[4]) / step);
    double hi = (left ? std::trunc((box[4] - cy) / step) : std::trunc((cy - box[1]) / step)) + 1;
    (void)rec;
    if (lo < 0) *partial = true, lo = 0;
    if (hi > kStones - 1) hi = kStones - 1;
    if (lo > kStones || hi < 0) return false;
    *first = static_cast<int>(lo);
    *last = static_cast<int>(hi);
    return true;
}

// The radial sections of one face: false when the run must end.
bool project_sections(FaceRun& run, int face_sign, int* last_status) {
    si_data_s* rec = run.rec;
    WorkArrays& w = work();
    int state = 0;
    const double top = w.contour_angle_count > 0 ? w.contour_angles[w.contour_angle_count - 1] + kStopMarginDeg : 0;
    for (int r = 0; r < kSections; ++r) {
        char text[96];
        std::snprintf(text, sizeof text, "Projecting radial section %d on Face %d of %d", r + 1, run.f + 1,
                      rec->face_count);
        UI_set_status(text);
        if (state == 1) state = 0;
        const int status = HM_VD_SI_gen_stone_paths(rec, w.centre[1], 0.0, run.lo, run.hi, w.tire_points[r],
                                                    w.directions[r], run.face, face_sign, &w.stone_counts[r],
                                                    w.stone_points[r], w.stone_angles[r], &state, w.blocking_counts,
                                                    w.blocking_points);
        *last_status = status;
        if (log_status(rec, status)) return false;
        const int n = w.stone_counts[r];
        if (n < 1) continue;
        run.result->face_hit = 1;
        bool all_high = w.contour_angle_count > 0, all_behind = rec->options[SI_OPT_STOP_AT_X_LIMIT] != 0;
        for (int i = 0; i < n; ++i) {
            if (w.stone_angles[r][i] < top) all_high = false;
            if (w.stone_points[r][i][0] > rec->x_limit) all_behind = false;
        }
        if (all_high || all_behind) break;
    }
    return true;
}

bool outline(FaceRun& run) {
    si_data_s* rec = run.rec;
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    if (HM_MODL_intersect_objects(run.plane, run.face, rec->tolerances[0], &count, &entries) != 0)
        return !log_status(rec, SI_OUTLINE_FAILED);
    for (int i = 0; i < count; ++i) {
        tag_t curve = 0, label = 0;
        if (entries[i]->kind == HM_INTERSECTION_CURVE)
            make_result_curve(run.face, 0, nullptr, entries[i]->curve, run.colour, kNameOuter, &curve, &label);
        else
            make_result_curve(run.face, 1, &entries[i]->point, 0, run.colour, kNameOuter, &curve, &label);
        if (curve) HM_MODL_put_list_item(run.result->outline_list, curve);
        if (label) HM_MODL_put_list_item(run.result->label_list, label);
    }
    detail::free_intersection_entries(count, entries);
    return true;
}

void stone_path_curves(FaceRun& run) {
    WorkArrays& w = work();
    for (int r = 0; r < kSections; ++r) {
        if (w.stone_counts[r] < 1) continue;
        tag_t curve = 0;
        make_result_curve(run.face, w.stone_counts[r], w.stone_points[r], 0, run.colour, kNoName, &curve, nullptr);
        if (curve) HM_MODL_put_list_item(run.result->stone_path_list, curve);
    }
}

void threshold_curves(FaceRun& run) {
    si_data_s* rec = run.rec;
    WorkArrays& w = work();
    for (int b = 0; b < rec->blocking_count; ++b) {
        if (w.blocking_counts[b] < 1) continue;
        tag_t curve = 0, label = 0;
        make_result_curve(rec->blocking_tags[b], w.blocking_counts[b], w.blocking_points[b], 0, run.colour,
                          static_cast<int>(rec->angle_threshold), &curve, &label);
        if (!run.result->blocking_lists[b]) HM_MODL_create_list(&run.result->blocking_lists[b]);
        if (curve) HM_MODL_put_list_item(run.result->blocking_lists[b], curve);
        if (label) HM_MODL_put_list_item(run.result->label_list, label);
    }
}

// The face's contour lines with their working curves, kept until the
// areas or bands are built.
struct Contours {
    si_contour_record* records = nullptr;
    int count = 0;
    ~Contours() {
        for (int i = 0; i < count; ++i) detail::delete_if_alive(records[i].curve);
        SM_free(records);
    }
};

// Contours, and the outline after them: false when the run must end.
bool contours_and_outline(FaceRun& run, Contours& contours) {
    si_data_s* rec = run.rec;
    WorkArrays& w = work();
    char text[96];
    std::snprintf(text, sizeof text, "Generating Contours on Face %d of %d", run.f + 1, rec->face_count);
    UI_set_status(text);
    bool single = true;
    const int status = HM_VD_SI_gen_contours(
        run.face, rec->options[SI_OPT_COLOUR_TABLE] != 0, rec->colour_count, rec->colour_table, w.stone_counts,
        w.stone_points, w.stone_angles, w.contour_angles, w.contour_angle_count, run.colour,
        &run.result->contour_list, &run.result->label_list, &single, &contours.records, &contours.count);
    run.result->single_line = single ? 1 : 0;
    if (log_status(rec, status)) return false;
    if ((!si_builds_bands(rec) || rec->options[SI_OPT_OUTLINE_IN_BAND_MODE]) && run.partial && !outline(run))
        return false;
    return true;
}

// Areas (mode 0, one contour line per angle) or bands (other modes) between
// the contour lines: false when the run must end.
bool areas_or_bands(FaceRun& run, const Contours& contours) {
    si_data_s* rec = run.rec;
    WorkArrays& w = work();
    si_face_result_s* r = run.result;
    if (!si_builds_bands(rec)) {
        if (!r->single_line) return true;
        std::vector<tag_t> working;
        for (int i = 0; i < contours.count; ++i) working.push_back(contours.records[i].curve);
        Areas areas;
        const FaceStones stones{w.stone_counts, w.stone_points, w.stone_angles};
        const int status = build_areas(stones, w.contour_angles, w.contour_angle_count, working, &areas);
        r->area_count = areas.count;
        r->area_sizes = areas.sizes;
        r->area_angles = areas.mid_angles;
        r->area_list = areas.list;
        HM_VD_set_obj_array_layer(r->area_list, kAreaListLayer);
        return !log_status(rec, status);
    }
    const BandStyle style{rec->colour_count, rec->colour_table, run.colour, rec->options[SI_OPT_BAND_GRIDS] != 0};
    int status = 0;
    if (r->single_line) {
        status = pair_bands_simple(run.face, w.contour_angles, w.contour_angle_count, style, contours.records,
                                   contours.count, r->band_list);
    } else {
        bool attempted = false;
        status = pair_bands_general(run.face, w.contour_angles, w.contour_angle_count, style, contours.records,
                                    contours.count, r->band_list, &attempted);
        if (attempted) r->single_line = 1;
    }
    return !log_status(rec, status);
}

// One face: false when the run must end.
bool run_face(si_data_s* rec, int f, tag_t plane, double step, bool* hit) {
    WorkArrays& w = work();
    const bool left = rec->options[SI_OPT_LEFT_SIDE] != 0;
    FaceRun run{rec, f, rec->face_tags[f], plane, left, nullptr};
    for (int b = 0; b < rec->blocking_count; ++b) w.blocking_counts[b] = 0;
    for (int r = 0; r < kSections; ++r) w.stone_counts[r] = 0;
    double box[6];
    if (HM_MODL_ask_bounding_box(run.face, box) != 0) return !log_status(rec, SI_FACE_BOX_FAILED);
    if (!tread_range(rec, box, left, step, &run.partial, &run.lo, &run.hi)) return true;
    const double mid[2] = {0.5, 0.5};
    double p[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
    if (HM_MODL_ask_face_props(run.face, mid, p, u1, v1, u2, v2, n, radii) != 0)
        return !log_status(rec, SI_FACE_PROPS_FAILED);
    if (HM_OBJ_ask_color(run.face, &run.colour) != 0) run.colour = 0;
    run.result = static_cast<si_face_result_s*>(SM_calloc(1, sizeof(si_face_result_s)));
    run.result->single_line = 1;
    HM_MODL_create_list(&run.result->label_list);
    HM_MODL_create_list(&run.result->stone_path_list);
    HM_MODL_create_list(&run.result->outline_list);
    HM_MODL_create_list(&run.result->band_list);
    rec->face_results[f] = run.result;
    int last_status = 0;
    bool go_on = project_sections(run, face_sign_of(n, left), &last_status);
    if (run.result->face_hit) *hit = true;
    if (!go_on) return false;
    Contours contours;
    if ((!si_builds_bands(rec) || rec->options[SI_OPT_BLOCKING_SHADOWS] || !rec->options[SI_OPT_THRESHOLD_CURVES]) &&
        last_status == 0 && !contours_and_outline(run, contours))
        return false;
    if (rec->options[SI_OPT_STONE_PATHS]) stone_path_curves(run);
    if (rec->options[SI_OPT_THRESHOLD_CURVES]) threshold_curves(run);
    if (rec->options[SI_OPT_COLOUR_TABLE] && !areas_or_bands(run, contours)) return false;
    return true;
}

}  // namespace

int HM_VD_SI_initialize_data(si_data_s* rec, int face_count, int blocking_count) {
    if (!rec) return -1;
    std::memset(rec, 0, sizeof *rec);
    if (face_count < 1 || face_count > SI_MAX_FACES || blocking_count < 0) return -1;
    if (blocking_count > SI_MAX_BLOCKING) return -2;
    rec->face_count = face_count;
    rec->blocking_count = blocking_count;
    rec->face_tags = static_cast<tag_t*>(SM_calloc(face_count, sizeof(tag_t)));
    rec->face_results = static_cast<si_face_result_s**>(SM_calloc(face_count, sizeof(si_face_result_s*)));
    HM_MODL_ask_distance_tolerance(&rec->tolerances[0]);
    rec->tolerances[1] = kTolerance2;
    HM_MODL_ask_angle_tolerance(&rec->tolerances[2]);
    rec->tolerances[3] = kTolerance4;
    rec->tolerances[4] = kTolerance5;
    rec->tolerances[5] = kTolerance6;
    rec->wheel_centre = static_cast<double*>(SM_calloc(3, sizeof(double)));
    return 0;
}

int HM_VD_SI_delete_geometry(si_data_s* rec) {
    if (!rec) return -1;
    const int faces = held_faces(rec), blocking = held_blocking(rec);
    for (int f = 0; f < faces; ++f) {
        si_face_result_s* r = rec->face_results[f];
        if (!r) continue;
        delete_list_objects(r->stone_path_list);
        delete_list_objects(r->contour_list);
        for (int b = 0; b < blocking; ++b) delete_list_objects(r->blocking_lists[b]);
        delete_list_objects(r->outline_list);
        delete_list_objects(r->band_list);
    }
    return 0;
}

namespace {
void release_face_results(si_data_s* rec) {
    const int faces = held_faces(rec);
    for (int f = 0; f < faces; ++f) {
        free_face_result(rec->face_results[f], held_blocking(rec));
        rec->face_results[f] = nullptr;
    }
}
}  // namespace

int HM_VD_SI_free_data(si_data_s* rec) {
    if (!rec) return -1;
    release_face_results(rec);
    SM_free(rec->face_results);
    SM_free(rec->wheel_centre);
    // The table is the record's whatever its count says (a negative count
    // would otherwise leave it behind); 0 means "no table".
    if (rec->colour_count != 0) SM_free(rec->colour_table);
    SM_free(rec->face_tags);
    rec->face_results = nullptr;
    rec->wheel_centre = nullptr;
    rec->colour_table = nullptr;
    rec->colour_count = 0;
    rec->face_tags = nullptr;
    rec->face_count = 0;
    return 0;
}

int HM_VD_SI_is_data_on_left(tag_t object, const double origin[3], const double matrix[9], bool* left) {
    if (left) *left = false;
    if (!object || !left || !origin || !matrix) return -1;
    double box[6];
    const int status = HM_VD_ask_bounding_box_local(object, origin, matrix, box);
    if (status == 0) *left = (box[1] + box[4]) / 2.0 <= 0.0;
    return status;
}

int HM_VD_SI_main(si_data_s* rec) {
    if (!rec || !counts_fit_record(rec) || !run_values_finite(rec)) return -1;
    rec->error_count = 0;
    release_face_results(rec);
    WorkArrays& w = work();
    const double origin[3] = {0, 0, 0}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool left = false;
    HM_VD_SI_is_data_on_left(rec->face_tags[0], origin, identity, &left);
    rec->options[SI_OPT_LEFT_SIDE] = left ? 1 : 0;
    VD_SI_calculate_num_contour_angle(rec->contour_angle_input, w.contour_angles, SI_MAX_CONTOUR_ANGLES,
                                      &w.contour_angle_count);
    UI_set_status("Calculating Tire Data...");
    double step = 0.0;
    tag_t plane = 0;
    int status = HM_VD_SI_gen_tire_data(rec, w.centre, w.directions, &step, w.tire_points, &plane);
    bool hit = false;
    if (status != 0) {
        log_status(rec, status);
    } else {
        for (int f = 0; f < rec->face_count; ++f)
            if (!run_face(rec, f, plane, step, &hit)) break;
        UI_set_status("Deleting Tire Data...");
    }
    detail::delete_if_alive(plane);
    UI_set_status("");
    if (rec->error_count == 0 && !hit) log_status(rec, SI_NOTHING_HIT);
    return run_result(rec);
}

namespace carvell::stone {

bool log_status(si_data_s* rec, int status) {
    if (status == 0) return false;
    if (rec->error_count < SI_MAX_ERRORS) rec->error_log[rec->error_count++] = status;
    return status > 0 || rec->error_count >= SI_MAX_ERRORS;
}

int run_result(si_data_s* rec) {
    if (rec->error_count >= SI_MAX_ERRORS) {
        rec->error_log[SI_MAX_ERRORS - 1] = SI_LOG_FULL;
        return SI_LOG_FULL;
    }
    return rec->error_count > 0 ? rec->error_log[rec->error_count - 1] : 0;
}

}  // namespace carvell::stone
