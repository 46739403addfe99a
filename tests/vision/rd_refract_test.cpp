// Refraction through a glass plate given as faces: the mirror, entry and
// exit points against the same plate given as a plane, Snell's law at the
// front face and equal angles at the mirror, points behind the glass, and
// the result geometry of a face plate.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

// Eye and source above a plate whose front face is z = 0, 5 thick.
constexpr double kEye[3] = {0, 0, 100};
constexpr double kThickness = 5.0;
constexpr double kIndex = 1.5;

struct Path {
    bool found = false;
    double mirror[3], entry[3], exit[3];
};

class RdRefractTest : public HostTest {
protected:
    // A square sheet of 1000 in the plane z = height about the z axis.
    static tag_t SquareFace(double height) {
        const double corner[3] = {-500, -500, height}, u[3] = {1000, 0, 0}, v[3] = {0, 1000, 0};
        return support::faces_of(host_testing::make_planar_sheet(corner, u, v)).at(0);
    }
    // One source point through the refraction export; every array freed.
    static Path Refract(tag_t surface, bool rear, const Point3& source, double tolerance) {
        const tag_t point = host_testing::make_point(source);
        int groups = 0, rows = 0;
        int *sizes = nullptr, *per_row = nullptr;
        double ***mirror = nullptr, ***input = nullptr, ***entry = nullptr, ***exit = nullptr;
        bool** found = nullptr;
        bool* closed = nullptr;
        HM_VD_RD_create_refract_data(1, &surface, rear, 1, &point, kEye, 10, kIndex, kThickness, tolerance, &groups,
                                     &sizes, &rows, &per_row, &mirror, &input, &entry, &exit, &found, &closed);
        Path p;
        EXPECT_EQ(rows, 1);
        if (rows == 1 && per_row[0] == 1) {
            p.found = found[0][0];
            for (int k = 0; k < 3; ++k) {
                p.mirror[k] = mirror[0][0][k];
                p.entry[k] = entry[0][0][k];
                p.exit[k] = exit[0][0][k];
            }
        }
        for (int r = 0; r < rows; ++r) {
            for (double*** a : {mirror, input, entry, exit}) {
                for (int i = 0; i < per_row[r]; ++i) SM_free(a[r][i]);
                SM_free(a[r]);
            }
            SM_free(found[r]);
        }
        for (void* a : {static_cast<void*>(mirror), static_cast<void*>(input), static_cast<void*>(entry),
                        static_cast<void*>(exit), static_cast<void*>(found), static_cast<void*>(closed),
                        static_cast<void*>(sizes), static_cast<void*>(per_row)})
            SM_free(a);
        return p;
    }
    // Sine of the angle between the segment from `from` to `to` and the z axis.
    static double SineToNormal(const double* from, const double* to) {
        const double dx = to[0] - from[0], dy = to[1] - from[1], dz = to[2] - from[2];
        return std::hypot(dx, dy) / std::sqrt(dx * dx + dy * dy + dz * dz);
    }
};

