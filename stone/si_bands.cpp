// Bands of a face between neighbouring contour angles: contour lines of the
// two angles paired one to one (or each with its nearest neighbours across
// the face), and for each pair the face trimmed to the patch between them,
// coloured from the table, with alternating grid counts.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {

// Grid counts of the bands, alternating from one interval to the next.
constexpr int kGridFine = 12, kGridCoarse = 6;
// Best distances of the nearest-neighbour search start here.
constexpr double kFarAway = 1.0e7;
const double kProjectX[3] = {1.0, 0.0, 0.0};

std::vector<const si_contour_record*> select_by_angle(const si_contour_record* records, int n, double angle) {
    std::vector<const si_contour_record*> out;
    for (int i = 0; i < n; ++i)
        if (std::fabs(records[i].angle - angle) <= kSameAngle) out.push_back(&records[i]);
    return out;
}

bool overlap(const si_contour_record& a, const si_contour_record& b) {
    return a.first_section <= b.last_section && b.first_section <= a.last_section;
}

int count_overlaps(const si_contour_record& p, const std::vector<const si_contour_record*>& set,
                   const si_contour_record** only) {
    int n = 0;
    for (const si_contour_record* q : set)
        if (overlap(p, *q)) ++n, *only = q;
    return n;
}

struct IntervalStyle {
    int colour;
    int u, v;
};

IntervalStyle style_of(int k, const BandStyle& style) {
    const int colour = style.colour_count > 0 && style.colours ? style.colours[k % style.colour_count]
                                                               : style.face_colour;
    return k % 2 == 1 ? IntervalStyle{colour, kGridFine, kGridCoarse} : IntervalStyle{colour, kGridCoarse, kGridFine};
}

int add_band(tag_t a, tag_t b, tag_t face, const IntervalStyle& s, bool grids, hm_list_p_t bands) {
    tag_t sheet = 0;
    const int status = band_patch(a, b, face, s.colour, grids, s.u, s.v, &sheet);
    if (sheet) HM_MODL_put_list_item(bands, sheet);
    return status;
}

tag_t line_between(const double a[3], const double b[3]) {
    HM_CURVE_line_t line{};
    for (int k = 0; k < 3; ++k) line.start_point[k] = a[k], line.end_point[k] = b[k];
    tag_t t = 0;
    if (HM_CURVE_create_line(&line, &t) != 0) return 0;
    return t;
}

// Trims a copy of the face to the region around the point, bounded by the curves.
int trim_face(tag_t face, const tag_t* curves, int n, const double keep[3], tag_t* sheet) {
    *sheet = 0;
    if (int status = HM_MODL_extract_face(face, 0, sheet)) return status;
    std::vector<HM_MODL_trim_object_t> bounds;
    for (int i = 0; i < n; ++i) bounds.push_back({curves[i], 1});
    HM_MODL_proj_method_t method{};
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    int gap_count = 0;
    double* gaps = nullptr;
    const int status = HM_MODL_trim_sheet(*sheet, n, bounds.data(), &method, 1, 1, keep, tolerance, &gap_count, &gaps);
    SM_free(gaps);
    return status;
}

}  // namespace

namespace carvell::stone {

int band_patch(tag_t a, tag_t b, tag_t face, int colour, bool grid, int u, int v, tag_t* sheet) {
    *sheet = 0;
    double a0[3], b0[3], a1[3], b1[3], am[3], bm[3];
    if (HM_VD_CURVE_ask_point_on_curve(a, 0.0, a0) != 0 || HM_VD_CURVE_ask_point_on_curve(b, 0.0, b0) != 0 ||
        HM_VD_CURVE_ask_point_on_curve(a, 1.0, a1) != 0 || HM_VD_CURVE_ask_point_on_curve(b, 1.0, b1) != 0 ||
        HM_VD_CURVE_ask_point_on_curve(a, 0.5, am) != 0 || HM_VD_CURVE_ask_point_on_curve(b, 0.5, bm) != 0)
        return 0;
    detail::Temporaries made;
    const tag_t start = made.add(line_between(a0, b0)), end = made.add(line_between(a1, b1));
    if (!start || !end) return 0;   // no closing lines: no band
    const double inner[3] = {(am[0] + bm[0]) / 2, (am[1] + bm[1]) / 2, (am[2] + bm[2]) / 2};
    double parm[2], foot[3];
    if (int status = HM_MODL_ask_face_parm(face, inner, parm, foot)) return status;
    const tag_t bounds[4] = {a, b, start, end};
    int n = 0;
    tag_t* projected = nullptr;
    if (int status = project_curves(4, bounds, face, 1, kProjectX, &n, &projected)) return status;
    detail::SmBlock<tag_t> owned(projected);
    for (int i = 0; i < n; ++i) made.add(projected[i]);
    tag_t trimmed = 0;
    int status = 0;
    try {
        status = trim_face(face, projected, n, foot, &trimmed);
    } catch (...) {
        status = detail::caught_code(__FILE__, __LINE__);
    }
    made.add(trimmed);
    if (status == 0) {
        HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &trimmed, sheet);
        if (*sheet) HM_OBJ_set_color(*sheet, colour);
        if (*sheet && grid) HM_VD_SI_set_grid(*sheet, u, v);
    }
    return status;
}

