// Where the stones of one radial section land on a face, as this release
// finds them: the line through the section's launch points projected onto
// the face along the throw, sampled at the 50 stones and spaced laterally.
// The projection is made of points: each point of the launch line is thrown
// along the throw onto the face, the ends of the part of the line whose
// throws land are found by bisection, and that part is sampled evenly. The
// range of stones the run computes does not change it.
#include "si_internal.h"

#include "morvish.h"
#include "tessik.h"

#include <algorithm>
#include <cmath>

namespace carvell::stone {
namespace {

// The bisection of a landing end stops when the launch points on both sides
// lie this close (model units).
constexpr double kLandingEndTolerance = 1.0e-6;

struct LaunchLine {
    double start[3], step[3];   // the point at s is start + s * step, s in [0, 1]
    double length;
};

// The landing of the point of the launch line at s, when it lands.
bool lands(const LaunchLine& line, double s, const double d[3], tag_t face, Point& q) {
    const double p[3] = {line.start[0] + s * line.step[0], line.start[1] + s * line.step[1],
                         line.start[2] + s * line.step[2]};
    bool hit = false;
    double best = 0.0;
    project_onto_face(p, d, face, q.data(), &hit, &best);
    return hit;
}

// The end of the landing part of the launch line between s_in (landing)
// and s_out (missing): its parameter, its landing in q.
double landing_end(const LaunchLine& line, double s_in, double s_out, const double d[3], tag_t face, Point& q) {
    while (std::fabs(s_out - s_in) * line.length > kLandingEndTolerance) {
        const double mid = 0.5 * (s_in + s_out);
        Point r{};
        if (lands(line, mid, d, face, r)) {
            s_in = mid;
            q = r;
        } else {
            s_out = mid;
        }
    }
    return s_in;
}

}  // namespace

int land_section(const si_data_s* rec, int, int, double points[][3], const double d[3], tag_t face,
                 std::vector<std::array<double, 3>>& kept) {
    LaunchLine line{};
    for (int k = 0; k < 3; ++k) {
        line.start[k] = points[0][k];
        line.step[k] = points[kStones - 1][k] - points[0][k];
    }
    line.length = std::sqrt(line.step[0] * line.step[0] + line.step[1] * line.step[1] + line.step[2] * line.step[2]);
    // The launch line's points at the stones, thrown: the part that lands
    // must be one run of them (a face the line's landing leaves and meets
    // again gives no stones).
    Points samples(kStones);
    bool landed[kStones];
    int first = -1, last = -1;
    for (int i = 0; i < kStones; ++i) {
        landed[i] = lands(line, static_cast<double>(i) / (kStones - 1), d, face, samples[i]);
        if (!landed[i]) continue;
        if (first < 0) first = i;
        else if (!landed[i - 1]) return 0;
        last = i;
    }
    if (first < 0) return 0;
    if (first > 0 || last < kStones - 1) {
        // The landing part's ends, between the throws that land and those
        // that miss; the part sampled again at 50 even points.
        Point q0 = samples[first], q1 = samples[last];
        double s0 = static_cast<double>(first) / (kStones - 1), s1 = static_cast<double>(last) / (kStones - 1);
        if (first > 0) s0 = landing_end(line, s0, static_cast<double>(first - 1) / (kStones - 1), d, face, q0);
        if (last < kStones - 1) s1 = landing_end(line, s1, static_cast<double>(last + 1) / (kStones - 1), d, face, q1);
        samples.front() = q0;
        samples.back() = q1;
        for (int i = 1; i + 1 < kStones; ++i)
            if (!lands(line, s0 + (s1 - s0) * i / (kStones - 1), d, face, samples[i])) return 0;
    }
    // In order across the tread: towards -y on the right side, +y on the left.
    const bool left = rec->options[SI_OPT_LEFT_SIDE] != 0;
    const bool reverse = left ? samples.back()[1] < samples.front()[1] : samples.front()[1] < samples.back()[1];
    if (reverse) std::reverse(samples.begin(), samples.end());
    const int units = PART_ask_units(CONTEXT_ask_work_part());
    kept.push_back(samples[0]);
    for (int i = 1; i < kStones; ++i) {
        const double dy = vd_convert_unit(std::fabs(samples[i][1] - kept.back()[1]), units < 0 ? 0 : units, VD_UNIT_MM);
        if (dy > kStoneSpacingMm) kept.push_back(samples[i]);
        else if (i == kStones - 1 && kept.size() == 1) kept.push_back(samples[i]);
    }
    return 0;
}

}  // namespace carvell::stone
