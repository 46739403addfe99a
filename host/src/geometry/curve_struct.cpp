// Curve structures: a conic's centre, parameter range, semi-axes and axis
// directions in absolute coordinates, as evaluated from its conic record and
// the matrix of its plane.
#include "omvra.h"
#include "omvra/curves.h"
#include "omvra/math.h"
#include "quillon.h"

#include <cmath>
#include <cstring>

struct HM_CURVE_struct_s {
    int type;
    double data[HM_CURVE_STRUCT_DATA_SIZE];
};

int HM_CURVE_ask_curve_struct(tag_t curve, HM_CURVE_struct_p_t* curve_struct) {
    if (!curve_struct) return HM_ERR_NULL_POINTER;
    HM_CURVE_conic_t conic{};
    if (const int status = HM_CURVE_ask_conic_data(curve, &conic); status != 0) return status;
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (conic.matrix_tag != 0) {
        if (const int status = HM_CSYS_ask_matrix_values(conic.matrix_tag, m); status != 0) return status;
    }
    const double c = std::cos(conic.rotation_angle), s = std::sin(conic.rotation_angle);
    auto* out = static_cast<HM_CURVE_struct_s*>(SM_calloc(1, sizeof(HM_CURVE_struct_s)));
    if (!out) return HM_ERR_BAD_ARGUMENT;
    out->type = HM_CURVE_STRUCT_CONIC;
    double* d = out->data;
    for (int k = 0; k < 3; ++k) {
        // The centre is given in the plane matrix's coordinates.
        d[k] = conic.center[0] * m[k] + conic.center[1] * m[3 + k] + conic.center[2] * m[6 + k];
        d[7 + k] = m[6 + k];
        d[11 + k] = c * m[k] + s * m[3 + k];
        d[14 + k] = -s * m[k] + c * m[3 + k];
    }
    d[3] = conic.start_param;
    d[4] = conic.end_param;
    d[5] = conic.k1;
    d[6] = conic.k2;
    *curve_struct = out;
    return 0;
}

int HM_CURVE_ask_curve_struct_data(HM_CURVE_struct_p_t curve_struct, int* type, double** data) {
    if (!curve_struct || !type || !data) return HM_ERR_NULL_POINTER;
    *data = static_cast<double*>(SM_alloc(sizeof curve_struct->data));
    if (!*data) return HM_ERR_BAD_ARGUMENT;
    std::memcpy(*data, curve_struct->data, sizeof curve_struct->data);
    *type = curve_struct->type;
    return 0;
}

void HM_CURVE_free_curve_struct(HM_CURVE_struct_p_t curve_struct) { SM_free(curve_struct); }
