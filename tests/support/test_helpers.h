// Small helpers the tests share: host lists as vectors, the faces and edges
// of bodies, points, lines, turned coordinate systems, points on curves and
// their lengths, point comparisons, and a scratch directory for files.
#ifndef CARVELL_TESTS_TEST_HELPERS_H
#define CARVELL_TESTS_TEST_HELPERS_H

#include "host_testing.h"
#include "omvra.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace support {

using host_testing::Point3;

constexpr double kPi = 3.14159265358979323846;

// The items of a host list, in order.
inline std::vector<tag_t> list_items(hm_list_p_t list) {
    int count = 0;
    EXPECT_EQ(HM_MODL_ask_list_count(list, &count), 0);
    std::vector<tag_t> items(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) EXPECT_EQ(HM_MODL_ask_list_item(list, i, &items[i]), 0);
    return items;
}

// A new host list of the tags; the caller deletes it.
inline hm_list_p_t make_list(const std::vector<tag_t>& tags) {
    hm_list_p_t list = nullptr;
    EXPECT_EQ(HM_MODL_create_list(&list), 0);
    for (tag_t t : tags) EXPECT_EQ(HM_MODL_put_list_item(list, t), 0);
    return list;
}

// The items of the list the query answers for the object; the list deleted.
inline std::vector<tag_t> asked_list(int (*ask)(tag_t, hm_list_p_t*), tag_t object) {
    hm_list_p_t list = nullptr;
    EXPECT_EQ(ask(object, &list), 0);
    std::vector<tag_t> items = list_items(list);
    HM_MODL_delete_list(&list);
    return items;
}
inline std::vector<tag_t> faces_of(tag_t body) { return asked_list(HM_MODL_ask_body_faces, body); }
inline std::vector<tag_t> edges_of(tag_t body) { return asked_list(HM_MODL_ask_body_edges, body); }
inline std::vector<tag_t> edges_of_face(tag_t face) { return asked_list(HM_MODL_ask_face_edges, face); }

// A point and a line of the work part.
inline tag_t new_point(double x, double y, double z) {
    const double p[3] = {x, y, z};
    tag_t t = 0;
    EXPECT_EQ(HM_CURVE_create_point(p, &t), 0);
    return t;
}
inline tag_t new_line(double x0, double y0, double z0, double x1, double y1, double z1) {
    HM_CURVE_line_t line = {{x0, y0, z0}, {x1, y1, z1}};
    tag_t t = 0;
    EXPECT_EQ(HM_CURVE_create_line(&line, &t), 0);
    return t;
}

// An orientation (rows are the axes) whose x axis is turned by the angle
// (degrees) about z.
inline std::array<double, 9> turned(double degrees) {
    const double a = degrees * kPi / 180.0;
    return {std::cos(a), std::sin(a), 0, -std::sin(a), std::cos(a), 0, 0, 0, 1};
}

// A coordinate-system object at the origin with that orientation.
inline tag_t turned_csys(const double origin[3], double degrees) {
    const std::array<double, 9> m = turned(degrees);
    tag_t matrix = 0, csys = 0;
    EXPECT_EQ(HM_CSYS_create_matrix(m.data(), &matrix), 0);
    EXPECT_EQ(HM_CSYS_create_csys(origin, matrix, &csys), 0);
    return csys;
}

// The curve's point at the normalised parameter, asked of the host.
inline Point3 curve_point(tag_t curve, double t) {
    double p[3] = {}, tangent[3], normal[3], binormal[3], torsion = 0, radius = 0;
    EXPECT_EQ(HM_MODL_ask_curve_props(curve, t, p, tangent, normal, binormal, &torsion, &radius), 0) << "t = " << t;
    return {p[0], p[1], p[2]};
}

// The whole arc length of a curve.
inline double curve_length(tag_t curve) {
    double length = -1.0;
    EXPECT_EQ(HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &length), 0);
    return length;
}

inline double distance(const Point3& a, const Point3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The area a closed outline in one plane encloses, given as polylines in
// any order and direction that chain end to end (each piece is joined at the
// end nearest to where the outline has got to).
inline double outline_area(std::vector<std::vector<Point3>> pieces) {
    if (pieces.empty()) return 0.0;
    std::vector<Point3> loop = pieces[0];
    pieces.erase(pieces.begin());
    while (!pieces.empty()) {
        size_t best = 0;
        bool reversed = false;
        double nearest = 1e300;
        for (size_t i = 0; i < pieces.size(); ++i)
            for (bool r : {false, true}) {
                const double d = distance(loop.back(), r ? pieces[i].back() : pieces[i].front());
                if (d < nearest) {
                    nearest = d;
                    best = i;
                    reversed = r;
                }
            }
        std::vector<Point3> next = pieces[best];
        if (reversed) next.assign(pieces[best].rbegin(), pieces[best].rend());
        loop.insert(loop.end(), next.begin() + 1, next.end());
        pieces.erase(pieces.begin() + long(best));
    }
    // Half the length of the summed cross products about the first point.
    double sum[3] = {0, 0, 0};
    for (size_t i = 1; i + 1 < loop.size(); ++i) {
        const Point3& o = loop[0];
        const double a[3] = {loop[i][0] - o[0], loop[i][1] - o[1], loop[i][2] - o[2]};
        const double b[3] = {loop[i + 1][0] - o[0], loop[i + 1][1] - o[1], loop[i + 1][2] - o[2]};
        sum[0] += a[1] * b[2] - a[2] * b[1];
        sum[1] += a[2] * b[0] - a[0] * b[2];
        sum[2] += a[0] * b[1] - a[1] * b[0];
    }
    return 0.5 * std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
}

// Distance from a point to the curve, through the host's inversion.
inline double distance_to_curve(tag_t curve, const Point3& p) {
    double t = -1, on[3] = {};
    EXPECT_EQ(HM_MODL_ask_curve_parm(curve, p.data(), &t, on), 0);
    return distance(p, {on[0], on[1], on[2]});
}

// What HM_MODL_intersect_objects answered, copied out and freed.
struct Intersection {
    int result = -1;
    std::vector<int> kinds;
    std::vector<Point3> points;   // of the point entries, in order
    std::vector<tag_t> curves;    // of the curve entries, in order
    bool null_array = false;
};

// Runs the intersection and frees what it hands back.
inline Intersection intersect(tag_t a, tag_t b, double tolerance = 0.01) {
    Intersection f;
    int count = -1;
    HM_MODL_intersection_t** entries = nullptr;
    f.result = HM_MODL_intersect_objects(a, b, tolerance, &count, &entries);
    if (f.result != 0) return f;
    f.null_array = entries == nullptr;
    for (int i = 0; i < count; ++i) {
        f.kinds.push_back(entries[i]->kind);
        if (entries[i]->kind == 0)
            f.points.push_back({entries[i]->point[0], entries[i]->point[1], entries[i]->point[2]});
        else
            f.curves.push_back(entries[i]->curve);
        HM_free(entries[i]);
    }
    HM_free(entries);
    return f;
}

// Each coordinate of the point within the tolerance of the expected one.
inline void expect_point(const double* actual, const Point3& expected, double tolerance = 1e-9) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}
inline void expect_point(const Point3& actual, const Point3& expected, double tolerance = 1e-9) {
    expect_point(actual.data(), expected, tolerance);
}

// A directory of its own for the files of the running test, removed with it.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& prefix)
        : path_(std::filesystem::temp_directory_path() /
                (prefix + "_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // The path of a file in the directory.
    std::string path(const char* name) const { return (path_ / name).string(); }
    const std::filesystem::path& directory() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace support

#endif
