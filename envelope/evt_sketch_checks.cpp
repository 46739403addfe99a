// The tire-envelope tool's checks of the curves it is given: whether a curve
// lies in a sketch or in the XY plane, where it crosses or starts on the Y
// axis, how a sketch is placed, how far a sketch's geometry reaches, and a C
// string written as a rule-language string.
#include "vd_evt.h"
#include "evt_undo_mark.h"

#include "carvell_session.h"
#include "elvosk.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "istrane.h"
#include "tessik.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/rule_path.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {

// The nearest of n objects to `object`: its distance and its point nearest
// to the object (the first of equally near ones). The last host status.
int evt_min_dist_point(tag_t object, const tag_t* objects, int n, double* distance, double point[3]);

namespace {

// The source named in the error reports of these checks.
const char* const kSource = "vd_evt_util";
// Lines of the reports: the undo mark of the Y-axis crossing, the joint
// limits and the check of objects used by other tool instances.
constexpr int kLineUndoMark = 641;
constexpr int kLineJointLimits = 973;
constexpr int kLineUsedByRules = 1232;

// The tool's class, for an instance whose class is not known.
const char* const kToolClass = "%kw_vd_evt_envelope";
// The attributes of a tool instance that hold geometry.
const char* const kGeometryAttributes[] = {"output_curve_list", "evt_obj_group_profilecurves",
                                           "evt_obj_group_tirecsys", "evt_csys_step_intplane"};
// Bytes of an attribute path, terminator included.
constexpr size_t kPathSize = 133;

// Status of a null object or a missing argument.
constexpr int kBadInput = -1;
// Status of a curve that leaves the XY plane or does not begin on the Y axis.
constexpr int kNo = -1;
// Status of an empty text.
constexpr int kEmptyText = -2;

// A point off the XY plane by more than this (part units) leaves it.
constexpr double kPlaneTolerance = 1e-10;
// An end this near the Y axis (part units, in sketch x) begins on it.
constexpr double kAxisTolerance = 0.0001;
// Tolerance of the plane and curve intersection (part units).
constexpr double kIntersectTolerance = 0.001;
// Half the length of a probe line: far beyond any sketch (part units).
constexpr double kProbeReach = 10000.0;

const double kAbsOrigin[3] = {0, 0, 0};
const double kAbsX[3] = {1, 0, 0};
const double kAbsY[3] = {0, 1, 0};

// The session bracket, left on every way out.
struct Bracket {
    Bracket() { VD_enter_omvra(); }
    ~Bracket() { VD_exit_omvra(); }
};

// Display suspended for the length of a step.
struct DisplayOff {
    DisplayOff() { (void)HM_DISP_set_display(0); }
    ~DisplayOff() { (void)HM_DISP_set_display(1); }
};

bool is_feature(tag_t object) { return detail::is_of_kind(object, HM_feature_type); }

// Absolute coordinates of a point given in the matrix's (16 values, row by row).
void map_point(const double mtx[16], const double p[3], double out[3]) { (void)HM_MTX4_vec3_multiply(p, mtx, out); }

// The first n points of `points` (each SM_alloc'd) and the array, freed.
void free_points(int n, double** points) {
    if (!points) return;
    for (int i = 0; i < n; ++i) SM_free(points[i]);
    SM_free(points);
}

// The plane through which the Y axis of the curve's frame is found: the
// sketch's origin with its x axis as normal, or the absolute YZ plane.
int y_axis_plane(tag_t curve, double origin[3], double normal[3]) {
    std::memcpy(origin, kAbsOrigin, sizeof kAbsOrigin);
    std::memcpy(normal, kAbsX, sizeof kAbsX);
    tag_t sketch = 0;
    if (!VD_EVT_is_curve_in_sketch(curve, &sketch)) return 0;
    HM_SKET_info_t info;
    if (const int r = HM_SKET_ask_sketch_info(sketch, &info)) return r;
    std::memcpy(origin, info.origin, sizeof info.origin);
    std::memcpy(normal, info.orientation, 3 * sizeof(double));
    return 0;
}

// The crossing points of the curve with the plane, as new 3-double blocks.
int crossings(tag_t curve, tag_t plane, int* count, double*** points) {
    int n = 0;
    HM_MODL_intersection_t** entries = nullptr;
    int status = HM_MODL_intersect_objects(plane, curve, kIntersectTolerance, &n, &entries);
    if (status != 0 || n == 0) {
        detail::free_intersection_entries(n, entries);
        return status;
    }
    auto** out = static_cast<double**>(SM_calloc(static_cast<size_t>(n), sizeof(double*)));
    int made = 0;
    for (; made < n; ++made) {
        auto* p = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        out[made] = p;
        if (entries[made]->kind == 0) {
            std::memcpy(p, entries[made]->point, 3 * sizeof(double));
        } else if ((status = HM_CURVE_evaluate_curve(entries[made]->curve, 0.0, 0, p)) != 0) {
            ++made;
            break;
        }
    }
    detail::free_intersection_entries(n, entries);
    if (status != 0) {
        free_points(made, out);
        return status;
    }
    *count = n;
    *points = out;
    return 0;
}

// The sketch's placement from its information record.
void sketch_frame(const HM_SKET_info_t& info, double x[3], double y[3]) {
    std::memcpy(x, info.orientation, 3 * sizeof(double));
    std::memcpy(y, info.orientation + 3, 3 * sizeof(double));
}

// The four probe lines around a sketch, in sketch coordinates: left and
// right (their nearest points give the smallest and the largest x), bottom
// and top (the smallest and the largest y).
const double kProbes[4][2][3] = {
    {{-kProbeReach, -kProbeReach, 0}, {-kProbeReach, kProbeReach, 0}},
    {{kProbeReach, -kProbeReach, 0}, {kProbeReach, kProbeReach, 0}},
    {{-kProbeReach, -kProbeReach, 0}, {kProbeReach, -kProbeReach, 0}},
    {{-kProbeReach, kProbeReach, 0}, {kProbeReach, kProbeReach, 0}},
};

// The limit that probe i finds: the nearest point of the geometry to the
// probe, in sketch coordinates, its x for the side probes, its y otherwise.
int probe_limit(int i, const double transform[12], const double absolute_to_sketch[16], const tag_t* geoms,
                int n, double* limit) {
    HM_CURVE_line_t line;
    std::memcpy(line.start_point, kProbes[i][0], sizeof line.start_point);
    std::memcpy(line.end_point, kProbes[i][1], sizeof line.end_point);
    detail::Temporaries temporaries;
    tag_t probe = 0;
    if (const int r = HM_CURVE_create_line(&line, &probe)) return r;
    temporaries.add(probe);
    tag_t moved = 0;
    int status = 0;
    if (const int r = hm5947(transform, &probe, 1, 1, -1, 2, &moved, nullptr, &status)) return r;
    double distance = 0, nearest[3] = {0, 0, 0}, local[3];
    if (const int r = evt_min_dist_point(probe, geoms, n, &distance, nearest)) return r;
    map_point(absolute_to_sketch, nearest, local);
    *limit = i < 2 ? local[0] : local[1];
    return 0;
}

// The instance's rule string ("root:NAME:"), or "" when it has none.
std::string rule_string_of(const char* instance) {
    detail::SmBlock<char> text;
    if (VD_ask_rule_string(instance, text.out()) != 0 || !text) return std::string();
    return text.get();
}

// The objects held by the geometry attributes of a tool instance, added to
// `used`. -1 when a path does not fit its buffer.
int collect_used(const char* instance, std::vector<tag_t>* used) {
    for (const char* attribute : kGeometryAttributes) {
        char path[kPathSize];
        const int length = std::snprintf(path, sizeof path, "Root:%s:%s:", instance, attribute);
        if (length < 0 || static_cast<size_t>(length) >= sizeof path) return kBadInput;
        TEXT_t text;
        TEXT_init_string(&text, path);
        int count = 0;
        detail::SmBlock<tag_t> objects;
        // An instance need not have every attribute: a missing one holds nothing.
        if (VD_RQ_ask_objs_list(&text, &count, objects.out()) == 0)
            used->insert(used->end(), objects.get(), objects.get() + count);
        TEXT_free(&text);
    }
    return 0;
}

// The objects held by every instance of the class but the given one.
int objects_of_other_instances(const char* instance, std::vector<tag_t>* used) {
    std::string class_name = kToolClass;
    std::string own;
    if (instance && *instance) {
        detail::SmBlock<char> known;
        if (KBL_ask_instance_class(instance, known.out()) == 0 && known) class_name = known.get();
        own = rule_string_of(instance);
    }
    int count = 0;
    char** names = nullptr;
    if (const int r = VD_get_all_rules_by_class(class_name.c_str(), &count, &names)) return r;
    int status = 0;
    for (int i = 0; i < count && status == 0; ++i) {
        const bool given = instance && (STR_compare_i(names[i], instance) == 0 ||
                                        (!own.empty() && STR_compare_i(rule_string_of(names[i]).c_str(), own.c_str()) == 0));
        if (!given) status = collect_used(names[i], used);
    }
    VD_free_string_array(count, names);
    return status;
}

}  // namespace

