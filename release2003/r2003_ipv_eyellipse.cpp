// Instrument-panel utilities of the 2003 release that read the eyellipse:
// the initialiser that stores the semi-axes, the section tangent points and
// the moa ellipse.
#include "release2003/ipv.h"
#include "vision/vision_ipv.h"

#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"
#include "toolbox/detail/rule_path.h"

#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <cstring>

namespace {

namespace detail = carvell::detail;

constexpr int kEntries = 3;        // one entry per eye type, or per axis
constexpr size_t kNameLength = 133;   // the name with its terminator

// A list of points or vectors as the host hands it out, each item freed on leaving.
struct Triples {
    int count = 0;
    detail::SmBlock<double*> items;
    ~Triples() {
        for (int i = 0; i < count && items; ++i) SM_free(items[i]);
    }
    bool usable() const {
        for (int i = 0; i < count && i < kEntries; ++i)
            if (!detail::model_point(items[i])) return false;
        return true;
    }
};

double absolute_y(const double point[3]) { return point[1]; }
double absolute_z(const double point[3]) { return point[2]; }

}  // namespace

int HM_VD_ipv_initialize_eyellipse(const char* prefix, vd_eyellipse_t* record) {
    if (!prefix || !record) return -1;
    {
        detail::SmBlock<char> class_name;
        if (int r = HM_RQ_ask_instance_class(prefix, class_name.out())) return r;
    }
    // Every attribute is read before the record is written, so that a
    // failing one leaves the record as it was.
    detail::SmBlock<char> name;
    Triples centroids, directions;
    int n_lengths = 0;
    detail::SmBlock<double> lengths;
    {
        const detail::RulePath path = detail::RulePath::joined({prefix, "name:"});
        if (int r = VD_RQ_ask_string(path.text(), name.out())) return r;
    }
    {
        const detail::RulePath path = detail::RulePath::joined({prefix, "Centroid_coords:"});
        if (int r = VD_RQ_ask_point_list(path.text(), &centroids.count, centroids.items.out())) return r;
    }
    {
        const detail::RulePath path = detail::RulePath::joined({prefix, "Axis_dir:"});
        if (int r = VD_RQ_ask_vector_list(path.text(), &directions.count, directions.items.out())) return r;
    }
    {
        const detail::RulePath path = detail::RulePath::joined({prefix, "Axis_Length:"});
        if (int r = VD_RQ_ask_number_list(path.text(), &n_lengths, lengths.out())) return r;
    }
    const int n_length_entries = n_lengths < kEntries ? n_lengths : kEntries;
    if (!centroids.usable() || !directions.usable() || !detail::in_model_space(lengths.get(), n_length_entries))
        return -1;
    STR_snprintf(record->name, kNameLength, "%s", name.get() ? name.get() : "");
    for (int i = 0; i < centroids.count && i < kEntries; ++i) detail::copy3(centroids.items[i], record->centroid[i]);
    for (int i = 0; i < directions.count && i < kEntries; ++i)
        detail::copy3(directions.items[i], record->axis_dir[i]);
    for (int i = 0; i < n_length_entries; ++i) record->axis_length[i] = 0.5 * lengths[i];
    return 0;
}

int ipv_ask_section_tangent_points(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                                   const double point[3], int section, int* count, double points[2][3]) {
    return carvell::vision::ipv_eyellipse_section_tangents(eyellipse, type, tolerances, point, section, count,
                                                           points);
}

int ipv_create_moa_ellipse(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, tag_t* point_object,
                           tag_t* ellipse) {
    return carvell::vision::ipv_moa_ellipse(eyellipse, point, plane, absolute_y, absolute_z, point_object, ellipse);
}