TEST_F(RdRefractTest, FacePlateFollowsSnellsLawAndMatchesThePlanePlate) {
    const Point3 source{100, 0, 50};
    const double a[3] = {100, 0, 50};
    // The plate given as a plane object is the reference for the faces.
    const Path plane = Refract(host_testing::make_plane({0, 0, 0}, {0, 0, 1}), false, source, 1e-7);
    ASSERT_TRUE(plane.found);
    const struct {
        const char* name;
        tag_t surface;
        bool rear;
        double tol;
    } cases[] = {
        {"plane", host_testing::make_plane({0, 0, 0}, {0, 0, 1}), false, 1e-3},   // eps1 is its bisection length
        {"rear plane", host_testing::make_plane({0, 0, -kThickness}, {0, 0, 1}), true, 1e-3},
        {"front face", SquareFace(0.0), false, 0.1},   // within eps2
        {"rear face", SquareFace(-kThickness), true, 0.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Path p = Refract(c.surface, c.rear, source, 1e-5);
        ASSERT_TRUE(p.found);
        // The mirror on the rear face, entry and exit on the front face.
        EXPECT_NEAR(p.mirror[2], -kThickness, 1e-6);
        EXPECT_NEAR(p.entry[2], 0.0, 1e-6);
        EXPECT_NEAR(p.exit[2], 0.0, 1e-6);
        // The path stays in the plane of the source, the eye and the normal.
        for (const double* q : {p.mirror, p.entry, p.exit}) EXPECT_NEAR(q[1], 0.0, 1e-6);
        // Snell's law on the way in and out; equal angles at the mirror.
        EXPECT_NEAR(SineToNormal(p.entry, a) / SineToNormal(p.entry, p.mirror), kIndex, 2e-3);
        EXPECT_NEAR(SineToNormal(p.exit, kEye) / SineToNormal(p.exit, p.mirror), kIndex, 2e-3);
        EXPECT_NEAR(SineToNormal(p.mirror, p.entry), SineToNormal(p.mirror, p.exit), 1e-3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(p.mirror[k], plane.mirror[k], c.tol);
            EXPECT_NEAR(p.entry[k], plane.entry[k], c.tol);
            EXPECT_NEAR(p.exit[k], plane.exit[k], c.tol);
        }
    }
}

TEST_F(RdRefractTest, PointBehindTheFacePlateIsNotFound) {
    const tag_t face = SquareFace(0.0);
    const Path p = Refract(face, false, {100, 0, -50}, 1e-5);
    EXPECT_FALSE(p.found);
    for (const double* q : {p.mirror, p.entry, p.exit})
        for (int k = 0; k < 3; ++k) EXPECT_EQ(q[k], 0.0);
    ExpectNoLeaks();
}

TEST_F(RdRefractTest, FacePlateResultIsAMirrorPointWithFourRays) {
    const tag_t face = SquareFace(0.0);
    const tag_t source = host_testing::make_point({100, 0, 50});
    refl_output_s settings{};
    settings.display[1] = {0, 7, 21};
    settings.display[3] = {1, 9, 23};
    hm_list_p_t list = support::make_list({});
    int number = -1;
    HM_VD_RD_create_reflect_refract_geometry(1, settings, 1, &face, false, 1, &source, kEye, 10, kIndex, kThickness,
                                             1e-5, &list, &number);
    EXPECT_EQ(number, 0);
    const std::vector<tag_t> made = support::list_items(list);
    ASSERT_EQ(made.size(), 5u);
    int points = 0, lines = 0;
    for (tag_t t : made) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
        points += type == HM_point_type;
        lines += type == HM_line_type;
    }
    EXPECT_EQ(points, 1);
    EXPECT_EQ(lines, 4);
    HM_MODL_delete_list(&list);
}

// A plate modelled in a part of the assembly and handed over as the
// occurrence of its front face: the path is the one through the same plate
// modelled in place.
TEST_F(RdRefractTest, OccurrenceOfAFaceRefractsAsThePlatePlacedInTheAssembly) {
    const tag_t assembly = HM_ASSEM_ask_work_part();
    const tag_t glass = host_testing::make_part("/p/glass.prt");
    // The plate's front face is z = 20 in its own part; the component sets
    // the part 20 down, so that the face lies at z = 0 in the assembly.
    const tag_t prototype = SquareFace(20.0);
    ASSERT_EQ(HM_PART_set_display_part(assembly), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly), 0);
    const double down[3] = {0, 0, -20};
    const tag_t occurrence = host_testing::add_occurrence(host_testing::add_component(glass, "GLASS", down, nullptr),
                                                          prototype);
    ASSERT_NE(occurrence, 0u);
    ASSERT_TRUE(HM_ASSEM_is_occurrence(occurrence));
    const Path reference = Refract(SquareFace(0.0), false, {100, 0, 50}, 1e-5);
    ASSERT_TRUE(reference.found);
    const Path p = Refract(occurrence, false, {100, 0, 50}, 1e-5);
    ASSERT_TRUE(p.found);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(p.mirror[k], reference.mirror[k], 1e-6);
        EXPECT_NEAR(p.entry[k], reference.entry[k], 1e-6);
        EXPECT_NEAR(p.exit[k], reference.exit[k], 1e-6);
    }
}

