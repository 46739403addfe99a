// Reflection and refraction data: plane and face mirrors against the
// mirror-image construction, the glass plate with n = 1, a convex sphere,
// points behind the mirror, face groups, error numbers and result geometry.
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
constexpr double kPi = 3.14159265358979323846;

class RdTest : public HostTest {
protected:
    using Reflect = vision_test::ReflectOutput;
    static Reflect ReflectData(const std::vector<tag_t>& surfaces, const std::vector<tag_t>& sources, const double eye[3],
                               int n, bool rear = false, double offset = 0.0) {
        Reflect r;
        HM_VD_RD_create_reflect_data(static_cast<int>(surfaces.size()), surfaces.data(), rear,
                                     static_cast<int>(sources.size()), sources.data(), eye, n, offset, 0.001,
                                     &r.groups, &r.sizes, &r.rows, &r.per_row, &r.result, &r.input, &r.found,
                                     &r.closed);
        return r;
    }
    // A square sheet of 1000 in the plane z = 0 about the origin.
    static tag_t FloorFace() {
        const double corner[3] = {-500, -500, 0}, u[3] = {1000, 0, 0}, v[3] = {0, 1000, 0};
        return support::faces_of(host_testing::make_planar_sheet(corner, u, v)).at(0);
    }
    static void ExpectPoint(const double* got, double x, double y, double z, double tol) {
        EXPECT_NEAR(got[0], x, tol);
        EXPECT_NEAR(got[1], y, tol);
        EXPECT_NEAR(got[2], z, tol);
    }
};

// Eye (0, 0, 100), source (100, 0, 50), mirror z = 0: the line from the
// source to the eye's mirror image (0, 0, -100) meets z = 0 at x = 200 / 3.
constexpr double kEye[3] = {0, 0, 100};
constexpr double kMirrorX = 200.0 / 3.0;

TEST_F(RdTest, PlaneMirrorMatchesTheMirrorImageConstructionAsPlaneDatumAndFace) {
    const tag_t source = host_testing::make_point({100, 0, 50});
    const struct {
        const char* name;
        tag_t surface;
        double tol;
    } cases[] = {
        {"plane", host_testing::make_plane({0, 0, 0}, {0, 0, 1}), 1e-9},
        {"datum", host_testing::make_datum_plane({5, 5, 0}, {0, 0, -1}), 1e-9},
        {"face", FloorFace(), 0.1},   // within eps2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reflect r = ReflectData({c.surface}, {source}, kEye, 10);
        ASSERT_EQ(r.rows, 1);
        ASSERT_EQ(r.per_row[0], 1);
        EXPECT_EQ(r.groups, 1);
        EXPECT_TRUE(r.found[0][0]);
        ExpectPoint(r.result[0][0], kMirrorX, 0, 0, c.tol);
        ExpectPoint(r.input[0][0], 100, 0, 50, 1e-12);
        r.Free();
    }
}

TEST_F(RdTest, OffsetMirrorAndPointsBehindOrOnTheMirror) {
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    // The mirror offset 10 towards the viewer: z = 10, dA = 40, dB = 90.
    const tag_t source = host_testing::make_point({100, 0, 50});
    Reflect r = ReflectData({plane}, {source}, kEye, 10, true, 10.0);
    ExpectPoint(r.result[0][0], 100 - 100 * 40.0 / 130.0, 0, 10, 1e-9);
    r.Free();
    // Behind the mirror, and both points on it: no light path, zero result.
    const double on_mirror_eye[3] = {0, 0, 0};
    const struct {
        Point3 source;
        const double* eye;
    } none[] = {{{100, 0, -50}, kEye}, {{100, 0, 0}, on_mirror_eye}};
    for (const auto& c : none) {
        SCOPED_TRACE(c.source[2]);
        Reflect n = ReflectData({plane}, {host_testing::make_point(c.source)}, c.eye, 10);
        ASSERT_EQ(n.rows, 1);
        EXPECT_FALSE(n.found[0][0]);
        ExpectPoint(n.result[0][0], 0, 0, 0, 0);
        n.Free();
    }
}

