// Instrument-panel visibility analysis: the moa, mustache and hotdog on the
// instrument-panel and steering-wheel planes, the ruled vision faces that
// join each kind across the two planes, and where given objects meet those
// faces and the central sight line. Fills the result record it hands out.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "toolbox/detail/vec3.h"

#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"

#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_IPV";

// Result codes of the analysis.
enum IpvCode {
    kIpvBadInput = -1,
    kIpvNoMoa = 1001,
    kIpvNoMustache = 1002,
    kIpvNoHotdog = 1003,
    kIpvNoMoaFaces = 1004,
    kIpvNoMustacheFaces = 1005,
    kIpvNoHotdogFaces = 1006
};

void log(const char* text) { HM_print_syslog(text, true); }

// Beyond this many distance tolerances apart, an object and a vision face
// cannot meet.
constexpr double kMeetingReach = 100.0;

// False when the object and the face are plainly apart: their boxes, widened
// by the reach, do not overlap, or their nearest points lie farther apart
// than the reach. Their section is then empty, and far costlier to find
// than their distance. Anything the host cannot answer may meet.
bool may_meet(tag_t object, tag_t face, double reach) {
    double a[6], b[6];
    if (HM_MODL_ask_bounding_box(object, a) == 0 && HM_MODL_ask_bounding_box(face, b) == 0)
        for (int k = 0; k < 3; ++k)
            if (a[k] > b[k + 3] + reach || b[k] > a[k + 3] + reach) return false;
    double d = 0.0, on_object[3], on_face[3];
    if (HM_MODL_ask_minimum_dist(object, face, 0, nullptr, 0, nullptr, &d, on_object, on_face) != 0) return true;
    return !(d > reach);
}

