// Matrix and coordinate-system objects, the work coordinate system, and the
// automotive helpers' mapping of points and vectors between absolute
// coordinates and a coordinate system.
#include "belmorra.h"
#include "core/model.h"
#include "geometry/vecmath.h"
#include "omvra.h"

#include <cmath>

using host::vm::Mat3;
using host::vm::Vec;
namespace vm = host::vm;

namespace {

int create_csys(const double origin[3], tag_t matrix, tag_t* csys) {
    if (!origin || !csys) return HM_ERR_NULL_POINTER;
    if (!vm::finite(origin, 3)) return HM_ERR_BAD_ARGUMENT;
    host::Object* m = host::find(matrix);
    if (!m) return HM_ERR_INVALID_TAG;
    const auto* values = m->type == HM_matrix_type ? std::any_cast<host::MatrixData>(&m->data) : nullptr;
    if (!values) return HM_ERR_WRONG_TYPE;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    host::CsysData d;
    d.origin = vm::load(origin);
    d.matrix = values->matrix;
    d.matrix_object = matrix;
    host::Object& o = host::create(HM_coordinate_system_type, 0);
    o.data = d;
    *csys = o.tag;
    return 0;
}

}  // namespace

namespace host {

CsysData* csys_data(tag_t csys, int* result) {
    Object* o = find(csys);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    CsysData* d = o->type == HM_coordinate_system_type ? std::any_cast<CsysData>(&o->data) : nullptr;
    *result = d ? 0 : HM_ERR_WRONG_TYPE;
    return d;
}

int frame_of(tag_t csys, CsysData& frame) {
    frame = CsysData{};
    if (csys == 0) return 0;
    int result = 0;
    if (const CsysData* d = csys_data(csys, &result)) frame = *d;
    return result;
}

}  // namespace host

int HM_CSYS_create_matrix(const double values[9], tag_t* matrix) {
    if (!values || !matrix) return HM_ERR_NULL_POINTER;
    if (!vm::orthonormal(values, vm::kOrthonormalTolerance)) return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    host::MatrixData d;
    d.matrix = vm::load_mat(values);
    host::Object& o = host::create(HM_matrix_type, 0);
    o.data = d;
    *matrix = o.tag;
    return 0;
}

int HM_CSYS_ask_matrix_values(tag_t matrix, double values[9]) {
    if (!values) return HM_ERR_NULL_POINTER;
    host::Object* o = host::find(matrix);
    if (!o) return HM_ERR_INVALID_TAG;
    const auto* d = o->type == HM_matrix_type ? std::any_cast<host::MatrixData>(&o->data) : nullptr;
    if (!d) return HM_ERR_WRONG_TYPE;
    for (int i = 0; i < 9; ++i) values[i] = d->matrix[i];
    return 0;
}

int HM_CSYS_create_csys(const double origin[3], tag_t matrix, tag_t* csys) {
    return create_csys(origin, matrix, csys);
}

int HM_CSYS_create_temp_csys(const double origin[3], tag_t matrix, tag_t* csys) {
    return create_csys(origin, matrix, csys);
}

int HM_CSYS_ask_csys_info(tag_t csys, tag_t* matrix, double origin[3]) {
    if (!matrix || !origin) return HM_ERR_NULL_POINTER;
    int r;
    host::CsysData* d = host::csys_data(csys, &r);
    if (!d) return r;
    *matrix = d->matrix_object;
    vm::store(d->origin, origin);
    return 0;
}

int HM_CSYS_ask_wcs(tag_t* csys) {
    if (!csys) return HM_ERR_NULL_POINTER;
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    *csys = host::find(p->wcs, HM_coordinate_system_type) ? p->wcs : 0;
    return 0;
}

int HM_CSYS_set_wcs(tag_t csys) {
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    if (csys != 0) {
        int r;
        if (!host::csys_data(csys, &r)) return r;
    }
    p->wcs = csys;
    return 0;
}

int HM_CSYS_map_point(int from, const double point[3], int to, double out[3]) {
    if (!point || !out) return HM_ERR_NULL_POINTER;
    auto valid = [](int code) { return code == HM_CSYS_ABSOLUTE || code == HM_CSYS_WORK_PART || code == HM_CSYS_WORK; };
    if (!valid(from) || !valid(to)) return HM_ERR_BAD_ARGUMENT;
    Vec p = vm::load(point);
    if (from == HM_CSYS_WORK || to == HM_CSYS_WORK) {
        tag_t wcs = 0;
        if (int r = HM_CSYS_ask_wcs(&wcs)) return r;
        if (wcs != 0 && from != to) {
            int r;
            const host::CsysData* d = host::csys_data(wcs, &r);
            if (!d) return r;
            if (from == HM_CSYS_WORK)
                p = vm::add(d->origin, vm::mul_t(d->matrix, p));
            else
                p = vm::mul(d->matrix, vm::sub(p, d->origin));
        }
    }
    vm::store(p, out);
    return 0;
}

/* ---- belmorra: mapping between absolute and a coordinate system ---- */

int VD_map_point_abs2csys(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    if (!point || !origin || !matrix || !out) return HM_ERR_NULL_POINTER;
    if (!vm::orthonormal(matrix, vm::kOrthonormalTolerance)) return HM_ERR_BAD_ARGUMENT;
    vm::store(vm::mul(vm::load_mat(matrix), vm::sub(vm::load(point), vm::load(origin))), out);
    return 0;
}

int VD_map_point_csys2abs(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    if (!point || !origin || !matrix || !out) return HM_ERR_NULL_POINTER;
    if (!vm::orthonormal(matrix, vm::kOrthonormalTolerance)) return HM_ERR_BAD_ARGUMENT;
    vm::store(vm::add(vm::load(origin), vm::mul_t(vm::load_mat(matrix), vm::load(point))), out);
    return 0;
}

int VD_map_vector_abs2csys(const double vector[3], const double matrix[9], double out[3]) {
    if (!vector || !matrix || !out) return HM_ERR_NULL_POINTER;
    if (!vm::orthonormal(matrix, vm::kOrthonormalTolerance)) return HM_ERR_BAD_ARGUMENT;
    vm::store(vm::mul(vm::load_mat(matrix), vm::load(vector)), out);
    return 0;
}

int VD_map_vector_csys2abs(const double vector[3], const double matrix[9], double out[3]) {
    if (!vector || !matrix || !out) return HM_ERR_NULL_POINTER;
    if (!vm::orthonormal(matrix, vm::kOrthonormalTolerance)) return HM_ERR_BAD_ARGUMENT;
    vm::store(vm::mul_t(vm::load_mat(matrix), vm::load(vector)), out);
    return 0;
}

bool VD_csys_is_identity(const double origin[3], const double matrix[9]) {
    if (!origin || !matrix) return false;
    constexpr double kTolerance = 1e-10;
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(origin[i]) <= kTolerance)) return false;
    for (int i = 0; i < 9; ++i)
        if (!(std::fabs(matrix[i] - (i % 4 == 0 ? 1.0 : 0.0)) <= kTolerance)) return false;
    return true;
}