TEST_F(RdTest, ConvexSphereReflectsSymmetricPointsAtItsAxisPoint) {
    const double centre[3] = {0, 0, 0}, up[3] = {0, 0, 1}, side[3] = {1, 0, 0};
    const tag_t patch = host_testing::make_spherical_patch(centre, 100.0, up, side, 120.0, 120.0);
    const tag_t face = support::faces_of(patch).at(0);
    const double eye[3] = {20, 0, 200};
    Reflect r = ReflectData({face}, {host_testing::make_point({-20, 0, 200})}, eye, 10);
    ASSERT_EQ(r.rows, 1);
    EXPECT_TRUE(r.found[0][0]);
    ExpectPoint(r.result[0][0], 0, 0, 100, 0.1);
    r.Free();
}

// A face mirror smaller than the segment from the source to the eye: the
// search runs over the part of the segment above the face, whichever of
// its ends lie above it. Face x, y in [-50, 50] at z = 0; the reflection
// point is where the line from the source to the eye's mirror image meets
// z = 0 (source 50 up, eye 100 up: a third of the way).
TEST_F(RdTest, FaceSmallerThanTheSegmentReflectsWhereverTheSegmentCrossesIt) {
    const double corner[3] = {-50, -50, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t face = support::faces_of(host_testing::make_planar_sheet(corner, u, v)).at(0);
    const struct {
        const char* name;
        Point3 source;
        double eye[3];
        bool found;
        double x;   // of the reflection point
    } cases[] = {
        {"source above the face", {20, 0, 50}, {-100, 0, 100}, true, 20 - 120.0 / 3},
        {"eye above the face", {80, 0, 50}, {-30, 0, 100}, true, 80 - 110.0 / 3},
        {"neither above the face", {100, 0, 50}, {-100, 0, 100}, true, 100 - 200.0 / 3},
        {"reflection beyond the face", {100, 0, 50}, {0, 0, 100}, false, 0},
        {"segment beside the face", {100, 200, 50}, {-100, 200, 100}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reflect r = ReflectData({face}, {host_testing::make_point(c.source)}, c.eye, 10);
        ASSERT_EQ(r.rows, 1);
        EXPECT_EQ(r.found[0][0], c.found);
        if (c.found) ExpectPoint(r.result[0][0], c.x, c.source[1], 0, 0.1);
        r.Free();
    }
}

TEST_F(RdTest, RowsOfCurvesHaveTheirSampleCountsAndClosedRowsStartAtAGap) {
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    // An open line with N = 1 still gives a row of 2 points.
    const tag_t line = host_testing::make_line({100, 0, 50}, {100, 40, 50});
    Reflect one = ReflectData({plane}, {line}, kEye, 1);
    ASSERT_EQ(one.rows, 1);
    EXPECT_EQ(one.per_row[0], 2);
    EXPECT_FALSE(one.closed[0]);
    one.Free();
    // A circle crossing the mirror: its points below z = 0 are not found; the
    // closed row begins at its first point not found.
    const tag_t circle = host_testing::make_arc({100, 0, 20}, 40.0, 0.0, 2 * kPi, {0, 0, 1}, {0, 1, 0});
    Reflect c = ReflectData({plane}, {circle}, kEye, 20);
    ASSERT_EQ(c.rows, 1);
    EXPECT_TRUE(c.closed[0]);
    EXPECT_EQ(c.per_row[0], 20);
    EXPECT_FALSE(c.found[0][0]);
    int found = 0;
    for (int i = 0; i < 20; ++i) {
        found += c.found[0][i] ? 1 : 0;
        EXPECT_EQ(c.found[0][i], c.input[0][i][2] > 0.0);
    }
    EXPECT_GT(found, 0);
    c.Free();
}

TEST_F(RdTest, RefractionWithIndexOneIsReflectionOnTheRearPlane) {
    // Front face z = 0, plate 5 thick: the mirror lies at z = -5 and, with
    // n = 1, the path is the plain reflection there: dA = 55, dB = 105.
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t source = host_testing::make_point({100, 0, 50});
    int groups = 0, rows = 0;
    int *sizes = nullptr, *per_row = nullptr;
    double ***mirror = nullptr, ***input = nullptr, ***entry = nullptr, ***exit = nullptr;
    bool** found = nullptr;
    bool* closed = nullptr;
    HM_VD_RD_create_refract_data(1, &plane, false, 1, &source, kEye, 10, 1.0, 5.0, 1e-7, &groups, &sizes, &rows,
                                 &per_row, &mirror, &input, &entry, &exit, &found, &closed);
    ASSERT_EQ(rows, 1);
    EXPECT_TRUE(found[0][0]);
    const double x = 100 - 100 * 55.0 / 160.0;
    ExpectPoint(mirror[0][0], x, 0, -5, 1e-4);
    // Entry and exit on the front face, on the straight lines to the mirror point.
    ExpectPoint(entry[0][0], 100 - (100 - x) * 50.0 / 55.0, 0, 0, 1e-4);
    ExpectPoint(exit[0][0], x * 100.0 / 105.0, 0, 0, 1e-4);
    for (double*** a : {mirror, input, entry, exit}) {
        SM_free(a[0][0]);
        SM_free(a[0]);
        SM_free(a);
    }
    SM_free(found[0]);
    for (void* p : {static_cast<void*>(sizes), static_cast<void*>(per_row), static_cast<void*>(found),
                    static_cast<void*>(closed)})
        SM_free(p);
}

TEST_F(RdTest, FaceGroupsJoinSmoothNeighboursAndSplitAtCreases) {
    // Two half cylinders that meet along two lines: one smooth group. A box's
    // faces meet at right angles: each its own group. A plane alone; a body none.
    const double origin[3] = {0, 0, 0}, axis[3] = {0, 0, 1}, x[3] = {1, 0, 0}, minus_x[3] = {-1, 0, 0};
    const tag_t half1 = support::faces_of(host_testing::make_cylindrical_sheet(origin, axis, x, 50, kPi, 100)).at(0);
    const tag_t half2 =
        support::faces_of(host_testing::make_cylindrical_sheet(origin, axis, minus_x, 50, kPi, 100)).at(0);
    const double corner[3] = {500, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> box_faces = support::faces_of(box);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    std::vector<tag_t> objects = {half1, box_faces[0], box_faces[1], plane, box, half2};
    int count = 0;
    int* sizes = nullptr;
    tag_t** groups = nullptr;
    HM_VD_RD_judge_face_continuity(static_cast<int>(objects.size()), objects.data(), &count, &sizes, &groups);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(sizes[0], 2);
    EXPECT_EQ(groups[0][0], half1);
    EXPECT_EQ(groups[0][1], half2);
    EXPECT_EQ(sizes[1], 1);
    EXPECT_EQ(groups[1][0], box_faces[0]);
    EXPECT_EQ(groups[2][0], box_faces[1]);
    EXPECT_EQ(groups[3][0], plane);
    for (int g = 0; g < count; ++g) SM_free(groups[g]);
    SM_free(groups);
    SM_free(sizes);
}

TEST_F(RdTest, ErrorNumbersFromThePointsFoundOnEachSource) {
    const tag_t plane = host_testing::make_plane({0, 0, -10}, {0, 0, 1});
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t touching = host_testing::make_line({0, 0, -10}, {100, 0, 20});
    const tag_t point = host_testing::make_point({7, 8, 9});
    const tag_t other = host_testing::make_plane({0, 0, 50}, {0, 0, 1});
    const struct {
        const char* name;
        std::vector<Point3> points;
        int line, point;
    } cases[] = {
        {"middle only", {{50, 0, 0}}, 1, 2},
        {"quarters", {{0, 0, 0}, {25, 0, 0}, {50, 0, 0}, {75, 0, 0}, {100, 0, 0}, {7, 8, 9}}, 0, 0},
        {"none on it", {{50, 5, 0}}, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double*> rows;
        std::vector<Point3> pts = c.points;
        for (auto& p : pts) rows.push_back(p.data());
        const tag_t sources[4] = {line, point, touching, other};
        int* numbers = nullptr;
        HM_VD_RD_ask_error_no(1, &plane, 4, sources, static_cast<int>(rows.size()), rows.data(), &numbers);
        ASSERT_NE(numbers, nullptr);
        EXPECT_EQ(numbers[0], c.line);
        EXPECT_EQ(numbers[1], c.point);
        EXPECT_EQ(numbers[2], 3);   // touches the surface whatever lies on it
        EXPECT_EQ(numbers[3], 2);   // a kind without a rule: no point on it
        SM_free(numbers);
    }
}

TEST_F(RdTest, ResultGeometryIsNamedColouredAndDrawsTwoOrFourRays) {
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t source = host_testing::make_point({100, 0, 50});
    refl_output_s settings{};
    settings.display[0] = {0, 6, 20};
    settings.display[1] = {0, 7, 21};
    settings.display[2] = {1, 8, 22};
    settings.display[3] = {1, 9, 23};
    const struct {
        int type;
        const char* name;
        size_t lines;
        int colour;
    } cases[] = {{0, "Reflect Data", 2, 6}, {1, "Refract Data", 4, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t list = support::make_list({});
        int number = -1;
        HM_VD_RD_create_reflect_refract_geometry(c.type, settings, 1, &plane, false, 1, &source, kEye, 10, 1.5, 5.0,
                                                 0.001, &list, &number);
        EXPECT_EQ(number, 0);
        const std::vector<tag_t> made = support::list_items(list);
        ASSERT_EQ(made.size(), 1 + c.lines);
        size_t points = 0, lines = 0;
        for (tag_t t : made) {
            int type = 0, subtype = 0, colour = 0;
            char name[64];
            HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
            HM_OBJ_ask_name(t, name, sizeof name);
            HM_OBJ_ask_color(t, &colour);
            EXPECT_EQ(std::string(name), c.name);
            points += type == HM_point_type;
            lines += type == HM_line_type;
            if (type == HM_point_type) {
                EXPECT_EQ(colour, c.colour);
            }
        }
        EXPECT_EQ(points, 1u);
        EXPECT_EQ(lines, c.lines);
        HM_MODL_delete_list(&list);
    }
}

TEST_F(RdTest, ClosedCurveFoundAllRoundGivesOnePeriodicSplineAndATouchingSourceGetsThree) {
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t circle = host_testing::make_arc({100, 0, 50}, 20.0, 0.0, 2 * kPi);
    const tag_t touching = host_testing::make_line({0, 50, 0}, {0, 80, 30});
    refl_output_s settings{};
    settings.display[0] = {0, 3, 10};
    hm_list_p_t list = support::make_list({});
    const tag_t sources[2] = {circle, touching};
    int numbers[2] = {-1, -1};
    HM_VD_RD_create_reflect_refract_geometry(0, settings, 1, &plane, false, 2, sources, kEye, 16, 1.0, 0.0, 0.001, &list,
                                             numbers);
    EXPECT_EQ(numbers[0], 0);
    EXPECT_EQ(numbers[1], 3);
    const std::vector<tag_t> made = support::list_items(list);
    ASSERT_GE(made.size(), 1u);
    int closed = 0;
    EXPECT_EQ(HM_MODL_ask_curve_closed(made[0], &closed), 0);
    EXPECT_TRUE(closed);
    HM_MODL_delete_list(&list);
}

}  // namespace
