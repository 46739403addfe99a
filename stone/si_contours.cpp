// Contour lines of equal impact angle over the stones of one face: the
// crossings of each angle along the radial sections, joined section by
// section into chains of mutually nearest crossings, or, where no section
// holds a crossing, lines across two neighbouring sections. Each line is made
// on the face (named, the visible result) and as a plain working polyline
// kept in a contour record for the areas and bands.
#include "si_internal.h"

#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <vector>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {

// At most this many chains are open at once; no chain starts once this many exist.
constexpr int kMaxChains = 89;
// Distance of a crossing to a chain of the other sense: never matched.
constexpr double kFill = 99999.0;
constexpr double kSearchStart = 99998.0;

struct Crossing {
    int flag = 0;   // 1 when the angle falls from stone j to j+1
    Point point{};
};

struct Chain {
    int flag = 0;
    std::vector<Point> points;
    int first_section = 0;
    int last_section = 0;
};

Point lerp(const double a[3], const double b[3], double f) {
    return {a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])};
}

Point reach(double c, const double pa[3], double aa, const double pb[3], double ab) {
    return reach_angle(c, pa, aa, pb, ab);
}

bool encloses(double a, double b, double c) { return (a <= c && c <= b) || (b <= c && c <= a); }

double distance(const Point& a, const Point& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

std::vector<Crossing> crossings_of(int r, double c, const int counts[], double points[][kStones][3],
                                   double angles[][kStones]) {
    std::vector<Crossing> found;
    for (int j = 0; j + 1 < counts[r]; ++j) {
        const double a = angles[r][j], b = angles[r][j + 1];
        if (!encloses(a, b, c)) continue;
        found.push_back({a > b ? 1 : 0, reach(c, points[r][j], a, points[r][j + 1], b)});
    }
    return found;
}

// Whether the angle c is reached between stone j of the chain's section and
// stone k of the other section in the chain's own sense: a chain whose angle
// falls along its section (flag 1) has its first stones above c and its last
// stones below, so its region ends where the first stones fall below c, or
// the last stones rise above it, from its section to the other (flag 0: the
// other way round).
bool own_sense(double c, int flag, bool first_edge, double chain_angle, double other_angle) {
    const bool chain_above = (flag == 1) == first_edge;
    return chain_above ? (chain_angle >= c && c >= other_angle) : (chain_angle <= c && c <= other_angle);
}

// The end of a chain of the given sense, lying in section `chain_section`
// (r or r+1), carried into the gap between sections r and r+1, where the
// angle c is reached in that sense along the first or along the last stones:
// 0 with the candidate nearer to the point; 3 r out of range; 2 too few
// stones; 1 not reached.
int extend_end(double c, int flag, int r, int chain_section, const Point& from, const int counts[],
               double points[][kStones][3], double angles[][kStones], Point& out) {
    if (r < 0 || r > kSections - 2) return 3;
    if (counts[r] < 2 || counts[r + 1] < 2) return 2;
    const int other = chain_section == r ? r + 1 : r;
    std::vector<Point> candidates;
    const int last[2] = {counts[r] - 1, counts[r + 1] - 1};
    for (const bool first_edge : {true, false}) {
        const int j = first_edge ? 0 : last[0], k = first_edge ? 0 : last[1];
        const int jc = chain_section == r ? j : k, jo = chain_section == r ? k : j;
        if (own_sense(c, flag, first_edge, angles[chain_section][jc], angles[other][jo]))
            candidates.push_back(reach(c, points[r][j], angles[r][j], points[r + 1][k], angles[r + 1][k]));
    }
    if (candidates.empty()) return 1;
    out = candidates[0];
    if (candidates.size() > 1 && distance(candidates[1], from) < distance(candidates[0], from)) out = candidates[1];
    return 0;
}

std::vector<ContourLine> across_sections(double c, const int counts[], double points[][kStones][3],
                                         double angles[][kStones]) {
    std::vector<ContourLine> lines;
    for (int r = 0; r + 1 < kSections; ++r) {
        if (counts[r] < 1 || counts[r + 1] < 1) continue;
        const double a = angles[r][0], b = angles[r + 1][0];
        if (!((a < c && c < b) || (b < c && c < a))) continue;
        ContourLine line;
        const int n = counts[r] < counts[r + 1] ? counts[r] : counts[r + 1];
        for (int j = 0; j < n; ++j)
            line.points.push_back(reach(c, points[r][j], angles[r][j], points[r + 1][j], angles[r + 1][j]));
        line.first_section = r;
        line.last_section = r + 1;
        lines.push_back(line);
    }
    return lines;
}

ContourLine closed(const Chain& chain) {
    ContourLine line;
    line.points = chain.points;
    line.first_section = chain.first_section;
    line.last_section = chain.last_section;
    return line;
}

// Mutual nearest matching of a section's crossings to the open chains.
void match(const std::vector<Chain>& chains, const std::vector<Crossing>& found, std::vector<int>& chain_to) {
    const size_t nc = chains.size(), nx = found.size();
    std::vector<std::vector<double>> d(nc, std::vector<double>(nx, kFill));
    for (size_t i = 0; i < nc; ++i)
        for (size_t j = 0; j < nx; ++j)
            if (found[j].flag == chains[i].flag) d[i][j] = distance(found[j].point, chains[i].points.back());
    std::vector<int> nearest_cross(nc, -1), nearest_chain(nx, -1);
    for (size_t i = 0; i < nc; ++i) {
        double best = kSearchStart;
        for (size_t j = 0; j < nx; ++j)
            if (d[i][j] < best) best = d[i][j], nearest_cross[i] = static_cast<int>(j);
    }
    for (size_t j = 0; j < nx; ++j) {
        double best = kSearchStart;
        for (size_t i = 0; i < nc; ++i)
            if (d[i][j] < best) best = d[i][j], nearest_chain[j] = static_cast<int>(i);
    }
    chain_to.assign(nc, -1);
    for (size_t i = 0; i < nc; ++i)
        if (nearest_cross[i] >= 0 && nearest_chain[nearest_cross[i]] == static_cast<int>(i))
            chain_to[i] = nearest_cross[i];
}

std::vector<ContourLine> chain_walk(double c, int first, int last, const int counts[], double points[][kStones][3],
                                    double angles[][kStones], bool* several) {
    std::vector<ContourLine> lines;
    std::vector<Chain> open;
    int started = 0;
    for (int s = last; s >= first - 1; --s) {
        const std::vector<Crossing> found =
            s >= 0 ? crossings_of(s, c, counts, points, angles) : std::vector<Crossing>();
        std::vector<int> chain_to;
        match(open, found, chain_to);
        std::vector<bool> used(found.size(), false);
        std::vector<Chain> still;
        for (size_t i = 0; i < open.size(); ++i) {
            Chain& chain = open[i];
            if (chain_to[i] >= 0) {
                chain.points.push_back(found[chain_to[i]].point);
                chain.first_section = s;
                used[chain_to[i]] = true;
                still.push_back(chain);
                continue;
            }
            Point end;
            if (extend_end(c, chain.flag, s, s + 1, chain.points.back(), counts, points, angles, end) == 0) {
                chain.points.push_back(end);
                chain.first_section = s;
            }
            lines.push_back(closed(chain));
        }
        for (size_t j = 0; j < found.size(); ++j) {
            if (used[j] || started >= kMaxChains) continue;
            Chain chain;
            chain.flag = found[j].flag;
            Point start;
            if (extend_end(c, found[j].flag, s, s, found[j].point, counts, points, angles, start) == 0) {
                chain.points.push_back(start);
                chain.last_section = s + 1;
            } else {
                chain.last_section = s;
            }
            chain.points.push_back(found[j].point);
            chain.first_section = s;
            still.push_back(chain);
            ++started;
        }
        open.swap(still);
        if (open.size() >= 2) *several = true;
    }
    for (const Chain& chain : open) lines.push_back(closed(chain));
    return lines;
}

}  // namespace

