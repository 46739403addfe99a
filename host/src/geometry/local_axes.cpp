// Single coordinates of a point in a coordinate system, its axes, and the
// mathematics library's frame and angle helpers.
#include "belmorra.h"
#include "omvra.h"
#include "rostval.h"

namespace {

double local(const double point[3], const double origin[3], const double matrix[9], int row) {
    if (!point || !origin || !matrix) return 0.0;
    double out[3];
    VD_map_point_abs2csys(point, origin, matrix, out);
    return out[row];
}

}  // namespace

double VD_LOCAL_X(const double point[3], const double origin[3], const double matrix[9]) {
    return local(point, origin, matrix, 0);
}

double VD_LOCAL_Y(const double point[3], const double origin[3], const double matrix[9]) {
    return local(point, origin, matrix, 1);
}

double VD_LOCAL_Z(const double point[3], const double origin[3], const double matrix[9]) {
    return local(point, origin, matrix, 2);
}

void VD_MTX3_X(const double matrix[9], double x_axis[3]) {
    if (!matrix || !x_axis) return;
    for (int i = 0; i < 3; ++i) x_axis[i] = matrix[i];
}

int MTX3_init_z(const double z_vec[3], double mtx[9]) { return HM_MTX3_initialize_z(z_vec, mtx); }

int VEC3_angle_between(const double from[3], const double to[3], const double reference[3], double* angle) {
    return HM_VEC3_angle_between(from, to, reference, angle);
}
