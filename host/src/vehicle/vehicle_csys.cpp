// The vehicle coordinate system of the work part: the coordinate system
// named VD_VEHICLE_CSYS_NAME, or the absolute frame when the part has none.
#include "core/model.h"
#include "tessik.h"

#include <algorithm>

int VD_get_csys(double origin[3], double matrix[9]) {
    if (!origin || !matrix) return HM_ERR_NULL_POINTER;
    const tag_t part = host::model().work_part;
    if (!part) return HM_ERR_NO_PART;
    host::CsysData frame;   // absolute: origin 0, identity
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