// A closed row is rotated to begin at a gap in every array alike: with
// n = 1 each mirror point is the plain reflection of its own input point on
// the rear plane z = -5, whatever the rotation.
TEST_F(RdRefractTest, ClosedRowRotatesEveryArrayByTheSameCount) {
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t circle = host_testing::make_arc({100, 0, 20}, 40.0, 0.0, 2 * M_PI, {0, 0, 1}, {0, 1, 0});
    int groups = 0, rows = 0;
    int *sizes = nullptr, *per_row = nullptr;
    double ***mirror = nullptr, ***input = nullptr, ***entry = nullptr, ***exit = nullptr;
    bool** found = nullptr;
    bool* closed = nullptr;
    HM_VD_RD_create_refract_data(1, &plane, false, 1, &circle, kEye, 20, 1.0, kThickness, 1e-7, &groups, &sizes,
                                 &rows, &per_row, &mirror, &input, &entry, &exit, &found, &closed);
    ASSERT_EQ(rows, 1);
    ASSERT_EQ(per_row[0], 20);
    EXPECT_TRUE(closed[0]);
    EXPECT_FALSE(found[0][0]);
    int n_found = 0;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const double* p = input[0][i];
        EXPECT_EQ(found[0][i], p[2] > 0.0);
        if (!found[0][i]) continue;
        ++n_found;
        const double da = p[2] + kThickness, db = kEye[2] + kThickness, f = da / (da + db);
        EXPECT_NEAR(mirror[0][i][0], p[0] + (kEye[0] - p[0]) * f, 1e-4);
        EXPECT_NEAR(mirror[0][i][1], p[1] + (kEye[1] - p[1]) * f, 1e-4);
        EXPECT_NEAR(mirror[0][i][2], -kThickness, 1e-9);
        // Entry on the straight line from the input point to its mirror point.
        const double g = p[2] / da;
        EXPECT_NEAR(entry[0][i][0], p[0] + (mirror[0][i][0] - p[0]) * g, 1e-4);
        EXPECT_NEAR(entry[0][i][1], p[1] + (mirror[0][i][1] - p[1]) * g, 1e-4);
    }
    EXPECT_GT(n_found, 0);
    EXPECT_LT(n_found, 20);
    for (double*** a : {mirror, input, entry, exit}) {
        for (int i = 0; i < 20; ++i) SM_free(a[0][i]);
        SM_free(a[0]);
        SM_free(a);
    }
    SM_free(found[0]);
    for (void* a : {static_cast<void*>(found), static_cast<void*>(closed), static_cast<void*>(sizes),
                    static_cast<void*>(per_row)})
        SM_free(a);
}

// Bad input to the data exports: nothing handed out, nothing left behind.
TEST_F(RdRefractTest, BadInputHandsOutNothingAndLeavesNoAllocation) {
    const tag_t face = SquareFace(0.0);
    const tag_t plane_source = host_testing::make_plane({0, 0, 50}, {0, 0, 1});
    const tag_t point = host_testing::make_point({100, 0, 50});
    const int objects = host_testing::count_objects();
    const struct {
        const char* name;
        int n_surfaces;
        const tag_t* surfaces;
        int n_sources;
        const tag_t* sources;
        const double* eye;
    } cases[] = {
        {"no sources", 1, &face, 0, nullptr, kEye},
        {"a source of a kind without samples", 1, &face, 1, &plane_source, kEye},
        {"surface tags missing", 1, nullptr, 1, &point, kEye},
        {"source tags missing", 1, &face, 1, nullptr, kEye},
        {"no eye", 1, &face, 1, &point, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int groups = -1, rows = -1;
        int *sizes = nullptr, *per_row = nullptr;
        double ***mirror = nullptr, ***input = nullptr, ***entry = nullptr, ***exit = nullptr;
        bool** found = nullptr;
        bool* closed = nullptr;
        HM_VD_RD_create_refract_data(c.n_surfaces, c.surfaces, false, c.n_sources, c.sources, c.eye, 10, kIndex,
                                     kThickness, 1e-5, &groups, &sizes, &rows, &per_row, &mirror, &input, &entry,
                                     &exit, &found, &closed);
        EXPECT_EQ(rows, 0);
        EXPECT_EQ(groups, 0);
        for (const void* a : {static_cast<const void*>(mirror), static_cast<const void*>(input),
                              static_cast<const void*>(entry), static_cast<const void*>(exit),
                              static_cast<const void*>(found), static_cast<const void*>(closed),
                              static_cast<const void*>(per_row), static_cast<const void*>(sizes)})
            EXPECT_EQ(a, nullptr);
        double*** result = nullptr;
        rows = -1;
        HM_VD_RD_create_reflect_data(c.n_surfaces, c.surfaces, false, c.n_sources, c.sources, c.eye, 10, 0.0, 1e-3,
                                     &groups, &sizes, &rows, &per_row, &result, &input, &found, &closed);
        EXPECT_EQ(rows, 0);
        EXPECT_EQ(result, nullptr);
        EXPECT_EQ(host_testing::count_objects(), objects);
        ExpectNoLeaks();
    }
    // Missing outputs: the call returns without touching anything.
    HM_VD_RD_create_reflect_data(1, &face, false, 1, &point, kEye, 10, 0.0, 1e-3, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects);
    ExpectNoLeaks();
}

}  // namespace
