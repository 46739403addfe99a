// HM_VD_MC_process: one certification run on an initialised working record.
// The geometry is prepared (faces into sheets, the vehicle loading, the
// vehicle coordinate system), the eye points found, the inside or outside
// analysis run, the results put on the result layer and mapped back, and
// the summary report written to the listing window.
#include "mirror_flow.h"
#include "mirror_helpers.h"
#include "mirror_record.h"

#include "belmorra.h"
#include "farquil.h"
#include "hm_vd/bodies.h"
#include "hm_vd/objects.h"
#include "omvra.h"
#include "ostrade.h"
#include "pelvane.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace carvell::mirror {

/* ---- shared by the stages ---- */

int log_failure(const char* line, int status) {
    ERROR_lprintf("%s", line);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

int stage_failure(mc_data_s* data, const char* line, const char* long_text, int status) {
    if (data && long_text) std::snprintf(data->error_text, sizeof data->error_text, "%s", long_text);
    return log_failure(line, status);
}

bool debugging() { return MACH__checking_level >= 1 && RDEBUG_ask_flag(kDebugKey, true) == 1; }

void trace(const char* format, ...) {
    if (!debugging()) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    ERROR_lprintf("%s", line);
}

void delete_alive(const std::vector<tag_t>& objects) {
    for (tag_t object : objects)
        if (object != NULL_TAG && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE) (void)HM_VD_delete_object(object);
}

hm_list_p_t make_host_list(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    hm_list_p_t list = nullptr;
    if (HM_MODL_create_list(&list) != 0) return nullptr;
    for (tag_t t : tags) (void)HM_MODL_put_list_item(list, t);
    return list;
}

void replace_host_list(hm_list_p_t* list, const std::vector<tag_t>& tags) {
    if (*list) (void)HM_MODL_delete_list(list);
    *list = make_host_list(tags);
}

namespace {

// The degree factor of the loading pitch, as the loading has always used it
// (not exactly 180 / pi).
constexpr double kLoadingDegreesPerRadian = 57.29577319531843;

enum ProcessCode {
    kProcessDone = 0,
    kPreparationFailed = 1,
    kEyePointsFailed = 2,
    kInsideFailed = 3,
    kOutsideFailed = 4,
    kNoRecord = -1,
};

const char* const kSewText =
    "The program failed to sew backlite faces into one piece \nwhen attempting to covert face into sheet body.";
const char* const kLoadingText =
    "The program failed to rotate mirror and vehicle data \nwhen attempting to apply loading.";
const char* const kEyeText =
    "The program failed to find an appropriate eye point \nwhen attempting to calculate the eye position.";

bool is_face(tag_t object) {
    int type = 0, subtype = 0;
    return object != NULL_TAG && HM_OBJ_ask_type_and_subtype(object, &type, &subtype) == 0 &&
           type == HM_solid_type && subtype == HM_solid_face_subtype;
}

// What a run made and still has to dispose of.
struct Run {
    explicit Run(mc_data_s* d) : data(d) {}
    mc_data_s* data;
    std::vector<tag_t> extracted;            // E: sheets extracted from faces
    std::vector<tag_t> mapped_temporaries;   // copies made to work in the vehicle frame
    std::vector<tag_t> loaded_pending;       // loaded copies not yet among the results
    bool mapped = false;

    hm_list_p_t* results() {
        return data->mirror_kind == 0 ? &data->inside->result_objects : &data->outside->result_objects;
    }
    std::vector<tag_t> result_items() { return detail::list_items(*results()); }
    void add_result(tag_t object) {
        if (object == NULL_TAG) return;
        if (!*results()) (void)HM_MODL_create_list(results());
        (void)HM_MODL_put_list_item(*results(), object);
    }
    void remove_result(tag_t object) {
        std::vector<tag_t> items = result_items();
        items.erase(std::remove(items.begin(), items.end(), object), items.end());
        replace_host_list(results(), items);
        if (!*results()) (void)HM_MODL_create_list(results());
    }

    // A failing stage leaves no orphans behind: the sheets it extracted, the
    // loaded copies not handed to the results and the mapped temporaries go.
    int fail(int code) {
        delete_alive(extracted);
        delete_alive(loaded_pending);
        delete_alive(mapped_temporaries);
        extracted.clear();
        loaded_pending.clear();
        mapped_temporaries.clear();
        return code;
    }
};

void ask_name(tag_t object, char name[MC_NAME_SIZE]) {
    name[0] = '\0';
    if (object != NULL_TAG) (void)HM_OBJ_ask_name(object, name, MC_NAME_SIZE);
}

void fetch_names(mc_data_s* d) {
    trace("+++ fetch the names of the mirror sheet, bezel and the backlite sheet\n");
    ask_name(d->initial_mirror, d->mirror_name);
    const std::vector<tag_t> backlite = detail::list_items(d->backlite_faces);
    ask_name(backlite.size() == 1 ? backlite[0] : NULL_TAG, d->backlite_name);
    const std::vector<tag_t> bezel = detail::list_items(d->initial_bezels);
    ask_name(bezel.size() == 1 ? bezel[0] : NULL_TAG, d->bezel_name);
}

// The face as a sheet of its own (into E), or the object as it is.
tag_t sheet_of(Run& run, tag_t object) {
    if (!is_face(object)) return object;
    tag_t sheet = NULL_TAG;
    if (MODL_extract_face(object, &sheet) != 0 || sheet == NULL_TAG) return object;
    run.extracted.push_back(sheet);
    return sheet;
}

void restrictions_into_sheets(Run& run, hm_list_p_t* list, hm_list_p_t* initial) {
    std::vector<tag_t> items = detail::list_items(*list);
    if (items.empty()) return;
    for (tag_t& item : items) item = sheet_of(run, item);
    replace_host_list(list, items);
    replace_host_list(initial, items);
}

int faces_into_sheets(Run& run) {
    mc_data_s* d = run.data;
    if (is_face(d->mirror)) {
        d->mirror = sheet_of(run, d->mirror);
        d->initial_mirror = d->mirror;
    }
    if (is_face(d->opposite_mirror)) {
        d->opposite_mirror = sheet_of(run, d->opposite_mirror);
        d->initial_opposite_mirror = d->opposite_mirror;
    }
    const std::vector<tag_t> faces = detail::list_items(d->backlite_faces);
    if (faces.size() == 1) {
        d->backlite_sheet = sheet_of(run, faces[0]);
        d->initial_backlite_sheet = d->backlite_sheet;
    } else if (faces.size() > 1) {
        int count = 0;
        detail::SmBlock<tag_t> sheets;
        (void)extract_and_sew_faces(static_cast<int>(faces.size()), faces.data(), &count, sheets.out());
        if (count != 1 || !sheets) {
            for (int i = 0; sheets && i < count; ++i) (void)HM_VD_delete_object(sheets[i]);
            return stage_failure(d, "\nFail to sew backlite faces into one piece sheet. \n", kSewText,
                                 kPreparationFailed);
        }
        d->backlite_sheet = sheets[0];
        d->initial_backlite_sheet = sheets[0];
        run.extracted.push_back(sheets[0]);
    }
    restrictions_into_sheets(run, &d->eye_mirror_restrictions, &d->initial_eye_mirror_restrictions);
    restrictions_into_sheets(run, &d->mirror_target_restrictions, &d->initial_mirror_target_restrictions);
    return 0;
}

/* ---- loading ---- */

int loading_failure(mc_data_s* d, const char* line) {
    log_failure(line, kPreparationFailed);
    return stage_failure(d, "\nFail to apply loading to mirror data. \n", kLoadingText, kPreparationFailed);
}

// The loading transformation: the pitch about the vehicle's lateral axis
// through P2, then the drop along the vehicle's vertical. false when the
// pitch cannot be had (the two points that set it stand one above the
// other) or the host gives no matrix.
bool loading_matrix(const mc_data_s* d, double matrix[12], const char** failure) {
    const double* o = d->vehicle_origin;
    const double* m = d->vehicle_orientation;
    const double* p1 = d->loading_points[0];
    const double* p2 = d->loading_points[1];
    const double* p3 = d->loading_points[2];
    const double tol = d->distance_tolerance;
    double drop = VD_LOCAL_Z(p1, o, m) - VD_LOCAL_Z(p2, o, m);
    const double second_drop = VD_LOCAL_Z(p1, o, m) - VD_LOCAL_Z(p3, o, m);
    double pitch = 0.0;
    if (std::fabs(drop) > tol || std::fabs(second_drop) > tol) {
        const double run_x = VD_LOCAL_X(p3, o, m) - VD_LOCAL_X(p2, o, m);
        if (std::fabs(run_x) <= tol) {
            *failure = "Fail to determine a matrix to rotate\n";
            return false;
        }
        pitch = std::atan((VD_LOCAL_Z(p3, o, m) - VD_LOCAL_Z(p2, o, m)) / run_x) * kLoadingDegreesPerRadian;
    }
    if (std::fabs(drop) <= tol) drop = 0.0;
    const double y_axis[3] = {m[3], m[4], m[5]};
    double rotation[12];
    if (hm5945(p2, y_axis, pitch, rotation) != 0) {
        *failure = "Fail to determine a matrix to rotate\n";
        return false;
    }
    const double local_drop[3] = {0.0, 0.0, -drop};
    double shift[3];
    double translation[12];
    (void)VD_map_vector_csys2abs(local_drop, m, shift);
    if (hm5943(shift, translation) != 0 || hm5942(rotation, translation, matrix) != 0) {
        *failure = "Fail to determine a matrix to rotate\n";
        return false;
    }
    return true;
}

// A copy of the object by the matrix, on the work layer; 0 on failure.
tag_t loaded_copy(const double matrix[12], tag_t object) {
    tag_t copy = NULL_TAG;
    int status = 0;
    if (hm5947(matrix, &object, 1, 2, 0, 2, &copy, nullptr, &status) != 0 || status != 0) return NULL_TAG;
    return copy;
}

// The eyellipse moved with the vehicle: a temporary rule made from the moved
// data is looked up again, under an undo mark that takes the rule away.
void move_eyellipse(mc_data_s* d, const double matrix[12]) {
    if (d->eye_method != 0 || !d->eyellipse_rule_name || !*d->eyellipse_rule_name) return;
    detail::SmBlock<char> rule_string;
    VD_eyellipse_param_t e{};
    if (VD_ask_rule_string(d->eyellipse_rule_name, rule_string.out()) != 0 ||
        VD_ask_eyellipse_data(rule_string.get(), &e) != 0)
        return;
    for (auto& c : e.centre) (void)hm5941(c, matrix);
    double rotation[12];
    std::memcpy(rotation, matrix, sizeof rotation);
    rotation[3] = rotation[7] = rotation[11] = 0.0;
    for (auto& a : e.axis_dir) (void)hm5941(a, rotation);

    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "loading_mark");
    detail::SmBlock<char> name;
    EyellipseLookup moved{};
    bool looked_up = false;
    if (CK_RQ_auto_get_next_rule_name("eyellipse", name.out()) == 0 &&
        VD_ELL_create_eyellipse(name.get(), &e, nullptr) == 0)
        looked_up = eyellipse_lookup(name.get(), d->eyellipse_size, &moved) == 0;
    UNDO_KW_undo_to_mark_no_status(mark);
    (void)UNDO_KW_delete_mark(mark);
    if (!looked_up) return;
    // The two plan-view conics of the moved eyellipse replace the old ones.
    for (tag_t& conic : d->eyellipse_conics) {
        if (conic != NULL_TAG) (void)HM_VD_delete_object(conic);
        conic = NULL_TAG;
    }
    (void)eyellipse_conics(moved, d->eyellipse_conics);
}

// Copies of the list's initial items by the matrix; false at the first
// failure (the copies made stay in `made`).
bool copy_list(const double matrix[12], hm_list_p_t initial, hm_list_p_t* list, std::vector<tag_t>* made) {
    std::vector<tag_t> copies;
    for (tag_t item : detail::list_items(initial)) {
        const tag_t copy = loaded_copy(matrix, item);
        if (copy == NULL_TAG) return false;
        copies.push_back(copy);
        made->push_back(copy);
    }
    if (!copies.empty()) replace_host_list(list, copies);
    return true;
}

int apply_loading(Run& run) {
    mc_data_s* d = run.data;
    trace("+++ apply loading to mirror data \n");
    double matrix[12];
    const char* failure = nullptr;
    if (!loading_matrix(d, matrix, &failure)) return run.fail(loading_failure(d, failure));

    std::memcpy(d->saved_eye_reference_point, d->eye_reference_point, sizeof d->eye_reference_point);
    std::memcpy(d->saved_mirror_reference_point, d->mirror_reference_point, sizeof d->mirror_reference_point);
    std::memcpy(d->saved_prime_point, d->prime_point, sizeof d->prime_point);
    (void)hm5941(d->eye_reference_point, matrix);
    (void)hm5941(d->mirror_reference_point, matrix);
    (void)hm5941(d->prime_point, matrix);

    const tag_t mirror = loaded_copy(matrix, d->initial_mirror);
    if (mirror == NULL_TAG) return run.fail(loading_failure(d, "Fail to copy the input objects\n"));
    d->mirror = mirror;
    run.loaded_pending.push_back(mirror);

    move_eyellipse(d, matrix);

    if (d->initial_backlite_sheet != NULL_TAG) {
        const tag_t backlite = loaded_copy(matrix, d->initial_backlite_sheet);
        if (backlite == NULL_TAG) return run.fail(loading_failure(d, "Fail to copy the backlite sheet \n"));
        d->backlite_sheet = backlite;
        run.loaded_pending.push_back(backlite);
    }
    if (!copy_list(matrix, d->initial_bezels, &d->bezels, &run.loaded_pending))
        return run.fail(loading_failure(d, "Fail to copy the bezel curves \n"));
    if (!copy_list(matrix, d->initial_eye_mirror_restrictions, &d->eye_mirror_restrictions, &run.loaded_pending))
        return run.fail(loading_failure(d, "Fail to copy the em restrictions \n"));
    if (!copy_list(matrix, d->initial_mirror_target_restrictions, &d->mirror_target_restrictions,
                   &run.loaded_pending))
        return run.fail(loading_failure(d, "Fail to copy the mt restrictions \n"));
    return 0;
}

// The loaded copies become results: the inside mirror, the bezel, the
// backlite and the restrictions. An outside mirror's loaded copy stays the
// run's until the analysis takes it over.
void loaded_copies_into_results(Run& run) {
    mc_data_s* d = run.data;
    if (d->mirror_kind == 0) run.add_result(d->mirror);
    for (tag_t t : detail::list_items(d->bezels)) run.add_result(t);
    if (d->backlite_sheet != NULL_TAG) run.add_result(d->backlite_sheet);
    for (tag_t t : detail::list_items(d->eye_mirror_restrictions)) run.add_result(t);
    for (tag_t t : detail::list_items(d->mirror_target_restrictions)) run.add_result(t);
    run.loaded_pending.clear();
    if (d->mirror_kind != 0) run.loaded_pending.push_back(d->mirror);
}

/* ---- the vehicle coordinate system ---- */

void to_vehicle(const mc_data_s* d, double point[3]) {
    double out[3];
    (void)VD_map_point_abs2csys(point, d->vehicle_origin, d->vehicle_orientation, out);
    std::memcpy(point, out, sizeof out);
}

void to_absolute(const mc_data_s* d, double point[3]) {
    double out[3];
    (void)VD_map_point_csys2abs(point, d->vehicle_origin, d->vehicle_orientation, out);
    std::memcpy(point, out, sizeof out);
}

// The object's copy in the vehicle frame, or 0.
tag_t mapped_copy(const mc_data_s* d, tag_t object) {
    tag_t copy = NULL_TAG;
    if (object == NULL_TAG || VD_map_geom_abs2csys(object, d->vehicle_origin, d->vehicle_orientation, &copy) != 0)
        return NULL_TAG;
    return copy;
}

// Where a mapped copy goes: without loading among the mapped temporaries;
// with loading among the results in place of the loaded object, which goes.
tag_t place_copy(Run& run, tag_t original, tag_t copy) {
    if (copy == NULL_TAG) return original;
    if (!run.data->loading) {
        run.mapped_temporaries.push_back(copy);
        return copy;
    }
    run.remove_result(original);
    run.add_result(copy);
    (void)HM_VD_delete_object(original);
    return copy;
}

void map_list(Run& run, hm_list_p_t* list) {
    std::vector<tag_t> items = detail::list_items(*list);
    if (items.empty()) return;
    for (tag_t& item : items) item = place_copy(run, item, mapped_copy(run.data, item));
    replace_host_list(list, items);
}

void map_mirror(Run& run) {
    mc_data_s* d = run.data;
    const tag_t copy = mapped_copy(d, d->mirror);
    if (copy == NULL_TAG) return;
    const tag_t old = d->mirror;
    if (d->loading && d->mirror_kind == 0) {
        d->mirror = place_copy(run, old, copy);
        return;
    }
    if (!d->loading) run.mapped_temporaries.push_back(copy);
    else run.loaded_pending.push_back(copy);
    if (old != d->initial_mirror) {
        run.loaded_pending.erase(std::remove(run.loaded_pending.begin(), run.loaded_pending.end(), old),
                                 run.loaded_pending.end());
        (void)HM_VD_delete_object(old);
    }
    d->mirror = copy;
}

void map_into_vehicle_frame(Run& run) {
    mc_data_s* d = run.data;
    if (VD_csys_is_identity(d->vehicle_origin, d->vehicle_orientation)) return;
    run.mapped = true;
    for (double* p : {d->eye_reference_point, d->mirror_reference_point, d->prime_point, d->first_target_point,
                      d->second_target_point, d->ground_point})
        to_vehicle(d, p);
    for (tag_t& conic : d->eyellipse_conics) {
        const tag_t copy = mapped_copy(d, conic);
        if (copy == NULL_TAG) continue;
        (void)HM_VD_delete_object(conic);
        conic = copy;
    }
    map_mirror(run);
    if (d->backlite_sheet != NULL_TAG)
        d->backlite_sheet = place_copy(run, d->backlite_sheet, mapped_copy(d, d->backlite_sheet));
    map_list(run, &d->bezels);
    map_list(run, &d->eye_mirror_restrictions);
    map_list(run, &d->mirror_target_restrictions);
}

void map_results_back(Run& run) {
    mc_data_s* d = run.data;
    std::vector<tag_t> back;
    for (tag_t object : run.result_items()) {
        tag_t copy = NULL_TAG;
        if (VD_map_geom_csys2abs(object, d->vehicle_origin, d->vehicle_orientation, &copy) != 0) {
            back.push_back(object);
            continue;
        }
        back.push_back(copy);
        (void)HM_VD_delete_object(object);
    }
    replace_host_list(run.results(), back);
    if (!*run.results()) (void)HM_MODL_create_list(run.results());

    if (mc_outside_result_s* o = d->outside) {
        for (double* p : {o->left_eye, o->mid_eye, o->right_eye, o->pivot, o->further_point, o->points[0],
                          o->points[1]})
            to_absolute(d, p);
        for (mc_outside_target_s* t : {o->first, o->second})
            if (t) {
                to_absolute(d, t->point_a);
                to_absolute(d, t->point_b);
            }
    }
    if (mc_inside_result_s* in = d->inside) {
        for (double* p : {in->left_eye, in->mid_eye, in->right_eye, in->pivot, in->further_point,
                          in->standard_ground_point})
            to_absolute(d, p);
        for (mc_inside_target_s* t : {in->upper, in->lower})
            if (t) to_absolute(d, t->closest_ground_point);
    }
}

void raise_run_warnings(mc_data_s* d) {
    if (d->user_override) add_warning(d, kWarnDeviatesFromStandard);
    if (d->head_rotation && d->eye_method == 1) {
        add_warning(d, kWarnHeadRotation);
        d->certifies = false;
    }
    if (d->mirror_kind != 0 && d->has_mirror_target_restrictions) add_warning(d, kWarnMirrorTargetRestrictions);
}

int run_analysis(Run& run) {
    mc_data_s* d = run.data;
    trace("+++ Begin to do the certification analysis \n");
    const bool inside = d->mirror_kind == 0;
    // The analysis takes the mirror sheet over from here.
    run.loaded_pending.clear();
    const int status = inside ? mc_inside_process(d) : HM_VD_MC_apf_process_outside(d);
    if (status != 0) {
        log_failure("Fail to do the certification analysis.\n", status);
        return run.fail(inside ? kInsideFailed : kOutsideFailed);
    }
    HM_VD_set_obj_array_layer(*run.results(), d->result_layer);
    return 0;
}

int process(mc_data_s* d) {
    trace("+++ mirror certification progress begin \n");
    Run run(d);
    fetch_names(d);
    if (HM_VD_MC_check_prime_location(d->prime_point, d->mirror) == 2) {
        add_warning(d, kWarnPrimePerimeter);
        d->certifies = false;
    }
    if (int status = faces_into_sheets(run)) return run.fail(status);
    if (d->loading) {
        if (int status = apply_loading(run)) return status;
        loaded_copies_into_results(run);
    }
    map_into_vehicle_frame(run);

    trace("+++ call the function to get the eye points \n");
    const int eyes = eye_point_stage(d);
    if (d->eye_method == 0) {
        for (tag_t& conic : d->eyellipse_conics) {
            if (conic != NULL_TAG) (void)HM_VD_delete_object(conic);
            conic = NULL_TAG;
        }
    }
    if (eyes != 0) {
        stage_failure(d, "\nFail to get the eye points.\n", kEyeText, kEyePointsFailed);
        return run.fail(kEyePointsFailed);
    }
    raise_run_warnings(d);
    if (int status = run_analysis(run)) return status;

    delete_alive(run.extracted);
    if (run.mapped) map_results_back(run);
    hm_list_p_t temporaries = make_host_list(run.mapped_temporaries);
    (void)HM_VD_delete_obj_list(&temporaries);
    (void)write_report(d);
    return kProcessDone;
}

}  // namespace
}  // namespace carvell::mirror

int HM_VD_MC_process(mc_data_s* data) {
    using namespace carvell::mirror;
    if (!data) return kNoRecord;
    if (data->mirror_kind == 0 ? !data->inside : !data->outside) return kNoRecord;
    if (!record_is_finite(*data)) return kNoRecord;
    return process(data);
}
