// The eye-point stage of a certification run: ocular points for the ocular
// rows, and for the eyellipse rows the eyes chosen on the plan-view ellipse
// on the mirror's side (farthest from, nearest to or midway to the mirror
// reference point), the partner eye one eyellipse spacing across, the head
// pivot behind them and the mid-eye point at the ellipse's rearmost point.
#include "mirror_record.h"

#include "belmorra.h"
#include "hm_vd/curve_utils.h"
#include "mirror_helpers.h"
#include "omvra.h"
#include "omvra/curves.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/owners.h"

#include <array>
#include <cmath>
#include <vector>

namespace carvell::mirror {
namespace {

constexpr int kEllipseIntervals = 356;
constexpr int kHelperLayer = 256;
constexpr double kPivotBehindEye[2] = {98.54, 3.879527559055118};

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

double squared(const double a[3], const double b[3]) {
    return (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]);
}

// The conic's structure values; false when it cannot be read.
bool conic_values(tag_t conic, std::array<double, HM_CURVE_STRUCT_DATA_SIZE>* values, const char** failure) {
    HM_CURVE_struct_p_t structure = nullptr;
    if (HM_CURVE_ask_curve_struct(conic, &structure) != 0) {
        *failure = "Fail to ask curve struct \n";
        return false;
    }
    int type = 0;
    detail::SmBlock<double> data;
    const int status = HM_CURVE_ask_curve_struct_data(structure, &type, data.out());
    HM_CURVE_free_curve_struct(structure);
    if (status != 0 || !data) {
        *failure = "Fail to ask curve struct data \n";
        return false;
    }
    std::copy(data.get(), data.get() + HM_CURVE_STRUCT_DATA_SIZE, values->begin());
    return true;
}

struct Eyes {
    double* left;
    double* mid;
    double* right;
    double* pivot;
};

bool eyes_of(mc_data_s* data, Eyes* eyes) {
    if (data->inside) {
        *eyes = {data->inside->left_eye, data->inside->mid_eye, data->inside->right_eye, data->inside->pivot};
        return true;
    }
    if (data->outside) {
        *eyes = {data->outside->left_eye, data->outside->mid_eye, data->outside->right_eye, data->outside->pivot};
        return true;
    }
    return false;
}

// The conic's point nearest a plane normal to +x just behind its rearmost reach.
int rearmost_point(tag_t conic, const std::array<double, HM_CURVE_STRUCT_DATA_SIZE>& s, double point[3]) {
    const double r = s[5];
    double v[3] = {s[11], s[12], s[13]};
    if (v[0] < 0.0) v[0] = -v[0], v[1] = -v[1], v[2] = -v[2];
    const double origin[3] = {s[0] + r * v[0] + r, s[1] + r * v[1], s[2] + r * v[2]};
    const double normal[3] = {1.0, 0.0, 0.0};
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(origin, normal, &plane) != 0 || plane == NULL_TAG)
        return fail("Fail to create plane in the positive x direction \n", 3);
    double distance = 0.0, on_plane[3];
    const int status = HM_MODL_ask_minimum_dist(conic, plane, 0, nullptr, 0, nullptr, &distance, point, on_plane);
    (void)HM_OBJ_set_layer(plane, kHelperLayer);
    (void)HM_OBJ_delete_object(plane);
    if (status != 0) return fail("Fail to find find the minimum distance between theplane and the ellipse.\n", 2);
    return 0;
}