// Sight-line points and intersection curves of each object with the faces
// (none looked for with a face it cannot meet).
void test_objects(hm_list_p_t objects, const double eye[3], const double sight[3], hm_list_p_t faces[3],
                  double tolerance, hm_list_p_t* points, hm_list_p_t* curves) {
    // The sight line runs from the eye towards the target.
    const double towards[3] = {-sight[0], -sight[1], -sight[2]};
    for (tag_t object : detail::list_items(objects)) {
        double hit[3];
        if (HM_VD_CURVE_project_point_along_vector(eye, towards, object, hit) == 0) {
            tag_t point = NULL_TAG;
            if (HM_CURVE_create_point(hit, &point) == 0) {
                if (!*points) HM_MODL_create_list(points);
                HM_MODL_put_list_item(*points, point);
            }
        }
        for (int kind = 0; kind < 3; ++kind)
            for (tag_t face : detail::list_items(faces[kind])) {
                if (!may_meet(object, face, kMeetingReach * tolerance)) continue;
                hm_list_p_t found = nullptr;
                HM_VD_ask_intersection_curves(object, face, tolerance, &found);
                HM_VD_add_list_item(curves, found);
                HM_MODL_delete_list(&found);
            }
    }
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

void ipv_initialize_moa_hogdog_output_data(moa_hotdog_output_t* output) {
    if (!output) return;
    *output = moa_hotdog_output_t{};
}

int HM_VD_ipv_create_hotdog_process(vd_eyellipse_t* eyellipse, hm_list_p_t outline_curves, const double target[3],
                                    tag_t plane, double sight_point[3], hm_list_p_t* moa, hm_list_p_t* mustache,
                                    hm_list_p_t* hotdog) {
    if (!moa || !mustache || !hotdog || !sight_point || !target) return kIpvBadInput;
    *moa = *mustache = *hotdog = nullptr;
    if (!ipv_eyellipse_usable(eyellipse) || !detail::model_point(target) || !outline_curves || plane == NULL_TAG)
        return kIpvBadInput;
    tag_t point = NULL_TAG, moa_curve = NULL_TAG;
    int code = 0;
    if (HM_VD_ipv_create_moa_on_plane(eyellipse, target, plane, &point, &moa_curve) != 0) {
        log("fail to create moa on ip plane");
        code = kIpvNoMoa;
    } else {
        HM_VD_ipv_change_array_to_list(1, &moa_curve, moa);
        HM_CURVE_ask_point_data(point, sight_point);
        // A host error raised while the mustache is built ends this plane's
        // step like any other failure of it: code, message, record kept.
        int made = 0;
        try {
            made = HM_VD_ipv_create_mustache_curve_on_plane(eyellipse->centroid[0], eyellipse->centroid[2],
                                                            outline_curves, plane, mustache);
        } catch (...) {
            detail::caught_code("hm_vd_ipv", __LINE__);
            made = kIpvNoMustache;
        }
        if (made != 0) {
            log("fail to create mustache on ip plane");
            code = kIpvNoMustache;
        } else {
            const double threshold = 0.0;
            if (HM_VD_ipv_create_hotdog_curve_on_plane(moa_curve, *mustache, point, &threshold, hotdog) != 0) {
                log("fail to create hotdog on ip");
                code = kIpvNoHotdog;
            }
        }
    }
    if (point != NULL_TAG) HM_VD_delete_object(point);
    return code;
}

int ipv_create_vision_faces(hm_list_p_t* ip_curves, hm_list_p_t* sw_curves, const double orient_dir[3], int mode,
                            hm_list_p_t* faces) {
    if (!ip_curves || !sw_curves || !faces) return kIpvBadInput;
    *faces = nullptr;
    // Both lists are replaced and their curves deleted: one list given
    // twice, or a curve in both, would be deleted and then read.
    if (ip_curves == sw_curves || *ip_curves == *sw_curves) return kIpvBadInput;
    for (tag_t c : detail::list_items(*ip_curves))
        if (ipv_list_contains(*sw_curves, c)) return kIpvBadInput;
    int n_ip = 0, n_sw = 0;
    hm_list_p_t ip[2] = {nullptr, nullptr}, sw[2] = {nullptr, nullptr};
    int r = ipv_reparam_curves(*ip_curves, orient_dir, mode, &n_ip, ip);
    if (r == 0) r = ipv_reparam_curves(*sw_curves, orient_dir, mode, &n_sw, sw);
    if (r != 0) {
        log("fail to reparam curves ");
        for (int i = 0; i < 2; ++i) {
            HM_VD_delete_obj_list(&ip[i]);
            HM_VD_delete_obj_list(&sw[i]);
        }
        return r;
    }
    HM_MODL_create_list(faces);
    for (int i = 0; i < n_ip && r == 0; ++i) {
        tag_t face = NULL_TAG;
        r = ipv_layer_ruled_sheet(ip[i], sw[i], true, &face);
        if (r != 0)
            log("fail to create rule");
        else
            HM_MODL_put_list_item(*faces, face);
    }
    HM_VD_add_list_item(&ip[0], ip[1]);
    HM_VD_add_list_item(&sw[0], sw[1]);
    HM_MODL_delete_list(&ip[1]);
    HM_MODL_delete_list(&sw[1]);
    if (r != 0) {
        HM_VD_delete_obj_list(&ip[0]);
        HM_VD_delete_obj_list(&sw[0]);
        return r;
    }
    if (!ipv_debug_flag) {
        HM_VD_delete_obj_list(ip_curves);
        HM_VD_delete_obj_list(sw_curves);
    } else {
        HM_MODL_delete_list(ip_curves);
        HM_MODL_delete_list(sw_curves);
    }
    *ip_curves = ip[0];
    *sw_curves = sw[0];
    return 0;
}

int HM_VD_ipv_sw_ss_analysis(const double origin[3], const double matrix[9], vd_eyellipse_t* eyellipse,
                             hm_list_p_t outline_curves, const double target_point[3], const double orient_dir[3],
                             tag_t ip_plane, tag_t sw_plane, hm_list_p_t objects_1, hm_list_p_t objects_2,
                             int closed_flag, moa_hotdog_output_t** output) {
    if (!output) return kIpvBadInput;
    *output = nullptr;
    if (!detail::model_point(origin) || !detail::in_model_space(matrix, 9) || !detail::model_point(target_point) ||
        !detail::model_point(orient_dir) || !ipv_eyellipse_usable(eyellipse))
        return kIpvBadInput;
    // The debug flag follows the key on every call.
    ipv_debug_flag = trace_on(kKey) ? 1 : 0;
    mtStatusArea("calculating instrument panel visibility result");
    for (int k = 0; k < 3; ++k) ipv_vehicle_origin[k] = origin[k];
    for (int k = 0; k < 9; ++k) ipv_vehicle_matrix[k] = matrix[k];
    double tol[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tol);
    const double* eye = eyellipse->centroid[1];
    const double sight[3] = {eye[0] - target_point[0], eye[1] - target_point[1], eye[2] - target_point[2]};
    auto* record = static_cast<moa_hotdog_output_t*>(SM_alloc(sizeof(moa_hotdog_output_t)));
    if (!record) return kIpvBadInput;
    ipv_initialize_moa_hogdog_output_data(record);

    hm_list_p_t faces[3] = {nullptr, nullptr, nullptr};
    double sight_point[3];
    int code = HM_VD_ipv_create_hotdog_process(eyellipse, outline_curves, target_point, ip_plane, sight_point,
                                               &record->ip_moa, &record->ip_mustache, &record->ip_hotdog);
    if (code != 0) {
        log("fail to create hotdog at ip plane");
    } else {
        HM_CURVE_create_point(sight_point, &record->ip_point);
        code = HM_VD_ipv_create_hotdog_process(eyellipse, outline_curves, target_point, sw_plane, sight_point,
                                               &record->sw_moa, &record->sw_mustache, &record->sw_hotdog);
        if (code != 0) log("fail to create hotdog at sw plane");
    }
    if (code == 0) {
        HM_CURVE_create_point(sight_point, &record->sw_point);
        const int mode = closed_flag == 0 ? 1 : 0;
        const struct {
            hm_list_p_t* ip;
            hm_list_p_t* sw;
            int mode;
            int code;
            const char* message;
        } kinds[3] = {{&record->ip_moa, &record->sw_moa, 0, kIpvNoMoaFaces, "fail to create moa vision face"},
                      {&record->ip_mustache, &record->sw_mustache, mode, kIpvNoMustacheFaces,
                       "fail to create mustache vision face"},
                      {&record->ip_hotdog, &record->sw_hotdog, mode, kIpvNoHotdogFaces, "fail to create hotdog face"}};
        for (int k = 0; k < 3 && code == 0; ++k)
            if (ipv_create_vision_faces(kinds[k].ip, kinds[k].sw, orient_dir, kinds[k].mode, &faces[k]) != 0) {
                log(kinds[k].message);
                code = kinds[k].code;
            }
    }
    if (code == 0) {
        test_objects(objects_1, eye, sight, faces, tol[kIpvDistance], &record->objects_1_points,
                     &record->objects_1_curves);
        test_objects(objects_2, eye, sight, faces, tol[kIpvDistance], &record->objects_2_points,
                     &record->objects_2_curves);
    }
    for (auto& f : faces) HM_VD_delete_obj_list(&f);
    record->reserved_list = nullptr;
    *output = record;
    return code;
}
