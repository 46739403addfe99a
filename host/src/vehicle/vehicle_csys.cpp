// The vehicle coordinate system of the work part: the coordinate system
// named VD_VEHICLE_CSYS_NAME, else the session's vehicle frame (absolute
// until a test sets another with host_testing::set_vehicle_csys).
#include "core/model.h"
#include "host_testing.h"
#include "tessik.h"

#include <algorithm>

int VD_get_csys(double origin[3], double matrix[9]) {
    if (!origin || !matrix) return HM_ERR_NULL_POINTER;
    const tag_t part = host::model().work_part;
    if (!part) return HM_ERR_NO_PART;
    host::CsysData frame;
    std::copy(host::model().vehicle_origin.begin(), host::model().vehicle_origin.end(), frame.origin.begin());
    std::copy(host::model().vehicle_axes.begin(), host::model().vehicle_axes.end(), frame.matrix.begin());
    for (const auto& [tag, o] : host::model().objects)
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.type == HM_coordinate_system_type &&
            o.name == VD_VEHICLE_CSYS_NAME) {
            if (host::frame_of(tag, frame) != 0) return HM_ERR_WRONG_TYPE;
            break;
        }
    std::copy(frame.origin.begin(), frame.origin.end(), origin);
    std::copy(frame.matrix.begin(), frame.matrix.end(), matrix);
    return 0;
}

namespace host_testing {

void set_vehicle_csys(const std::array<double, 3>& origin, const std::array<double, 9>& axes) {
    host::model().vehicle_origin = origin;
    host::model().vehicle_axes = axes;
}

}  // namespace host_testing