namespace carvell::stone {

Point reach_angle(double c, const double pa[3], double aa, const double pb[3], double ab) {
    if (std::fabs(aa - ab) < kAngleResolution) return {pa[0], pa[1], pa[2]};
    return lerp(pa, pb, (c - aa) / (ab - aa));
}

std::vector<ContourLine> contour_lines(double c, const int counts[], double points[][kStones][3],
                                       double angles[][kStones], bool* several) {
    int first = -1, last = -1;
    for (int r = 0; r < kSections; ++r) {
        if (crossings_of(r, c, counts, points, angles).empty()) continue;
        if (first < 0) first = r;
        last = r;
    }
    if (first < 0) {
        std::vector<ContourLine> lines = across_sections(c, counts, points, angles);
        if (lines.size() > 1) *several = true;
        return lines;
    }
    std::vector<ContourLine> lines = chain_walk(c, first, last, counts, points, angles, several);
    if (lines.size() > 1) *several = true;
    return lines;
}

}  // namespace carvell::stone

namespace {

bool append_record(si_contour_record** records, int* record_count, const si_contour_record& record) {
    auto* grown = static_cast<si_contour_record*>(
        SM_realloc(*records, static_cast<size_t>(*record_count + 1) * sizeof(si_contour_record)));
    if (!grown) return false;
    grown[*record_count] = record;
    *records = grown;
    ++*record_count;
    return true;
}

// Whether the stones of a face are what a run leaves: at most 50 a section,
// every landing point and angle finite, and finite contour angles.
bool stones_sound(const int counts[], double points[][kStones][3], double angles[][kStones],
                  const double contour_angles[], int angle_count) {
    for (int r = 0; r < kSections; ++r) {
        if (counts[r] < 0 || counts[r] > kStones) return false;
        for (int j = 0; j < counts[r]; ++j)
            if (!detail::finite3(points[r][j]) || !std::isfinite(angles[r][j])) return false;
    }
    const int n = angle_count < SI_MAX_CONTOUR_ANGLES ? angle_count : SI_MAX_CONTOUR_ANGLES;
    return detail::all_finite(contour_angles, n);
}

}  // namespace

