// The 2003 host's older Boolean call: the subtraction of one body from
// another in place, answering the number of pieces left.
#include "core/model.h"
#include "geometry/booleans.h"
#include "omvra.h"

namespace {
constexpr int kSubtract = 2;
}

int hm6520_(tag_t target, tag_t tool, int operation, int* body_count) {
    if (!body_count) return HM_ERR_NULL_POINTER;
    *body_count = 0;
    if (operation != kSubtract) return HM_ERR_BAD_ARGUMENT;
    if (!host::find(target) || !host::find(tool)) return HM_ERR_INVALID_TAG;
    if (target == tool) return HM_ERR_BAD_ARGUMENT;
    return host::subtract_in_place(target, tool, body_count);
}
