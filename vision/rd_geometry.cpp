// Reflection and refraction result geometry in one call: the sources sampled
// and searched as the data exports do, each run of found surface points made
// a named point or spline (joined per source curve), the light-path lines of
// found points drawn when asked, and each source's error number.
#include "hm_vd_vision.h"
#include "vision_ipv.h"
#include "vision_rd.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "elvosk.h"
#include "gostrel.h"
#include "hathmor.h"
#include "kestrin.h"
#include "morvish.h"
#include "nethrow.h"
#include "omvra.h"
#include "ostrade.h"
#include "quillon.h"
#include "rostval.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kReflectName = "Reflect Data";
constexpr const char* kRefractName = "Refract Data";
constexpr int kMinSegmentPoints = 3;
constexpr double kTouching = 1e-6;

struct Call {
    refl_reflect_type_t type;
    const refl_output_s& settings;
    RdContext ctx;
    hm_list_p_t list;   // the caller's
    bool reflection() const { return type == 0; }
    const refl_output_s::entry& curves() const { return settings.display[reflection() ? 0 : 1]; }
    const refl_output_s::entry& rays() const { return settings.display[reflection() ? 2 : 3]; }
    const char* name() const { return reflection() ? kReflectName : kRefractName; }
};

void rd_set_result_attributes(tag_t object, const refl_output_s::entry& display, const char* name, hm_list_p_t list) {
    if (object == NULL_TAG) return;
    ES_set_object_color(object, display.colour);
    ES_set_object_layer(object, display.layer);
    ES_add_entity_name(object, name, static_cast<int>(std::strlen(name)));
    at020(object);
    DSS_REGEN_regen_object(object);
    HM_MODL_put_list_item(list, object);
}

void rd_create_points_or_spline(const Call& call, std::vector<std::array<double, 3>>& pts, bool periodic,
                                hm_list_p_t list) {
    tag_t made = NULL_TAG;
    if (pts.size() == 1) {
        ES_create_point(pts[0].data(), &made);
    } else if (pts.size() >= 2) {
        std::vector<double*> rows;
        for (auto& p : pts) rows.push_back(p.data());
        HM_VD_create_spline_thru_points(static_cast<int>(rows.size()), rows.data(), periodic ? 1 : 0, &made);
    }
    rd_set_result_attributes(made, call.curves(), call.name(), list);
}

// Straight lines between consecutive points of a light path, each with the
// rays' colour and layer and the call's name.
void path_lines(const Call& call, const std::vector<const double*>& path) {
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        tag_t line = NULL_TAG;
        ES_create_line_in_part(path[i], path[i + 1], &line);
        rd_set_result_attributes(line, call.rays(), call.name(), call.list);
    }
}

// Input point to reflection point to eye: 2 lines.
void rd_create_reflect_rays(const Call& call, const RdPath& p) { path_lines(call, {p.input, p.surface, call.ctx.eye}); }

// Input point, entry, mirror point, exit, eye: 4 lines.
void rd_create_refract_rays(const Call& call, const RdPath& p) {
    path_lines(call, {p.input, p.entry, p.surface, p.exit, call.ctx.eye});
}

void rd_create_result_curves(const Call& call, const std::vector<RdPath>& paths, bool closed, bool join,
                             hm_list_p_t working) {
    if (paths.size() == 1) {
        if (paths[0].found) {
            tag_t point = NULL_TAG;
            ES_create_point(paths[0].surface, &point);
            rd_set_result_attributes(point, call.curves(), call.name(), call.list);
        }
        return;
    }
    std::vector<std::array<double, 3>> run;
    bool any_missing = false;
    auto close_run = [&]() {
        const bool to_working = join && run.size() >= 2;
        rd_create_points_or_spline(call, run, false, to_working ? working : call.list);
        run.clear();
    };
    for (const RdPath& p : paths) {
        if (p.found) {
            run.push_back({p.surface[0], p.surface[1], p.surface[2]});
        } else {
            any_missing = true;
            if (!run.empty()) close_run();
        }
    }
    if (closed && paths.front().found && paths.back().found && any_missing)
        run.push_back({paths.front().surface[0], paths.front().surface[1], paths.front().surface[2]});
    if (run.empty()) return;
    if (!any_missing && closed)
        rd_create_points_or_spline(call, run, true, call.list);
    else
        close_run();
}

