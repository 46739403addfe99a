// Where the stones of one radial section land on a face, as this release
// finds them: the line through the section's launch points projected onto
// the face along the throw, sampled at the 50 stones and spaced laterally.
// The range of stones the run computes does not change it.
#include "si_internal.h"

#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "morvish.h"
#include "omvra.h"
#include "tessik.h"

#include <cmath>

namespace carvell::stone {

int land_section(const si_data_s* rec, int, int, double points[][3], const double d[3], tag_t face,
                 std::vector<std::array<double, 3>>& kept) {
    HM_CURVE_line_t line{};
    for (int k = 0; k < 3; ++k) {
        line.start_point[k] = points[0][k];
        line.end_point[k] = points[kStones - 1][k];
    }
    tag_t launch = 0;
    if (HM_CURVE_create_line(&line, &launch) != 0) return 0;
    int n = 0;
    tag_t* projected = nullptr;
    const int status = project_curves(1, &launch, face, 0, d, &n, &projected);
    detail::delete_if_alive(launch);
    detail::SmBlock<tag_t> owned(projected);
    if (status != 0 || n != 1) {
        for (int i = 0; i < n; ++i) detail::delete_if_alive(projected[i]);
        return 0;
    }
    const tag_t curve = projected[0];
    double a[3], b[3];
    HM_VD_CURVE_ask_point_on_curve(curve, 0.0, a);
    HM_VD_CURVE_ask_point_on_curve(curve, 1.0, b);
    const bool left = rec->options[SI_OPT_LEFT_SIDE] != 0;
    const bool reverse = left ? b[1] < a[1] : a[1] < b[1];
    const int units = PART_ask_units(CONTEXT_ask_work_part());
    std::vector<std::array<double, 3>> samples;
    for (int i = 0; i < kStones; ++i) {
        const double t = static_cast<double>(i) / (kStones - 1);
        std::array<double, 3> p{};
        HM_VD_CURVE_ask_point_on_curve(curve, reverse ? 1.0 - t : t, p.data());
        samples.push_back(p);
    }
    detail::delete_if_alive(curve);
    kept.push_back(samples[0]);
    for (int i = 1; i < kStones; ++i) {
        const double dy = vd_convert_unit(std::fabs(samples[i][1] - kept.back()[1]), units < 0 ? 0 : units, VD_UNIT_MM);
        if (dy > kStoneSpacingMm) kept.push_back(samples[i]);
        else if (i == kStones - 1 && kept.size() == 1) kept.push_back(samples[i]);
    }
    return 0;
}

}  // namespace carvell::stone
