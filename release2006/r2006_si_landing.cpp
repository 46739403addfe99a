// Where the stones of one radial section land on a face, as the older
// releases find them: the stones of the tread range the run computed, thrown
// one by one along the section's direction, and between a stone that lands
// and the next that misses one more stone at the face's edge, found by
// bisection.
#include "r2006_stone.h"

#include "stone/si_internal.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <algorithm>
#include <array>

namespace carvell::r2006 {

namespace {
constexpr int kHalvings = 10;
}  // namespace

bool si_throw_point(const double start[3], const double direction[3], tag_t face, double out[3]) {
    detail::Temporaries temporary;
    tag_t point = 0;
    if (HM_CURVE_create_point(start, &point) != 0) return false;
    temporary.add(point);
    return HM_VD_SI_project_point_along_vector(start, direction, face, out) == 0;
}

int si_bisect_face_edge(const double hit_start[3], const double miss_start[3], const double direction[3], tag_t face,
                        double out[3]) {
    double hit[3] = {hit_start[0], hit_start[1], hit_start[2]};
    double miss[3] = {miss_start[0], miss_start[1], miss_start[2]};
    bool landed = false;
    for (int i = 0; i < kHalvings; ++i) {
        const double mid[3] = {(hit[0] + miss[0]) / 2, (hit[1] + miss[1]) / 2, (hit[2] + miss[2]) / 2};
        double q[3];
        double* end = si_throw_point(mid, direction, face, q) ? hit : miss;
        if (end == hit) {
            landed = true;
            std::copy(q, q + 3, out);
        }
        std::copy(mid, mid + 3, end);
    }
    return landed ? 0 : -1;
}

}  // namespace carvell::r2006

namespace carvell::stone {

int land_section(const si_data_s*, int lo, int hi, double points[][3], const double d[3], tag_t face,
                 std::vector<std::array<double, 3>>& kept) {
    // The run's range may reach one past the last stone: cut to the stones there are.
    lo = std::clamp(lo, 0, kStones - 1);
    hi = std::clamp(hi, 0, kStones - 1);
    bool previous_landed = false;
    for (int i = lo; i <= hi; ++i) {
        std::array<double, 3> q{};
        const bool landed = r2006::si_throw_point(points[i], d, face, q.data());
        if (landed)
            kept.push_back(q);
        else if (previous_landed && r2006::si_bisect_face_edge(points[i - 1], points[i], d, face, q.data()) == 0)
            kept.push_back(q);
        previous_landed = landed;
    }
    return 0;
}

}  // namespace carvell::stone