int HM_VD_SI_gen_contours(tag_t face, bool use_colour_table, int colour_count, const int* colours,
                          const int counts[], double points[][kStones][3], double angles[][kStones],
                          const double contour_angles[], int angle_count, int face_colour,
                          hm_list_p_t* contour_list, hm_list_p_t* label_list, bool* single_line,
                          si_contour_record** records, int* record_count) {
    if (!contour_list || !single_line || !records || !record_count) return -1;
    *contour_list = nullptr;
    *single_line = true;
    *records = nullptr;
    *record_count = 0;
    if (angle_count >= 1 && counts && points && angles && contour_angles &&
        !stones_sound(counts, points, angles, contour_angles, angle_count))
        return -1;
    HM_MODL_create_list(contour_list);
    if (angle_count < 1 || !counts || !points || !angles || !contour_angles) return 0;
    for (int k = 0; k < angle_count && k < SI_MAX_CONTOUR_ANGLES; ++k) {
        const double c = contour_angles[k];
        const int colour = use_colour_table && colours && colour_count > 0 ? colours[k % colour_count] : face_colour;
        bool several = false;
        const std::vector<ContourLine> lines = contour_lines(c, counts, points, angles, &several);
        if (several) *single_line = false;
        const int name = static_cast<int>(c);
        for (const ContourLine& line : lines) {
            const int n = static_cast<int>(line.points.size());
            const auto* pts = reinterpret_cast<const double(*)[3]>(line.points.data());
            tag_t curve = 0, label = 0;
            make_result_curve(face, n, pts, 0, colour, name, &curve, &label);
            if (curve) HM_MODL_put_list_item(*contour_list, curve);
            if (label && label_list && *label_list) HM_MODL_put_list_item(*label_list, label);
            tag_t working = 0, working_label = 0;
            make_result_curve(0, n, pts, 0, colour, name, &working, &working_label);
            detail::delete_if_alive(working_label);
            if (!working) continue;
            const si_contour_record record{working, c, line.first_section, line.last_section};
            if (!append_record(records, record_count, record)) detail::delete_if_alive(working);
        }
    }
    return 0;
}
