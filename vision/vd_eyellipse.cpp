// The eyellipse record read from the eyellipse's rule-language instance:
// centroids, the axis lengths of the chosen percentile and the axis
// directions, in that order.
#include "hm_vd_vision/eyellipse.h"

#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"

#include <cstring>

namespace {

constexpr int kEntries = 3;   // one entry per eye type, or per axis

// A list of points or vectors as the host hands it out, freed on leaving.
struct TripleList {
    int count = 0;
    double** items = nullptr;
    ~TripleList() {
        for (int i = 0; i < count; ++i) SM_free(items[i]);
        SM_free(items);
    }
};

struct NumberList {
    int count = 0;
    double* items = nullptr;
    ~NumberList() { SM_free(items); }
};

// A rule path: the instance prefix followed by the attribute name.
struct AttributePath {
    TEXT_t text{};
    AttributePath(const char* format, const char* prefix) { TEXT_format_string(&text, format, prefix); }
    ~AttributePath() { TEXT_free(&text); }
};

const char* axis_length_attribute(int percentile) {
    if (percentile == -1) return "%sAxis_Length:";
    if (percentile == 0) return "%sAxis_Length_95:";
    return "%sAxis_Length_99:";
}

}  // namespace

int HM_VD_initialize_eyellipse(const char* prefix, int percentile, vd_eyellipse_t* record) {
    if (!prefix || !record) return -1;
    TripleList centroids, directions;
    NumberList lengths;
    {
        AttributePath path("%sCentroid_coords:", prefix);
        (void)VD_RQ_ask_point_list(&path.text, &centroids.count, &centroids.items);
    }
    {
        AttributePath path(axis_length_attribute(percentile), prefix);
        (void)VD_RQ_ask_number_list(&path.text, &lengths.count, &lengths.items);
    }
    {
        AttributePath path("%sAxis_dir:", prefix);
        (void)VD_RQ_ask_vector_list(&path.text, &directions.count, &directions.items);
    }
    // The record is written only when every list holds an entry per eye or
    // axis; otherwise it keeps what it held.
    if (centroids.count < kEntries || lengths.count < kEntries || directions.count < kEntries) return 1;
    // Nor is it written from a value that is not finite or lies beyond the
    // model space: every later computation would carry it.
    if (!carvell::detail::in_model_space(lengths.items, kEntries)) return 1;
    for (int i = 0; i < kEntries; ++i)
        if (!carvell::detail::model_point(centroids.items[i]) || !carvell::detail::model_point(directions.items[i]))
            return 1;
    for (int i = 0; i < kEntries; ++i) {
        std::memcpy(record->centroid[i], centroids.items[i], sizeof record->centroid[i]);
        std::memcpy(record->axis_dir[i], directions.items[i], sizeof record->axis_dir[i]);
        record->axis_length[i] = lengths.items[i];
    }
    return 0;
}