int pair_bands_simple(tag_t face, const double angles[], int angle_count, const BandStyle& style,
                      const si_contour_record* records, int record_count, hm_list_p_t bands) {
    int status = 0;
    for (int k = 0; k + 1 < angle_count; ++k) {
        const IntervalStyle s = style_of(k, style);
        const auto low = select_by_angle(records, record_count, angles[k]);
        const auto high = select_by_angle(records, record_count, angles[k + 1]);
        if (low.size() == 1 && high.size() == 1) {
            status = add_band(low[0]->curve, high[0]->curve, face, s, style.grids, bands);
            continue;
        }
        for (const si_contour_record* p : low) {
            const si_contour_record* q = nullptr;
            const si_contour_record* back = nullptr;
            if (count_overlaps(*p, high, &q) != 1 || count_overlaps(*q, low, &back) != 1 || back != p) continue;
            status = add_band(p->curve, q->curve, face, s, style.grids, bands);
        }
    }
    return status;
}

namespace {

struct Candidate {
    const si_contour_record* record;
    int set;     // 0 at a[k-1], 1 at a[k], 2 at a[k+1]
    int index;   // within its set
    double mid_x;
};

// The nearest candidates above (larger x) and below p among those of another
// curve whose section range overlaps p's; ties keep the earlier.
void nearest_contours(const Candidate& p, const std::vector<Candidate>& all, const Candidate** above,
                      const Candidate** below) {
    double best_above = kFarAway, best_below = kFarAway;
    *above = *below = nullptr;
    for (const Candidate& c : all) {
        if (c.record->curve == p.record->curve || !overlap(*c.record, *p.record)) continue;
        const double up = c.mid_x - p.mid_x, down = p.mid_x - c.mid_x;
        if (up > kSameAngle && up < best_above - kSameAngle) best_above = up, *above = &c;
        if (down > kSameAngle && down < best_below - kSameAngle) best_below = down, *below = &c;
    }
}

}  // namespace

int pair_bands_general(tag_t face, const double angles[], int angle_count, const BandStyle& style,
                       const si_contour_record* records, int record_count, hm_list_p_t bands, bool* attempted) {
    int status = 0;
    for (int k = 0; k + 1 < angle_count; ++k) {
        const IntervalStyle s = style_of(k, style);
        std::vector<Candidate> all;
        for (int set = k == 0 ? 1 : 0; set < 3; ++set) {
            const auto chosen = select_by_angle(records, record_count, angles[k + set - 1]);
            for (size_t i = 0; i < chosen.size(); ++i)
                all.push_back({chosen[i], set, static_cast<int>(i), curve_mid_x(chosen[i]->curve)});
        }
        for (const Candidate& p : all) {
            if (p.set != 1) continue;
            const Candidate *above = nullptr, *below = nullptr;
            nearest_contours(p, all, &above, &below);
            for (const Candidate* q : {above, below}) {
                if (!q || q->set == 0 || (q->set == 1 && q->index <= p.index)) continue;
                *attempted = true;
                status = add_band(p.record->curve, q->record->curve, face, s, style.grids, bands);
            }
        }
    }
    return status;
}

}  // namespace carvell::stone