int rd_create_run_geometry(const Call& call, const std::vector<RdPath>& paths, bool closed, bool join,
                           hm_list_p_t working) {
    rd_create_result_curves(call, paths, closed, join, working);
    int found = 0;
    for (const RdPath& p : paths) {
        if (call.rays().flag && p.found) {
            if (call.reflection())
                rd_create_reflect_rays(call, p);
            else
                rd_create_refract_rays(call, p);
        }
        found += p.found ? 1 : 0;
    }
    if (found == 0) return 2;
    return found == static_cast<int>(paths.size()) ? 0 : 1;
}

void rd_search_path_point(const Call& call, RdPath& p) {
    p.found = call.reflection() ? HM_VD_RD_create_reflect_point(call.ctx, p.input, p.surface)
                                : rd_create_refract_point(call.ctx, p.input, p.surface, p.entry, p.exit);
}

std::vector<RdPath> search_at(const Call& call, EVC_p_t evaluator, const std::vector<double>& parms) {
    std::vector<RdPath> paths;
    for (double t : parms) {
        RdPath p;
        if (EVC_evaluate(evaluator, 0, t, p.input, nullptr) != 0) continue;
        rd_search_path_point(call, p);
        paths.push_back(p);
    }
    return paths;
}

int rd_sample_smooth_curve(const Call& call, EVC_p_t evaluator, int n_points) {
    double limits[2] = {0.0, 1.0};
    EVC_ask_curve_limits(evaluator, limits);
    const bool open = em05(evaluator) == 1;
    // At least 2 points on an open curve, 1 on a closed one.
    const int n = open ? std::max(2, n_points) : std::max(1, n_points);
    std::vector<double> parms;
    for (int i = 0; i < n; ++i) parms.push_back(limits[0] + i * (limits[1] - limits[0]) / (open ? n - 1 : n));
    return rd_create_run_geometry(call, search_at(call, evaluator, parms), !open, false, nullptr);
}

void rd_join_result_curves(const Call& call, hm_list_p_t working) {
    const std::vector<tag_t> items = detail::list_items(working);
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    std::vector<tag_t> join;
    for (size_t i = 0; i < items.size(); ++i) {
        int type = 0, subtype = 0;
        if (items[i] == NULL_TAG || HM_OBJ_ask_type_and_subtype(items[i], &type, &subtype) != 0 ||
            type == HM_point_type)
            continue;
        const bool end = i == 0 || i + 1 == items.size();
        if (!end && HM_VD_ask_curve_array_length(1, &items[i]) <= tol + 1e-10)
            HM_MODL_put_list_item(call.list, items[i]);
        else
            join.push_back(items[i]);
    }
    if (join.size() == 1) HM_MODL_put_list_item(call.list, join[0]);
    if (join.size() < 2) return;
    int n = 0;
    detail::SmBlock<tag_t> joined;
    const int r = CRV_JOIN_auto_join_curves(static_cast<int>(join.size()), join.data(), TOLER_ask_distance_tol(),
                                            TOLER_ask_angular_tol(), &n, joined.out());
    if (r != 0 || n == 0) {
        // A join that fails keeps the pieces: they are the result.
        for (tag_t c : join) HM_MODL_put_list_item(call.list, c);
        return;
    }
    for (tag_t c : join) HM_VD_delete_object(c);
    for (int i = 0; i < n; ++i) rd_set_result_attributes(joined[i], call.curves(), call.name(), call.list);
}

