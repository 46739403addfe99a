// Interference of bodies: whether a tool body shares any point with a
// target body, overlapping or only touching.
#include "core/kernel_guard.h"
#include "core/model.h"
#include "geometry/bodies.h"

#include "omvra.h"

#include <BRepExtrema_DistShapeShape.hxx>

int HM_MODL_check_interference(tag_t target, int tool_count, const tag_t* tools, int* results) {
    if (!tools || !results) return HM_ERR_NULL_POINTER;
    if (tool_count < 1) return HM_ERR_BAD_ARGUMENT;
    const host::Object* t = host::find_body(target);
    if (!t) return host::find(target) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    for (int i = 0; i < tool_count; ++i) {
        if (!host::find_body(tools[i])) return host::find(tools[i]) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    }
    return host::guarded(__func__, [&]() -> int {
        const double tolerance = host::distance_tolerance();
        for (int i = 0; i < tool_count; ++i) {
            // The distance is 0 when the boundaries meet or one body lies
            // inside the other's solid; within the tolerance counts as touching.
            BRepExtrema_DistShapeShape dist(t->shape, host::find_body(tools[i])->shape);
            if (!dist.IsDone()) return HM_ERR_GEOMETRY;
            results[i] = dist.Value() <= tolerance ? HM_INTERFERENCE_YES : HM_INTERFERENCE_NO;
        }
        return 0;
    });
}