int evt_min_dist_point(tag_t object, const tag_t* objects, int n, double* distance, double point[3]) {
    int status = 0;
    bool found = false;
    for (int i = 0; i < n; ++i) {
        double d = 0, on_object[3], on_other[3];
        status = HM_MODL_ask_minimum_dist(objects[i], object, 0, nullptr, 0, nullptr, &d, on_object, on_other);
        if (status != 0) continue;
        if (!found || d < *distance) {
            found = true;
            *distance = d;
            std::memcpy(point, on_object, sizeof on_object);
        }
    }
    return status;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

bool VD_EVT_is_curve_in_sketch(tag_t curve, tag_t* sketch) {
    if (!sketch) return false;
    *sketch = 0;
    if (curve == 0) return false;
    if (SKET_ask_sketch_of_member(curve, sketch) != 0) *sketch = 0;
    return *sketch != 0;
}

int VD_EVT_check_curve_in_XOY_plane(tag_t curve) {
    if (curve == 0) return kBadInput;
    Bracket bracket;
    double range[2];
    int periodic = 0;
    if (const int r = HM_CURVE_ask_parameterization(curve, range, &periodic)) return r;
    const double step = (range[1] - range[0]) * 0.1;
    double p[3];
    for (double t = range[0]; t < range[1]; t += step) {
        if (const int r = HM_CURVE_evaluate_curve(curve, t, 0, p)) return r;
        if (std::fabs(p[2]) > kPlaneTolerance) return kNo;
    }
    if (const int r = HM_CURVE_evaluate_curve(curve, range[1], 0, p)) return r;
    return std::fabs(p[2]) > kPlaneTolerance ? kNo : 0;
}

int VD_EVT_check_curve_intersect_Y_axis(tag_t curve, int* count, double*** points) {
    if (!count || !points) return kBadInput;
    *count = 0;
    *points = nullptr;
    if (curve == 0) return 0;
    carvell::detail::UndoScope scope(UNDO_visible, "VD_CHK_CRV_INT_Y", carvell::detail::UndoScope::RollBack::quiet);
    if (!scope.is_set()) return evt_undo_mark_failed(kSource, kLineUndoMark, HM_ERR_UNDO_MARK);
    (void)UNDO_KW_set_mark_importance(scope.mark(), nullptr);
    Bracket bracket;
    int found = 0;
    double** made = nullptr;
    const int status = carvell::detail::run_step(scope, kSource, __LINE__, [&]() -> int {
        DisplayOff display;
        tag_t target = curve;
        if (is_feature(curve)) {
            carvell::detail::SmBlock<tag_t> objects;
            int n = 0;
            if (const int r = HM_MODL_ask_feat_object(curve, &n, objects.out())) return r;
            if (n < 1) return HM_ERR_WRONG_TYPE;
            target = objects[0];
        }
        double origin[3], normal[3];
        if (const int r = y_axis_plane(target, origin, normal)) return r;
        tag_t plane = 0;
        if (const int r = HM_MODL_create_plane(origin, normal, &plane)) return r;
        const int r = crossings(target, plane, &found, &made);
        carvell::detail::delete_if_alive(plane);
        return r;
    });
    if (status != 0) {
        free_points(found, made);
        return status;
    }
    *count = found;
    *points = made;
    return 0;
}

int VD_EVT_check_curve_begin_Y_axis(tag_t curve) {
    if (curve == 0) return kBadInput;
    Bracket bracket;
    if (is_feature(curve)) {
        tag_t source = 0;
        if (const int r = HM_LINK_ask_link_source(curve, 1, &source)) return r;
        if (source == 0) return kBadInput;
        curve = source;
    }
    double range[2];
    int periodic = 0;
    if (const int r = HM_CURVE_ask_parameterization(curve, range, &periodic)) return r;
    double ends[2][3];
    for (int i = 0; i < 2; ++i)
        if (const int r = HM_CURVE_evaluate_curve(curve, range[i], 0, ends[i])) return r;
    tag_t sketch = 0;
    if (VD_EVT_is_curve_in_sketch(curve, &sketch)) {
        double orientation[9], transform[12], to_absolute[16], to_sketch[16];
        if (const int r = VD_EVT_ask_sketch_matrix_information(sketch, orientation, transform, to_absolute,
                                                               to_sketch))
            return r;
        for (auto& end : ends) {
            double local[3];
            map_point(to_sketch, end, local);
            std::memcpy(end, local, sizeof local);
        }
    }
    const bool off = std::fabs(ends[0][0]) > kAxisTolerance && std::fabs(ends[1][0]) > kAxisTolerance;
    return off ? kNo : 0;
}

int VD_EVT_ask_sketch_matrix_information(tag_t sketch, double orientation[9], double* transform,
                                         double* sketch_to_absolute, double* absolute_to_sketch) {
    if (sketch == 0 || !orientation || !transform || !sketch_to_absolute || !absolute_to_sketch) return kBadInput;
    HM_SKET_info_t info;
    if (const int r = HM_SKET_ask_sketch_info(sketch, &info)) return r;
    std::memcpy(orientation, info.orientation, sizeof info.orientation);
    if (const int r = hm5940(orientation, transform)) return r;
    double x[3], y[3];
    sketch_frame(info, x, y);
    if (const int r = HM_MTX4_csys_to_csys(kAbsOrigin, kAbsX, kAbsY, info.origin, x, y, sketch_to_absolute))
        return r;
    return HM_MTX4_csys_to_csys(info.origin, x, y, kAbsOrigin, kAbsX, kAbsY, absolute_to_sketch);
}

int VD_EVT_ask_joint_limits_from_sketch(tag_t sketch, double limits[4]) {
    if (sketch == 0 || !limits) return kBadInput;
    carvell::detail::SmBlock<tag_t> geoms;
    int n = 0;
    if (const int r = HM_SKET_ask_geoms_of_sketch(sketch, &n, geoms.out())) return r;
    double orientation[9], transform[12], to_absolute[16], to_sketch[16];
    if (const int r = VD_EVT_ask_sketch_matrix_information(sketch, orientation, transform, to_absolute, to_sketch))
        return r;
    try {
        DisplayOff display;
        for (int i = 0; i < 4; ++i)
            if (const int r = probe_limit(i, transform, to_sketch, geoms.get(), n, &limits[i])) return r;
    } catch (...) {
        return carvell::detail::caught_code(kSource, kLineJointLimits);
    }
    return 0;
}

int VD_EVT_check_geometry_used_by_rules(const char* instance, const tag_t* tags, int n, tag_t** free_tags,
                                        int* n_free) {
    if (free_tags) *free_tags = nullptr;
    if (n_free) *n_free = 0;
    if (!free_tags || !n_free || n < 0 || (n > 0 && !tags) || !carvell::detail::count_fits(n, sizeof(tag_t)))
        return kBadInput;
    // The longest attribute path of an instance, "Root:<instance>:evt_obj_group_profilecurves:", in 133 bytes.
    constexpr size_t kAttributePathSize = 133;
    if (instance && std::strlen(instance) + sizeof("Root::evt_obj_group_profilecurves:") > kAttributePathSize)
        return kBadInput;
    try {
        std::vector<tag_t> used;
        if (const int r = objects_of_other_instances(instance, &used)) return r;
        std::vector<tag_t> unused;
        for (int i = 0; i < n; ++i)
            if (std::find(used.begin(), used.end(), tags[i]) == used.end()) unused.push_back(tags[i]);
        if (unused.empty()) return 0;
        auto* out = static_cast<tag_t*>(SM_alloc(unused.size() * sizeof(tag_t)));
        std::copy(unused.begin(), unused.end(), out);
        *free_tags = out;
        *n_free = static_cast<int>(unused.size());
    } catch (...) {
        return carvell::detail::caught_code(kSource, kLineUsedByRules);
    }
    return 0;
}

int VD_EVT_convert_c_string_to_rq_string(const char* text, char** rq_text) {
    if (rq_text) *rq_text = nullptr;
    if (!text || !rq_text) return kBadInput;
    const size_t length = std::strlen(text);
    if (length == 0) return kEmptyText;
    // At most one tilde per character, and the terminator.
    auto* out = static_cast<char*>(SM_alloc(2 * length + 2));
    char* w = out;
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '~') *w++ = '~';
        *w++ = *c;
    }
    *w = '\0';
    *rq_text = out;
    return 0;
}