int eyellipse_eye_points(mc_data_s* data, const Eyes& eyes) {
    const double* m = data->mirror_reference_point;
    const double* r = data->eye_reference_point;
    const tag_t conic = m[1] > r[1] ? data->eyellipse_conics[0] : m[1] < r[1] ? data->eyellipse_conics[1] : NULL_TAG;
    std::vector<std::array<double, 3>> samples(kEllipseIntervals + 1);
    std::vector<double*> rows;
    for (auto& sample : samples) rows.push_back(sample.data());
    int count = 0;
    if (conic == NULL_TAG || HM_VD_curve_disperse_param_points(conic, kEllipseIntervals, &count, rows.data()) != 0 ||
        count < 1)
        return fail("Fail to sample the points on the ellipse \n", 1);
    int farthest = 0, nearest = 0;
    double far_d = -1.0, near_d = 1e20;
    for (int i = 0; i < count; ++i) {
        const double d = squared(rows[i], m);
        if (d > far_d) far_d = d, farthest = i;
        if (d < near_d) near_d = d, nearest = i;
    }
    std::array<double, HM_CURVE_STRUCT_DATA_SIZE> first{}, second{};
    const char* failure = nullptr;
    if (!conic_values(data->eyellipse_conics[0], &first, &failure) ||
        !conic_values(data->eyellipse_conics[1], &second, &failure))
        return fail(failure, 2);

    double chosen[3];
    for (int k = 0; k < 3; ++k) {
        chosen[k] = data->eye_selection_mode == 0   ? rows[farthest][k]
                    : data->eye_selection_mode == 2 ? rows[nearest][k]
                                                    : 0.5 * (rows[farthest][k] + rows[nearest][k]);
    }
    const double spacing = std::fabs(second[1] - first[1]);
    const bool chosen_is_right = m[1] <= r[1];
    for (int k = 0; k < 3; ++k) {
        eyes.left[k] = chosen[k];
        eyes.right[k] = chosen[k];
    }
    if (chosen_is_right) eyes.left[1] -= spacing;
    else eyes.right[1] += spacing;
    eyes.mid[0] = chosen[0];
    eyes.mid[1] = 0.5 * (eyes.left[1] + eyes.right[1]);
    eyes.mid[2] = chosen[2];
    for (int k = 0; k < 3; ++k) eyes.pivot[k] = eyes.mid[k];
    eyes.pivot[0] += kPivotBehindEye[data->units == 1 ? 1 : 0];
    return rearmost_point(conic, conic == data->eyellipse_conics[0] ? first : second, data->mid_eye_point);
}

}  // namespace

int eye_point_stage(mc_data_s* data) {
    if (!data) return -1;
    if (data->eye_method == 1) return ocular_eye_point_stage(data);
    Eyes eyes{};
    if (!eyes_of(data, &eyes)) return -1;
    return eyellipse_eye_points(data, eyes);
}

int eyellipse_lookup(const char* rule_name, int size_selector, EyellipseLookup* lookup) {
    if (!lookup) return -1;
    *lookup = EyellipseLookup{};
    if (!rule_name) return -1;
    char* rule_string = nullptr;
    if (VD_ask_rule_string(rule_name, &rule_string) != 0 || !rule_string) return -1;
    detail::SmBlock<char> owned(rule_string);
    VD_eyellipse_param_t record{};
    if (VD_ask_eyellipse_data(rule_string, &record) != 0) return -1;
    const int set = size_selector == -1 ? 0 : size_selector == 0 ? 1 : 2;
    for (int k = 0; k < 3; ++k) {
        lookup->centres[0][k] = record.centre[0][k];
        lookup->centres[1][k] = record.centre[2][k];
        lookup->first_direction[k] = record.axis_dir[0][k];
        lookup->second_direction[k] = record.axis_dir[1][k];
    }
    lookup->lengths[0] = record.axis_length[set][0];
    lookup->lengths[1] = record.axis_length[set][1];
    double origin[3], matrix[9];
    if (VD_get_csys(origin, matrix) != 0 ||
        VD_map_point_csys2abs(record.centre[1], origin, matrix, lookup->reference) != 0) {
        *lookup = EyellipseLookup{};
        return -1;
    }
    return 0;
}

int eyellipse_conics(const EyellipseLookup& lookup, tag_t conics[2]) {
    conics[0] = conics[1] = NULL_TAG;
    constexpr double kFullTurn = 6.283185307179586;
    for (int i = 0; i < 2; ++i) {
        if (mc_create_ellipse_conic(lookup.centres[i], lookup.lengths[0] / 2.0, lookup.first_direction,
                                    lookup.lengths[1] / 2.0, lookup.second_direction, 0.0, kFullTurn,
                                    &conics[i]) != 0 ||
            conics[i] == NULL_TAG) {
            detail::delete_if_alive(conics[0]);
            detail::delete_if_alive(conics[1]);
            conics[0] = conics[1] = NULL_TAG;
            return -1;
        }
    }
    return 0;
}

}  // namespace carvell::mirror
