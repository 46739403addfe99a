// Thinning of a point row with corner breaks before a spline is put through
// it: points closer together along the row than the distance tolerance are
// dropped, and every piece keeps its end point, so the corners stay.
// Internal to the toolbox.
#ifndef CARVELL_TOOLBOX_TOOLBOX_POINT_THINNING_H
#define CARVELL_TOOLBOX_TOOLBOX_POINT_THINNING_H

#include <cmath>
#include <vector>

namespace carvell::toolbox {

struct ThinnedRow {
    std::vector<double> points;   // packed, three doubles per point
    std::vector<int> breaks;      // same count as the input breaks
};

// True when the breaks are usable: at least two, the first 0, the last
// n - 1, strictly ascending.
inline bool breaks_are_valid(int n, int break_count, const int* breaks) {
    if (n < 2 || break_count < 2 || breaks == nullptr) return false;
    if (breaks[0] != 0 || breaks[break_count - 1] != n - 1) return false;
    for (int i = 1; i < break_count; ++i)
        if (breaks[i] <= breaks[i - 1]) return false;
    return true;
}

// Thins the packed row of n points with its breaks at the tolerance. Answers
// false, with `out` empty, when the breaks are not usable.
inline bool thin_point_row(int n, const double* row, int break_count, const int* breaks, double tolerance,
                           ThinnedRow* out) {
    out->points.clear();
    out->breaks.clear();
    if (row == nullptr || !breaks_are_valid(n, break_count, breaks)) return false;

    const double limit = tolerance + 1e-10;
    auto step = [row](int i) {   // distance from point i - 1 to point i
        const double* p = row + 3 * (i - 1);
        const double* q = row + 3 * i;
        return std::sqrt((q[0] - p[0]) * (q[0] - p[0]) + (q[1] - p[1]) * (q[1] - p[1]) +
                         (q[2] - p[2]) * (q[2] - p[2]));
    };
    auto append = [row, out](int i) { out->points.insert(out->points.end(), row + 3 * i, row + 3 * i + 3); };
    auto replace_last = [row, out](int i) {
        for (int c = 0; c < 3; ++c) out->points[out->points.size() - 3 + c] = row[3 * i + c];
    };
    auto output_count = [out]() { return static_cast<int>(out->points.size() / 3); };

    append(0);
    out->breaks.push_back(breaks[0]);
    for (int s = 1; s < break_count; ++s) {
        const int first = breaks[s - 1];
        const int last = breaks[s];
        double length = 0.0;
        for (int i = first + 1; i <= last; ++i) length += step(i);

        if (length < limit) {
            append(last);
        } else {
            const int count_at_start = output_count();
            double from_anchor = 0.0;
            bool end_appended = false;
            for (int i = first + 1; i <= last; ++i) {
                from_anchor += step(i);
                if (from_anchor > limit) {
                    append(i);
                    from_anchor = 0.0;
                    end_appended = (i == last);
                }
            }
            // The piece always ends on its end point (its corner): a last
            // kept point too close to it gives way to it.
            if (!end_appended) {
                if (output_count() > count_at_start && from_anchor <= tolerance)
                    replace_last(last);
                else
                    append(last);
            }
        }
        out->breaks.push_back(output_count() - 1);
    }
    return true;
}

}  // namespace carvell::toolbox

#endif
