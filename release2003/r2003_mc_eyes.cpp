// The eye points of the 2003 mirror-certification engine: three eyes and the
// head pivot from the user's eye reference point, or from the plan-view
// ellipse of the eyellipse on the mirror's side, with the rear eye point,
// the ellipse's point farthest towards the rear.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::r2003 {
namespace {

// Eye spacing, eye height above the reference point and the head pivot's
// offset to the rear, in millimetres and inches.
struct EyeConstants {
    double spacing, height, pivot_offset;
};
constexpr EyeConstants kMillimetres{65.0, 635.0, 98.54};
constexpr EyeConstants kInches{2.559055118110236, 25.0, 3.879527559055118};
constexpr int kEllipseIntervals = 356;

// The conic data of an ellipse curve (centre 0-2, first semi-axis 5, first
// axis 11-13), freed with the host's free.
struct ConicData {
    double* values = nullptr;
    ~ConicData() { HM_free(values); }
};

int conic_data(tag_t curve, ConicData* out) {
    HM_CURVE_struct_p_t shape = nullptr;
    if (HM_CURVE_ask_curve_struct(curve, &shape) != 0) return 2;
    int type = 0;
    const int status = HM_CURVE_ask_curve_struct_data(shape, &type, &out->values);
    HM_CURVE_free_curve_struct(shape);
    return status == 0 && out->values ? 0 : 2;
}

double squared_distance(const double* a, const double* b) {
    double s = 0.0;
    for (int k = 0; k < 3; ++k) s += (a[k] - b[k]) * (a[k] - b[k]);
    return s;
}

void set_middle_and_pivot(double eyes[3][3], double pivot[3], const EyeConstants& c) {
    for (int k = 0; k < 3; ++k) pivot[k] = eyes[1][k];
    pivot[0] += c.pivot_offset;
}

}  // namespace

int mc_find_eye_points_2003(const mc_data_2003_s* data, double eyes[3][3], double pivot[3], double rear_eye[3]) {
    if (!data || !eyes || !pivot || !rear_eye) return 1;
    int units = 1;
    (void)HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units);
    const EyeConstants& c = units == 1 ? kMillimetres : kInches;
    const double* R = data->eye_reference;
    if (data->user_eye_flag == 1) {
        const double middle[3] = {R[0], R[1], R[2] + c.height};
        for (int i = 0; i < 3; ++i) std::memcpy(eyes[i], middle, sizeof middle);
        eyes[0][1] -= 0.5 * c.spacing;
        eyes[2][1] += 0.5 * c.spacing;
        set_middle_and_pivot(eyes, pivot, c);
        std::memcpy(rear_eye, middle, sizeof middle);
        return 0;
    }
    // The ellipse on the mirror's side; none when the mirror is straight
    // ahead of the eye reference.
    const bool left_side = data->pivot[1] > R[1];
    if (data->pivot[1] == R[1]) return 1;
    const tag_t curve = left_side ? data->first_ellipse : data->second_ellipse;
    std::vector<double> samples(3 * (kEllipseIntervals + 1));
    std::vector<double*> rows;
    for (int i = 0; i <= kEllipseIntervals; ++i) rows.push_back(&samples[3 * i]);
    int count = 0;
    if (curve == NULL_TAG || HM_VD_curve_disperse_param_points(curve, kEllipseIntervals, &count, rows.data()) != 0)
        return 1;
    int farthest = 0, nearest = 0;
    double far_d = 0.0, near_d = 1e20;
    for (int i = 0; i < count; ++i) {
        const double d = squared_distance(rows[i], data->pivot);
        if (d > far_d) far_d = d, farthest = i;
        if (d < near_d) near_d = d, nearest = i;
    }
    ConicData first, second;
    if (conic_data(data->first_ellipse, &first) != 0 || conic_data(data->second_ellipse, &second) != 0) return 2;
    const double separation = std::fabs(second.values[1] - first.values[1]);
    double s[3];
    for (int k = 0; k < 3; ++k)
        s[k] = data->eye_type == 0   ? rows[farthest][k]
               : data->eye_type == 2 ? rows[nearest][k]
                                     : 0.5 * (rows[farthest][k] + rows[nearest][k]);
    const int at = left_side ? 0 : 2, other = left_side ? 2 : 0;
    std::memcpy(eyes[at], s, sizeof s);
    std::memcpy(eyes[other], s, sizeof s);
    eyes[other][1] += left_side ? separation : -separation;
    eyes[1][0] = s[0];
    eyes[1][1] = 0.5 * (eyes[0][1] + eyes[2][1]);
    eyes[1][2] = s[2];
    set_middle_and_pivot(eyes, pivot, c);

    // The rear eye point: the chosen ellipse's point nearest a plane normal
    // to x beyond its rear end.
    const ConicData& chosen = left_side ? first : second;
    const double r = chosen.values[5];
    double n[3] = {chosen.values[11], chosen.values[12], chosen.values[13]};
    if (n[0] < 0.0)
        for (double& v : n) v = -v;
    const double p1[3] = {chosen.values[0] + r * n[0], chosen.values[1] + r * n[1], chosen.values[2] + r * n[2]};
    const double through[3] = {p1[0] + r, p1[1], p1[2]}, normal[3] = {1, 0, 0};
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(through, normal, &plane) != 0 || plane == NULL_TAG) return 3;
    double distance = 0.0, on_curve[3], on_plane[3];
    const int status = HM_MODL_ask_minimum_dist(curve, plane, 1, p1, 1, through, &distance, on_curve, on_plane);
    (void)HM_OBJ_set_layer(plane, 256);
    (void)HM_VD_delete_object(plane);
    if (status != 0) return 2;
    std::memcpy(rear_eye, on_curve, sizeof on_curve);
    return 0;
}

}  // namespace carvell::r2003
