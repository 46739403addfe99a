// Curve structures: a conic's centre, parameter range, semi-axes and axis
// directions in absolute coordinates, as evaluated from its conic record and
// the matrix of its plane.
#include "core/model.h"
#include "omvra.h"
#include "omvra/curves.h"
#include "omvra/math.h"
#include "quillon.h"

#include <Geom_Conic.hxx>
#include <Standard_Failure.hxx>

#include <cmath>
#include <cstring>

struct HM_CURVE_struct_s {
    int type;
    double data[HM_CURVE_STRUCT_DATA_SIZE];
};

namespace {

// The conic's plane frame (rows: major axis, minor axis, normal) with its
// centre in that frame and no rotation within the plane.
bool position_of(tag_t curve, HM_CURVE_conic_t* conic, double m[9]) {
    const host::Object* o = host::find(curve);
    if (!o) return false;
    Handle(Geom_Conic) geometry = Handle(Geom_Conic)::DownCast(o->curve);
    if (geometry.IsNull()) return false;
    try {
        const gp_Ax2 frame = geometry->Position();
        // The geometry's x axis is the major one; the record's first semi-axis may be the minor.
        const bool first_is_minor = conic->k1 < conic->k2;
        const gp_Dir axes[3] = {first_is_minor ? frame.YDirection() : frame.XDirection(),
                                first_is_minor ? frame.XDirection().Reversed() : frame.YDirection(),
                                frame.Direction()};
        for (int r = 0; r < 3; ++r) {
            m[3 * r] = axes[r].X();
            m[3 * r + 1] = axes[r].Y();
            m[3 * r + 2] = axes[r].Z();
        }
        const gp_XYZ c = frame.Location().XYZ();
        for (int r = 0; r < 3; ++r) conic->center[r] = c.X() * m[3 * r] + c.Y() * m[3 * r + 1] + c.Z() * m[3 * r + 2];
        conic->rotation_angle = 0.0;
        return true;
    } catch (const Standard_Failure&) {
        return false;
    }
}

}  // namespace

int HM_CURVE_ask_curve_struct(tag_t curve, HM_CURVE_struct_p_t* curve_struct) {
    if (!curve_struct) return HM_ERR_NULL_POINTER;
    HM_CURVE_conic_t conic{};
    if (const int status = HM_CURVE_ask_conic_data(curve, &conic); status != 0) return status;
    double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (conic.matrix_tag != 0 && HM_CSYS_ask_matrix_values(conic.matrix_tag, m) != 0) {
        // The plane's matrix object is gone (its maker deleted it): the conic
        // keeps its own position, read from its geometry.
        if (!position_of(curve, &conic, m)) return HM_ERR_INVALID_TAG;
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