int curve_source(const Call& call, tag_t curve, int n_points) {
    EVC_p_t evaluator = nullptr;
    if (EVC_initialize(curve, &evaluator) != 0) return 2;
    int k = 0;
    double* u = nullptr;
    EVC_p_t* pieces = nullptr;
    int number = 2;
    if (ev_bk_cv_at_c0(evaluator, &k, &u, &pieces) == 0 && k > 2) {
        const double weight = (em05(evaluator) == 1 ? k - 2 : k - 1) + n_points;
        detail::HostList working;
        HM_MODL_create_list(working.out());
        for (int s = 0; s + 1 < k; ++s) {
            const int size = std::max(kMinSegmentPoints,
                                      static_cast<int>(std::floor((u[s + 1] - u[s]) / (u[k - 1] - u[0]) * weight + 0.5)));
            std::vector<double> parms;
            for (int i = 0; i < size; ++i) parms.push_back(u[s] + i * (u[s + 1] - u[s]) / (size - 1));
            const int run = rd_create_run_geometry(call, search_at(call, evaluator, parms), false, true, working.get());
            number = s == 0 ? run : (run != number ? 1 : number);
        }
        rd_join_result_curves(call, working.get());
    } else {
        number = rd_sample_smooth_curve(call, evaluator, n_points);
    }
    for (int i = 0; i + 1 < k && pieces; ++i) EVC_free(pieces[i]);
    SM_free(u);
    SM_free(pieces);
    EVC_free(evaluator);
    return number;
}

int source_number(const Call& call, tag_t source, int n_points) {
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(source, &type, &subtype) != 0) return 2;
    if (type == HM_point_type) {
        RdPath p;
        if (ES_ask_coordinates_of_point(source, p.input) != 0) return 2;
        rd_search_path_point(call, p);
        return rd_create_run_geometry(call, {p}, false, false, nullptr);
    }
    if (detail::is_curve_type(type)) return curve_source(call, source, n_points);
    if (type == HM_solid_type && subtype == HM_solid_edge_subtype) {
        tag_t curve = NULL_TAG;
        if (VD_create_curve_from_edge(source, &curve) != 0) return 2;
        EVC_p_t evaluator = nullptr;
        int number = 2;
        if (EVC_initialize(curve, &evaluator) == 0) {
            number = rd_sample_smooth_curve(call, evaluator, n_points);
            EVC_free(evaluator);
        }
        HM_VD_delete_object(curve);
        return number;
    }
    return 2;
}

bool touches(const Call& call, tag_t source) {
    for (tag_t s : call.ctx.surfaces) {
        double d = 0.0, p1[3], p2[3];
        if (MIN_object_object(source, s, -0.01, &d, p1, p2) == 0 && d <= kTouching) return true;
    }
    return false;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell::vision;

void HM_VD_RD_create_reflect_refract_geometry(refl_reflect_type_t type, const refl_output_s& settings, int n_surfaces,
                                              const tag_t* surfaces, bool rear, int n_sources, const tag_t* sources,
                                              const double eye[3], int n_points, double index, double thickness,
                                              double angle_tolerance, hm_list_p_t* list, int* error_numbers) {
    if (!list || !*list || (n_sources > 0 && !error_numbers) ||
        !rd_input_usable(n_surfaces, surfaces, n_sources, sources, eye, n_points, {index, thickness, angle_tolerance}))
        return;
    Call call{type, settings, RdContext{}, *list};
    mtStatusArea(call.reflection() ? "Calculating reflection data" : "Calculating refraction data");
    rd_prepare_context(n_surfaces, surfaces, call.ctx);
    carvell::detail::copy3(eye, call.ctx.eye);
    call.ctx.rear = rear;
    call.ctx.index = index;
    call.ctx.thickness = thickness;
    call.ctx.eps1 = angle_tolerance;
    for (int i = 0; i < n_sources; ++i) {
        error_numbers[i] = source_number(call, sources[i], n_points);
        if (touches(call, sources[i])) error_numbers[i] = 3;
    }
    trace("VD_RD", "\n+++ HM_VD_RD_create_reflect_data end");
    mtClearStatusArea();
}
