// The vehicle coordinate system of the session, as the vehicle-design
// application keeps it; the absolute frame until a user sets another.
#include "core/model.h"
#include "host_testing.h"
#include "tessik.h"

int VD_get_csys(double origin[3], double matrix[9]) {
    if (!origin || !matrix) return HM_ERR_NULL_POINTER;
    const host::Model& m = host::model();
    for (int i = 0; i < 3; ++i) origin[i] = m.vehicle_origin[i];
    for (int i = 0; i < 9; ++i) matrix[i] = m.vehicle_axes[i];
    return 0;
}

namespace host_testing {

void set_vehicle_csys(const std::array<double, 3>& origin, const std::array<double, 9>& axes) {
    host::model().vehicle_origin = origin;
    host::model().vehicle_axes = axes;
}

}  // namespace host_testing
