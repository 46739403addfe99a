// The tire-envelope tool's clearance configurations: every record of a
// spindle-points (displacement) file becomes a configuration "LOAD <n>" of
// the clearance data set, carrying the wheel from its design position to the
// record's; and the clearance zones of the data set's objects.
#include "vd_evt.h"

#include "belmorra.h"
#include "caldwyn.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::envelope {
namespace {

using Point = std::array<double, 3>;
using Matrix4 = std::array<double, 16>;

// The reader's order that hands back Q (the second point of a record) first.
constexpr int kQFirst = 0;
// Below this length a spindle vector cannot be unitized.
constexpr double kUnitizeTolerance = 1e-10;
// |y(P)| within this of |y(Q)| counts as at least as far from the centre plane.
constexpr double kLateralTolerance = 1e-10;
// A configuration name buffer: "LOAD %d".
constexpr int kConfigurationNameSize = 134;
// Status of a call without a data set, a file or a frame.
constexpr int kBadInput = -1;

// The records of a spindle-points file as P and Q points.
struct SpindleRecords {
    std::vector<Point> p;
    std::vector<Point> q;
};

// Reads the file with the tool's reader (Q first, then P): 0, or the
// reader's code. Every point the reader hands back is freed here.
int read_records(const char* path, SpindleRecords* records) {
    int count = 0;
    double** q = nullptr;
    double** p = nullptr;
    const int code = VD_EVTWIZ_read_spindle_file(path, kQFirst, &count, &q, &p);
    for (int i = 0; i < count; ++i) {
        records->q.push_back({q[i][0], q[i][1], q[i][2]});
        records->p.push_back({p[i][0], p[i][1], p[i][2]});
        SM_free(q[i]);
        SM_free(p[i]);
    }
    SM_free(q);
    SM_free(p);
    return code;
}

// The moving object of the new configurations: the first object of position
// 0 of the data set's first configuration, when there is one. 0, or the
// host's code.
int current_moving_object(tag_t dataset, std::vector<tag_t>* moving) {
    int n_configurations = 0;
    if (int code = CLEAR_ask_num_configurations(dataset, &n_configurations)) return code;
    if (n_configurations < 1) return 0;
    int n_objects = 0;
    tag_t* objects = nullptr;
    const int code = CLEAR_ask_configuration_position_data(dataset, 0, 0, nullptr, nullptr, &n_objects, &objects);
    if (code == 0 && n_objects >= 1) moving->push_back(objects[0]);
    SM_free(objects);
    return code;
}

// Record i's frame: origin P, y axis the unit spindle direction, x axis the
// first row of the host's frame whose z axis is that direction.
struct SpindleFrame {
    Point origin, x, y;
};

int spindle_frame(const Point& p, const Point& direction, SpindleFrame* frame) {
    double magnitude = 0.0;
    Point u{};
    if (int code = HM_VEC3_unitize(direction.data(), kUnitizeTolerance, &magnitude, u.data())) return code;
    double r[9];
    if (int code = HM_MTX3_initialize_z(u.data(), r)) return code;
    frame->origin = p;
    frame->x = {r[0], r[1], r[2]};
    frame->y = u;
    return 0;
}

// The transforms that carry the design record's frame onto each record's:
// the identity for the design record itself. 0, or the host's code.
int configuration_transforms(const SpindleRecords& r, const double origin[3], const double matrix[9],
                             std::vector<Matrix4>* transforms) {
    // The spindle runs from the point nearer the vehicle's centre plane to
    // the one farther out, decided once from the design record.
    const double y_p = VD_LOCAL_Y(r.p[0].data(), origin, matrix);
    const double y_q = VD_LOCAL_Y(r.q[0].data(), origin, matrix);
    const bool p_outboard = std::fabs(y_p) >= std::fabs(y_q) - kLateralTolerance;
    const Point absolute_origin{0, 0, 0}, absolute_x{1, 0, 0}, absolute_y{0, 1, 0};
    Matrix4 to_design{};
    for (size_t i = 0; i < r.p.size(); ++i) {
        const Point& from = p_outboard ? r.q[i] : r.p[i];
        const Point& to = p_outboard ? r.p[i] : r.q[i];
        SpindleFrame f;
        if (int code = spindle_frame(r.p[i], {to[0] - from[0], to[1] - from[1], to[2] - from[2]}, &f)) return code;
        Matrix4 m{};
        if (i == 0) {
            if (int code = HM_MTX4_csys_to_csys(f.origin.data(), f.x.data(), f.y.data(), absolute_origin.data(),
                                                absolute_x.data(), absolute_y.data(), to_design.data()))
                return code;
            HM_MTX4_identity(m.data());
        } else {
            Matrix4 to_record{};
            if (int code = HM_MTX4_csys_to_csys(absolute_origin.data(), absolute_x.data(), absolute_y.data(),
                                                f.origin.data(), f.x.data(), f.y.data(), to_record.data()))
                return code;
            HM_MTX4_multiply(to_design.data(), to_record.data(), m.data());
        }
        transforms->push_back(m);
    }
    return 0;
}

// Replaces every configuration of the data set by one "LOAD <i + 1>" a
// transform, each moving the given objects. The last add's result.
int replace_configurations(tag_t dataset, const std::vector<Matrix4>& transforms, const std::vector<tag_t>& moving) {
    if (int code = CLEAR_remove_configurations(dataset)) return code;
    int result = 0;
    for (size_t i = 0; i < transforms.size(); ++i) {
        char name[kConfigurationNameSize];
        std::snprintf(name, sizeof name, "LOAD %d", static_cast<int>(i + 1));
        MTX4_t m;
        std::copy(transforms[i].begin(), transforms[i].end(), m.m);
        result = CLEAR_add_configuration(dataset, 1, &m, static_cast<int>(moving.size()),
                                         moving.empty() ? nullptr : moving.data(), name);
    }
    return result;
}

// Builds the configurations from the file; *count is the number of records.
// The transforms are all made before the data set changes, so a file that
// cannot be read or a record whose spindle has no length changes nothing.
int evt_build_clear_configurations(tag_t dataset, const char* path, const double origin[3], const double matrix[9],
                                   int* count) {
    *count = 0;
    SpindleRecords records;
    if (int code = read_records(path, &records)) return code;
    // A missing or empty file has no design position: no configuration can
    // be made, and the data set's configurations stay.
    if (records.p.empty()) return kBadInput;
    std::vector<Matrix4> transforms;
    if (int code = configuration_transforms(records, origin, matrix, &transforms)) return code;
    std::vector<tag_t> moving;
    if (int code = current_moving_object(dataset, &moving)) return code;
    const int result = replace_configurations(dataset, transforms, moving);
    *count = static_cast<int>(records.p.size());
    return result;
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVTWIZ_build_clear_configurations(tag_t dataset, const char* path, double origin[3], double matrix[9]) {
    int count = 0;
    const int result = (!path || !origin || !matrix || !carvell::detail::all_modelled(origin, 3) || !carvell::detail::all_modelled(matrix, 9))
                           ? kBadInput
                           : evt_build_clear_configurations(dataset, path, origin, matrix, &count);
    if (result != 0) ERROR_lprintf("ERROR: DISPLACE file data extraction failed\n");
    return result;
}

int VD_EVTWIZ_add_objs_zone(tag_t dataset, int n, const tag_t* zones, const tag_t* objects) {
    if (n < 1) return 0;
    if (!zones || !objects || !carvell::detail::count_fits(n, sizeof(tag_t))) return kBadInput;
    int result = 0;
    for (int i = 0; i < n; ++i) result = HM_CLEAR_set_object_clear_zone(dataset, objects[i], zones[i]);
    return result;
}
