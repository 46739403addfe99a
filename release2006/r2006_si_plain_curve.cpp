// The older releases' result curve maker of stone impingement: a point
// object or a degree-1 spline through the points, coloured and named, with
// no projection onto the face and no label.
#include "r2006_stone.h"

#include "hm_vd_si.h"
#include "stone/si_internal.h"

#include "omvra.h"

#include <cstdio>
#include <vector>

namespace carvell::r2006 {

namespace {
constexpr int kNameBuffer = 133;
enum PlainStatus { kNoName = -704 };
}  // namespace

int si_make_plain_result_curve(tag_t curve, const double (*points)[3], int n, int colour, int name,
                               tag_t* out_curve) {
    *out_curve = 0;
    if (!curve) {
        if (n < 1 || !points) return stone::kResultNoPoints;
        if (n == 1) {
            if (HM_CURVE_create_point(points[0], &curve) != 0 || !curve) return stone::kResultNoPoint;
        } else {
            std::vector<double> flat(points[0], points[0] + 3 * n);
            VD_CURVE_create_linear(reinterpret_cast<double(*)[3]>(flat.data()), n, 0, &curve);
            if (!curve) return stone::kResultNoSpline;
        }
    }
    *out_curve = curve;
    if (HM_OBJ_set_color(curve, colour) != 0) return stone::kResultNoColour;
    if (name == stone::kNoName) return 0;
    char text[kNameBuffer];
    if (name == stone::kNameOuter)
        std::snprintf(text, sizeof text, "OUTER");
    else
        std::snprintf(text, sizeof text, "%d", name);
    return HM_OBJ_set_name(curve, text) == 0 ? 0 : kNoName;
}

}  // namespace carvell::r2006
