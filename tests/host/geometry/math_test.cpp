// The host's mathematics: vectors, orientation matrices, transformations,
// the numbered transformation routines, coordinate-system objects, mapping
// between absolute and a coordinate system, and least-squares fits.
#include "belmorra.h"
#include "core/model.h"
#include "host_fixture.h"
#include "omvra.h"
#include "rostval.h"
#include "test_helpers.h"

#include <Geom_Plane.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using support::expect_point;
using support::kPi;

using V3 = std::array<double, 3>;

void ExpectMatrix12(const double* actual, const std::array<double, 12>& expected, double tolerance) {
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

// A plane or datum-plane object of the work part, as the curve functions make it.
tag_t MakePlane(const V3& origin, const V3& normal, int type = HM_plane_type) {
    host::Object& o = host::create(type, 0);
    o.surface = new Geom_Plane(gp_Pnt(origin[0], origin[1], origin[2]), gp_Dir(normal[0], normal[1], normal[2]));
    return o.tag;
}

/* ---- vectors ---- */

class VectorTest : public HostTest {};

TEST_F(VectorTest, AngleBetweenIsTheSignedTurnAboutTheReferenceInEveryQuadrant) {
    // `to` at the given angle in the xy plane, both vectors with a part
    // along the axis that must not change the answer.
    const double from[3] = {2.0, 0.0, -3.0};
    for (double degrees : {0.0, 30.0, 90.0, 135.0, 180.0, 225.0, 270.0, 330.0}) {
        SCOPED_TRACE(degrees);
        const double t = degrees * kPi / 180.0;
        const double to[3] = {3.0 * std::cos(t), 3.0 * std::sin(t), 5.0};
        const double up[3] = {0.0, 0.0, 7.0}, down[3] = {0.0, 0.0, -1.0};
        double angle = -1.0;
        ASSERT_EQ(HM_VEC3_angle_between(from, to, up, &angle), 0);
        EXPECT_NEAR(angle, t, 1e-12);
        ASSERT_EQ(HM_VEC3_angle_between(from, to, down, &angle), 0);
        EXPECT_NEAR(angle, degrees == 0.0 ? 0.0 : 2.0 * kPi - t, 1e-12);
    }
}

TEST_F(VectorTest, AngleBetweenStaysBelowTwoPiAndFallsBackToTheUnsignedAngleWithoutReference) {
    const double from[3] = {1.0, 0.0, 0.0}, z[3] = {0.0, 0.0, 1.0}, none[3] = {0.0, 0.0, 0.0};
    const double just_below[3] = {1.0, -1e-17, 0.0};
    double angle = -1.0;
    ASSERT_EQ(HM_VEC3_angle_between(from, just_below, z, &angle), 0);
    EXPECT_GE(angle, 0.0);
    EXPECT_LT(angle, 2.0 * kPi);

    const double minus_y[3] = {0.0, -4.0, 0.0};
    ASSERT_EQ(HM_VEC3_angle_between(from, minus_y, none, &angle), 0);
    EXPECT_NEAR(angle, kPi / 2.0, 1e-15);
    ASSERT_EQ(HM_VEC3_angle_between(none, minus_y, z, &angle), 0);
    EXPECT_EQ(angle, 0.0);
}

TEST_F(VectorTest, UnitizeFailsForZeroAndShortVectorsWithoutNaN) {
    struct Case {
        V3 v;
        double tolerance;
        int result;
        V3 unit;
        double magnitude;
    } cases[] = {
        {{3.0, 4.0, 0.0}, 1e-10, 0, {0.6, 0.8, 0.0}, 5.0},
        {{0.0, 0.0, 0.0}, 0.0, HM_ERR_BAD_ARGUMENT, {0.0, 0.0, 0.0}, 0.0},
        {{1e-6, 0.0, 0.0}, 1e-5, HM_ERR_BAD_ARGUMENT, {0.0, 0.0, 0.0}, 1e-6},
        {{0.0, -1e-5, 0.0}, 1e-5, 0, {0.0, -1.0, 0.0}, 1e-5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v[0] + c.v[1]);
        double unit[3] = {7, 7, 7}, magnitude = -1.0;
        EXPECT_EQ(HM_VEC3_unitize(c.v.data(), c.tolerance, &magnitude, unit), c.result);
        expect_point(unit, c.unit, 1e-15);
        EXPECT_NEAR(magnitude, c.magnitude, 1e-15);
    }
    double v2[2] = {0.0, 0.0}, u2[2], m2;
    EXPECT_EQ(HM_VEC2_unitize(v2, 1e-10, &m2, u2), HM_ERR_BAD_ARGUMENT);
    EXPECT_FALSE(std::isnan(u2[0]) || std::isnan(u2[1]));
}

TEST_F(VectorTest, ParallelCountsAntiparallelAndTolerancesAreInclusive) {
    struct Case {
        V3 a, b;
        double tolerance;
        int parallel, perpendicular;
    } cases[] = {
        {{1, 0, 0}, {5, 0, 0}, 0.0, 1, 0},
        {{1, 0, 0}, {-3, 0, 0}, 0.0, 1, 0},            // antiparallel counts
        {{1, 0, 0}, {1, 1e-12, 0}, 1e-10, 1, 0},
        {{1, 0, 0}, {1, 1e-3, 0}, 1e-10, 0, 0},
        {{1, 0, 0}, {0, 2, 0}, 1e-10, 0, 1},
        {{0, 0, 0}, {0, 2, 0}, 0.0, 1, 1},             // a zero vector has no direction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.b[0] << "," << c.b[1]);
        int parallel = -1, perpendicular = -1;
        ASSERT_EQ(HM_VEC3_is_parallel(c.a.data(), c.b.data(), c.tolerance, &parallel), 0);
        ASSERT_EQ(HM_VEC3_is_perpendicular(c.a.data(), c.b.data(), c.tolerance, &perpendicular), 0);
        EXPECT_EQ(parallel, c.parallel);
        EXPECT_EQ(perpendicular, c.perpendicular);
    }
    const double a[3] = {1, 2, 3}, b[3] = {1, 2, 3.5};
    int equal = -1;
    ASSERT_EQ(HM_VEC3_is_equal(a, b, 0.5, &equal), 0);
    EXPECT_EQ(equal, 1);
    ASSERT_EQ(HM_VEC3_is_equal(a, b, 0.4999, &equal), 0);
    EXPECT_EQ(equal, 0);
}

TEST_F(VectorTest, DistanceToPlaneIsSignedAlongTheNormal) {
    const double point[3] = {1, 2, 5}, on_plane[3] = {7, -3, 2};
    const double down[3] = {0, 0, -4}, up[3] = {0, 0, 0.5}, none[3] = {0, 0, 0};
    double d = 0.0;
    ASSERT_EQ(HM_VEC3_distance_to_plane(point, on_plane, down, 1e-10, &d), 0);
    EXPECT_NEAR(d, -3.0, 1e-15);
    ASSERT_EQ(HM_VEC3_distance_to_plane(point, on_plane, up, 1e-10, &d), 0);
    EXPECT_NEAR(d, 3.0, 1e-15);
    EXPECT_EQ(HM_VEC3_distance_to_plane(point, on_plane, none, 0.0, &d), HM_ERR_BAD_ARGUMENT);
}

TEST_F(VectorTest, TwoDimensionalVectorsRotateCounterClockwiseAndCombine) {
    const double v[2] = {2.0, 0.0};
    double out[2];
    ASSERT_EQ(HM_VEC2_rotate(v, kPi / 2.0, out), 0);
    EXPECT_NEAR(out[0], 0.0, 1e-15);
    EXPECT_NEAR(out[1], 2.0, 1e-15);
    ASSERT_EQ(HM_VEC2_rotate(v, -kPi / 6.0, out), 0);
    EXPECT_NEAR(out[0], std::sqrt(3.0), 1e-15);
    EXPECT_NEAR(out[1], -1.0, 1e-15);

    const double p[2] = {1.0, 1.0}, w[2] = {0.6, 0.8};
    ASSERT_EQ(HM_VEC2_affine_comb(p, 5.0, w, out), 0);
    EXPECT_NEAR(out[0], 4.0, 1e-15);
    EXPECT_NEAR(out[1], 5.0, 1e-15);
    double distance = 0.0;
    ASSERT_EQ(HM_VEC2_distance(p, out, &distance), 0);
    EXPECT_NEAR(distance, 5.0, 1e-15);
}

/* ---- orientation matrices ---- */

class OrientationMatrixTest : public HostTest {};

void ExpectRightHandedOrthonormal(const double* m) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double d = m[3 * i] * m[3 * j] + m[3 * i + 1] * m[3 * j + 1] + m[3 * i + 2] * m[3 * j + 2];
            EXPECT_NEAR(d, i == j ? 1.0 : 0.0, 1e-14) << "rows " << i << ", " << j;
        }
    const double x[3] = {m[0], m[1], m[2]}, y[3] = {m[3], m[4], m[5]};
    double z[3];
    HM_VEC3_cross(x, y, z);
    expect_point(z, {m[6], m[7], m[8]}, 1e-14);
}

TEST_F(OrientationMatrixTest, InitialisesRightHandedAxesFromTheGivenDirections) {
    const double x[3] = {0, 2, 0}, y[3] = {0, 1, 3};   // y not yet normal to x
    double m[9];
    ASSERT_EQ(HM_MTX3_initialize(x, y, m), 0);
    const std::array<double, 9> expected{0, 1, 0, 0, 0, 1, 1, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], expected[i], 1e-15) << i;
    EXPECT_EQ(HM_MTX3_initialize(x, x, m), HM_ERR_BAD_ARGUMENT);
    const double zero[3] = {0, 0, 0};
    EXPECT_EQ(HM_MTX3_initialize(zero, y, m), HM_ERR_BAD_ARGUMENT);

    for (V3 axis : {V3{0, 0, 1}, V3{0, 0, -2}, V3{1, 2, 3}, V3{-5, 0.1, 0}}) {
        SCOPED_TRACE(axis[0] + 10 * axis[1] + 100 * axis[2]);
        double unit[3], magnitude, row[3];
        HM_VEC3_unitize(axis.data(), 0.0, &magnitude, unit);
        ASSERT_EQ(HM_MTX3_initialize_z(axis.data(), m), 0);
        ExpectRightHandedOrthonormal(m);
        HM_MTX3_z_vec(m, row);
        expect_point(row, {unit[0], unit[1], unit[2]}, 1e-15);
        ASSERT_EQ(HM_MTX3_initialize_x(axis.data(), m), 0);
        ExpectRightHandedOrthonormal(m);
        HM_MTX3_x_vec(m, row);
        expect_point(row, {unit[0], unit[1], unit[2]}, 1e-15);
    }
    const double z[3] = {0, 0, 1};
    ASSERT_EQ(HM_MTX3_initialize_z(z, m), 0);
    const std::array<double, 9> identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(m[i], identity[i]) << i;
    EXPECT_EQ(HM_MTX3_initialize_z(zero, m), HM_ERR_BAD_ARGUMENT);
}

TEST_F(OrientationMatrixTest, MultiplyingAVectorGivesComponentsAlongTheAxes) {
    const double m[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};   // x along absolute y
    const double v[3] = {3, 4, 5};
    double out[3], t[9];
    ASSERT_EQ(HM_MTX3_vec_multiply(v, m, out), 0);
    expect_point(out, {4, -3, 5}, 0.0);
    ASSERT_EQ(HM_MTX3_transpose(m, t), 0);
    HM_MTX3_vec_multiply(out, t, out);   // in place, and back
    expect_point(out, {3, 4, 5}, 0.0);
}

/* ---- transformations ---- */

class TransformTest : public HostTest {};

TEST_F(TransformTest, RotationAboutAnAxisThroughAPoint) {
    const double origin[3] = {1, 0, 0}, z[3] = {0, 0, 3};
    double m[16];
    ASSERT_EQ(HM_MTX4_rotation(origin, z, 90.0, m), 0);
    const double expected[16] = {0, -1, 0, 1, 1, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-15) << i;
    const double p[3] = {2, 0, 7};
    double out[3];
    ASSERT_EQ(HM_MTX4_vec3_multiply(p, m, out), 0);
    expect_point(out, {1, 1, 7}, 1e-15);
}

TEST_F(TransformTest, MultiplyAppliesTheFirstOperandFirst) {
    const double o[3] = {0, 0, 0}, z[3] = {0, 0, 1}, x[3] = {1, 0, 0};
    double about_z[16], about_x[16], product[16], out[3];
    ASSERT_EQ(HM_MTX4_rotation(o, z, 90.0, about_z), 0);
    ASSERT_EQ(HM_MTX4_rotation(o, x, 90.0, about_x), 0);
    ASSERT_EQ(HM_MTX4_multiply(about_z, about_x, product), 0);
    const double p[3] = {1, 0, 0};
    HM_MTX4_vec3_multiply(p, product, out);
    expect_point(out, {0, 0, 1}, 1e-15);   // (1,0,0) -> (0,1,0) -> (0,0,1)
    ASSERT_EQ(HM_MTX4_multiply(about_x, about_z, product), 0);
    HM_MTX4_vec3_multiply(p, product, out);
    expect_point(out, {0, 1, 0}, 1e-15);
}

TEST_F(TransformTest, CsysToCsysCarriesOneFrameOntoTheOther) {
    // A frame at (10, 0, 0) whose x axis is absolute y.
    const double f_origin[3] = {10, 0, 0}, f_x[3] = {0, 1, 0}, f_y[3] = {-1, 0, 0};
    const double a_origin[3] = {0, 0, 0}, a_x[3] = {1, 0, 0}, a_y[3] = {0, 1, 0};
    double to_frame[16], to_absolute[16], out[3], t[3], r[9];
    ASSERT_EQ(HM_MTX4_csys_to_csys(f_origin, f_x, f_y, a_origin, a_x, a_y, to_frame), 0);
    const double absolute[3] = {10, 5, 2};
    HM_MTX4_vec3_multiply(absolute, to_frame, out);
    expect_point(out, {5, 0, 2}, 1e-14);   // the point's coordinates in the frame
    ASSERT_EQ(HM_MTX4_csys_to_csys(a_origin, a_x, a_y, f_origin, f_x, f_y, to_absolute), 0);
    HM_MTX4_vec3_multiply(out, to_absolute, out);
    expect_point(out, {10, 5, 2}, 1e-14);
    HM_MTX4_ask_translation(to_absolute, t);
    expect_point(t, {10, 0, 0}, 1e-14);
    HM_MTX4_ask_rotation(to_absolute, r);
    const double columns_are_axes[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(r[i], columns_are_axes[i], 1e-15) << i;
}

TEST_F(TransformTest, ZeroAxisIsTheIdentityOnlyForWholeTurns) {
    const double o[3] = {1, 2, 3}, zero[3] = {0, 0, 0};
    double m[16], twelve[12];
    for (double degrees : {0.0, 720.0, -360.0}) {
        ASSERT_EQ(HM_MTX4_rotation(o, zero, degrees, m), 0) << degrees;
        const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], identity[i]);
    }
    EXPECT_EQ(HM_MTX4_rotation(o, zero, 30.0, m), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hm5945(o, zero, 0.0, twelve), 0);
    EXPECT_EQ(hm5945(o, zero, 30.0, twelve), HM_ERR_BAD_ARGUMENT);
}

TEST_F(TransformTest, BuildersMatchHandComputedMatrices) {
    double m[12];
    const double shift[3] = {1, 2, 3};
    ASSERT_EQ(hm5943(shift, m), 0);
    ExpectMatrix12(m, {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3}, 0.0);

    const double centre[3] = {1, 1, 1}, twice[3] = {2, 5, 7};   // type 1 uses the first factor
    ASSERT_EQ(hm5944(1, centre, twice, m), 0);
    ExpectMatrix12(m, {2, 0, 0, -1, 0, 2, 0, -1, 0, 0, 2, -1}, 1e-15);

    const double at_x[3] = {1, 0, 0}, factors[3] = {2, 3, 4};
    ASSERT_EQ(hm5944(2, at_x, factors, m), 0);
    ExpectMatrix12(m, {2, 0, 0, -1, 0, 3, 0, 0, 0, 0, 4, 0}, 1e-15);

    // Rotation by 90 degrees about the x axis through (0, 1, 1).
    const double pivot[3] = {0, 1, 1}, x[3] = {2, 0, 0};
    ASSERT_EQ(hm5945(pivot, x, 90.0, m), 0);
    ExpectMatrix12(m, {1, 0, 0, 0, 0, 0, -1, 2, 0, 1, 0, 0}, 1e-15);

    // Translate by (1, 0, 0), then turn 90 degrees about z through the origin.
    double translate[12], turn[12], product[12];
    const double unit_x[3] = {1, 0, 0}, origin[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    ASSERT_EQ(hm5943(unit_x, translate), 0);
    ASSERT_EQ(hm5945(origin, z, 90.0, turn), 0);
    ASSERT_EQ(hm5942(translate, turn, product), 0);
    ExpectMatrix12(product, {0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0}, 1e-15);
    double p[3] = {1, 0, 0};
    ASSERT_EQ(hm5941(p, product), 0);
    expect_point(p, {0, 2, 0}, 1e-15);
    ASSERT_EQ(hm5942(turn, translate, turn), 0);   // in place: turn, then translate
    ExpectMatrix12(turn, {0, -1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0}, 1e-15);
}

TEST_F(TransformTest, NonUniformScalingFollowsTheWorkCoordinateSystem) {
    // Work axes: x along absolute y. Doubling along the work x axis doubles
    // absolute y.
    const double rows[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1}, origin[3] = {0, 0, 0};
    tag_t matrix = 0, csys = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(rows, &matrix), 0);
    ASSERT_EQ(HM_CSYS_create_csys(origin, matrix, &csys), 0);
    ASSERT_EQ(HM_CSYS_set_wcs(csys), 0);
    const double centre[3] = {0, 1, 0}, factors[3] = {2, 1, 1};
    double m[12];
    ASSERT_EQ(hm5944(2, centre, factors, m), 0);
    ExpectMatrix12(m, {1, 0, 0, 0, 0, 2, 0, -1, 0, 0, 1, 0}, 1e-15);
}

TEST_F(TransformTest, ReflectionAndPlaneEnquiryReadThePlaneObject) {
    double m[12], origin[3], normal[3];
    tag_t horizontal = MakePlane({3, 4, 5}, {0, 0, 1});
    ASSERT_EQ(hm5946(horizontal, m), 0);
    ExpectMatrix12(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 10}, 1e-15);
    ASSERT_EQ(hm5375(horizontal, origin, normal), 0);
    expect_point(origin, {3, 4, 5}, 0.0);
    expect_point(normal, {0, 0, 1}, 0.0);

    // A datum plane through the origin with normal (1, 1, 0): x and y swap
    // places with their signs changed.
    tag_t diagonal = MakePlane({0, 0, 0}, {1, 1, 0}, HM_datum_type);
    ASSERT_EQ(hm5946(diagonal, m), 0);
    ExpectMatrix12(m, {0, -1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0}, 1e-15);
    ASSERT_EQ(hm5375(diagonal, origin, normal), 0);
    expect_point(normal, {std::sqrt(0.5), std::sqrt(0.5), 0}, 1e-15);
}

TEST_F(TransformTest, RefuseBadInput) {
    double m[12], o[3], n[3];
    const double c[3] = {0, 0, 0}, ok[3] = {1, 1, 1}, zero_factor[3] = {1, 0, 1};
    host::Object& point = host::create(HM_point_type, 0);
    tag_t plane = MakePlane({0, 0, 0}, {0, 0, 1});
    tag_t deleted = MakePlane({0, 0, 0}, {0, 0, 1});
    ASSERT_EQ(HM_OBJ_delete_object(deleted), 0);

    EXPECT_EQ(hm5946(0, m), HM_ERR_INVALID_TAG);
    EXPECT_EQ(hm5946(deleted, m), HM_ERR_INVALID_TAG);
    EXPECT_EQ(hm5946(point.tag, m), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(hm5946(plane, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(hm5375(point.tag, o, n), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(hm5375(plane, o, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(hm5944(3, c, ok, m), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hm5944(2, c, zero_factor, m), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hm5941(nullptr, m), HM_ERR_NULL_POINTER);
    EXPECT_EQ(hm5942(m, nullptr, m), HM_ERR_NULL_POINTER);
}

/* ---- coordinate-system objects and the work coordinate system ---- */

class CsysTest : public HostTest {
protected:
    // A system at (10, 0, 0) whose x axis is absolute y.
    const double rows_[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const double origin_[3] = {10, 0, 0};
};

TEST_F(CsysTest, MatrixAndCsysObjectsKeepTheirValues) {
    tag_t matrix = 0, csys = 0, temp = 0, asked_matrix = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(rows_, &matrix), 0);
    ASSERT_EQ(HM_CSYS_create_csys(origin_, matrix, &csys), 0);
    ASSERT_EQ(HM_CSYS_create_temp_csys(origin_, matrix, &temp), 0);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(matrix, &type, &subtype);
    EXPECT_EQ(type, HM_matrix_type);
    HM_OBJ_ask_type_and_subtype(temp, &type, &subtype);
    EXPECT_EQ(type, HM_coordinate_system_type);

    double origin[3], values[9];
    ASSERT_EQ(HM_CSYS_ask_csys_info(csys, &asked_matrix, origin), 0);
    EXPECT_EQ(asked_matrix, matrix);
    expect_point(origin, {10, 0, 0}, 0.0);
    ASSERT_EQ(HM_CSYS_ask_matrix_values(asked_matrix, values), 0);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(values[i], rows_[i]);
}

TEST_F(CsysTest, RefusesBadMatricesTagsAndPointers) {
    const double skewed[9] = {1, 0, 0, 1, 1, 0, 0, 0, 1}, zeros[9] = {};
    tag_t matrix = 0, csys = 0;
    EXPECT_EQ(HM_CSYS_create_matrix(skewed, &matrix), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_CSYS_create_matrix(zeros, &matrix), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_CSYS_create_matrix(rows_, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(matrix, 0u);
    ASSERT_EQ(HM_CSYS_create_matrix(rows_, &matrix), 0);
    EXPECT_EQ(HM_CSYS_create_csys(origin_, 0, &csys), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_CSYS_create_csys(origin_, part_, &csys), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_CSYS_set_wcs(matrix), HM_ERR_WRONG_TYPE);
    double values[9], origin[3];
    tag_t asked = 0;
    EXPECT_EQ(HM_CSYS_ask_matrix_values(part_, values), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_CSYS_ask_csys_info(matrix, &asked, origin), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(host_testing::count_objects(0, HM_coordinate_system_type), 0);
}

TEST_F(CsysTest, WorkCoordinateSystemMapsPointsAndFallsBackToAbsolute) {
    tag_t wcs = 99, matrix = 0, csys = 0;
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
    EXPECT_EQ(wcs, 0u) << "a new part works in absolute coordinates";

    ASSERT_EQ(HM_CSYS_create_matrix(rows_, &matrix), 0);
    ASSERT_EQ(HM_CSYS_create_csys(origin_, matrix, &csys), 0);
    ASSERT_EQ(HM_CSYS_set_wcs(csys), 0);
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
    EXPECT_EQ(wcs, csys);

    const double absolute[3] = {10, 5, 2}, local[3] = {5, 0, 2};
    double out[3];
    ASSERT_EQ(HM_CSYS_map_point(HM_CSYS_ABSOLUTE, absolute, HM_CSYS_WORK, out), 0);
    expect_point(out, {5, 0, 2}, 1e-15);
    ASSERT_EQ(HM_CSYS_map_point(HM_CSYS_WORK, local, HM_CSYS_WORK_PART, out), 0);
    expect_point(out, {10, 5, 2}, 1e-15);
    ASSERT_EQ(HM_CSYS_map_point(HM_CSYS_WORK_PART, absolute, HM_CSYS_ABSOLUTE, out), 0);
    expect_point(out, {10, 5, 2}, 0.0);
    EXPECT_EQ(HM_CSYS_map_point(4, absolute, HM_CSYS_WORK, out), HM_ERR_BAD_ARGUMENT);

    // Deleting the system in use leaves the part in absolute coordinates.
    ASSERT_EQ(HM_OBJ_delete_object(csys), 0);
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
    EXPECT_EQ(wcs, 0u);
    ASSERT_EQ(HM_CSYS_map_point(HM_CSYS_ABSOLUTE, absolute, HM_CSYS_WORK, out), 0);
    expect_point(out, {10, 5, 2}, 0.0);
    EXPECT_EQ(HM_CSYS_set_wcs(0), 0);
}

/* ---- mapping between absolute and a vehicle coordinate system ---- */

class VehicleCsysMappingTest : public HostTest {};

TEST_F(VehicleCsysMappingTest, PointsAndVectorsRoundTrip) {
    // A vehicle frame at (100, 0, 50) turned half a turn about z.
    const double origin[3] = {100, 0, 50}, rows[9] = {-1, 0, 0, 0, -1, 0, 0, 0, 1};
    double p[3] = {90, 10, 60};
    ASSERT_EQ(VD_map_point_abs2csys(p, origin, rows, p), 0);   // in place
    expect_point(p, {10, -10, 10}, 0.0);
    ASSERT_EQ(VD_map_point_csys2abs(p, origin, rows, p), 0);
    expect_point(p, {90, 10, 60}, 0.0);

    const double forward[3] = {-1, 0, 0};
    double v[3];
    ASSERT_EQ(VD_map_vector_csys2abs(forward, rows, v), 0);
    expect_point(v, {1, 0, 0}, 0.0);
    ASSERT_EQ(VD_map_vector_abs2csys(v, rows, v), 0);
    expect_point(v, {-1, 0, 0}, 0.0);

    // A tilted frame: mapping out and back returns the point.
    double tilted[9];
    const double x[3] = {1, 1, 0}, y[3] = {0, 1, 1};
    ASSERT_EQ(HM_MTX3_initialize(x, y, tilted), 0);
    const double q[3] = {3, -7, 11};
    double local[3], back[3];
    ASSERT_EQ(VD_map_point_abs2csys(q, origin, tilted, local), 0);
    ASSERT_EQ(VD_map_point_csys2abs(local, origin, tilted, back), 0);
    expect_point(back, {3, -7, 11}, 1e-12);
    double distance = 0.0;
    HM_VEC3_distance(q, origin, &distance);
    double local_length = 0.0;
    HM_VEC3_mag(local, &local_length);
    EXPECT_NEAR(local_length, distance, 1e-12);
}

TEST_F(VehicleCsysMappingTest, RefusesANonOrthonormalMatrixAndTellsTheIdentity) {
    const double origin[3] = {0, 0, 0}, zeros[9] = {};
    double p[3] = {1, 2, 3}, out[3] = {7, 7, 7};
    EXPECT_EQ(VD_map_point_abs2csys(p, origin, zeros, out), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VD_map_vector_csys2abs(p, zeros, out), HM_ERR_BAD_ARGUMENT);
    expect_point(out, {7, 7, 7}, 0.0);
    EXPECT_EQ(VD_map_point_csys2abs(p, nullptr, zeros, out), HM_ERR_NULL_POINTER);

    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, nearly[9] = {1, 1e-12, 0, 0, 1, 0, 0, 0, 1};
    const double turned[9] = {-1, 0, 0, 0, -1, 0, 0, 0, 1}, moved[3] = {0, 0, 1e-3};
    EXPECT_TRUE(VD_csys_is_identity(origin, identity));
    EXPECT_TRUE(VD_csys_is_identity(origin, nearly));
    EXPECT_FALSE(VD_csys_is_identity(origin, turned));
    EXPECT_FALSE(VD_csys_is_identity(moved, identity));
    EXPECT_FALSE(VD_csys_is_identity(nullptr, identity));
}

/* ---- least-squares fits ---- */

class LeastSquaresFitTest : public HostTest {};

std::vector<double> Pack(const std::vector<V3>& points) {
    std::vector<double> packed;
    for (const V3& p : points) packed.insert(packed.end(), p.begin(), p.end());
    return packed;
}

// n points of the circle with the given centre and radius in the plane
// normal to `normal`.
std::vector<V3> Circle(const V3& centre, double radius, const V3& normal, int n, double phase = 0.3) {
    double m[9], u[3], v[3];
    HM_MTX3_initialize_z(normal.data(), m);
    HM_MTX3_x_vec(m, u);
    HM_MTX3_y_vec(m, v);
    std::vector<V3> points;
    for (int i = 0; i < n; ++i) {
        const double t = phase + 2.0 * kPi * i / n;
        V3 p;
        for (int k = 0; k < 3; ++k) p[k] = centre[k] + radius * (std::cos(t) * u[k] + std::sin(t) * v[k]);
        points.push_back(p);
    }
    return points;
}

TEST_F(LeastSquaresFitTest, PlaneThroughExactPointsFollowsTheHint) {
    // Points of the plane z = 2x + 1.
    const auto packed = Pack({{0, 0, 1}, {1, 0, 3}, {0, 1, 1}, {1, 1, 3}, {2, 5, 5}});
    double origin[3], normal[3] = {1, 0, 0};
    ASSERT_EQ(LSFIT_plane_to_points(5, packed.data(), origin, normal), 0);
    expect_point(origin, {0.8, 1.4, 2.6}, 1e-14);
    const double s = 1.0 / std::sqrt(5.0);
    expect_point(normal, {2 * s, 0, -s}, 1e-12);
    normal[0] = 0, normal[2] = 1;
    ASSERT_EQ(LSFIT_plane_to_points(5, packed.data(), origin, normal), 0);
    expect_point(normal, {-2 * s, 0, s}, 1e-12);
}

TEST_F(LeastSquaresFitTest, SphereCircleAndTheMinimumNormCentreOfCoplanarPoints) {
    // An exact sphere: centre (1, -2, 3), radius 5.
    std::vector<V3> on_sphere;
    for (V3 d : {V3{1, 0, 0}, V3{-1, 0, 0}, V3{0, 1, 0}, V3{0, -1, 0}, V3{0, 0, 1}, V3{0, 0.6, -0.8}, V3{0.8, 0, 0.6}})
        on_sphere.push_back({1 + 5 * d[0], -2 + 5 * d[1], 3 + 5 * d[2]});
    auto packed = Pack(on_sphere);
    double centre[3], radius = 0.0;
    ASSERT_EQ(LSFIT_sphere_to_points_3d(7, packed.data(), centre, &radius), 0);
    expect_point(centre, {1, -2, 3}, 1e-9);
    EXPECT_NEAR(radius, 5.0, 1e-9);

    // A tilted circle far from the origin: the sphere fit puts the centre in
    // the circle's plane, and the circle fit finds the same circle.
    packed = Pack(Circle({100, -40, 25}, 4.0, {1, 1, 1}, 9));
    ASSERT_EQ(LSFIT_sphere_to_points_3d(9, packed.data(), centre, &radius), 0);
    expect_point(centre, {100, -40, 25}, 1e-8);
    EXPECT_NEAR(radius, 4.0, 1e-8);
    ASSERT_EQ(LSFIT_circle_to_points_3d(9, packed.data(), centre, &radius), 0);
    expect_point(centre, {100, -40, 25}, 1e-9);
    EXPECT_NEAR(radius, 4.0, 1e-9);
}

TEST_F(LeastSquaresFitTest, DegenerateInputFailsWithoutWriting) {
    const auto collinear = Pack({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {5, 5, 5}});
    const auto too_few = Pack({{0, 0, 0}, {1, 0, 0}});
    auto with_nan = Pack({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    with_nan[4] = std::nan("");
    struct Case {
        const char* name;
        std::function<int(int, const double*, double*, double*)> fit;
    } fits[] = {
        {"plane", [](int n, const double* p, double* c, double* r) { return LSFIT_plane_to_points(n, p, c, r); }},
        {"sphere", [](int n, const double* p, double* c, double* r) { return LSFIT_sphere_to_points_3d(n, p, c, r); }},
        {"circle", [](int n, const double* p, double* c, double* r) { return LSFIT_circle_to_points_3d(n, p, c, r); }},
    };
    for (const Case& c : fits) {
        SCOPED_TRACE(c.name);
        double out[3] = {7, 7, 7}, second[3] = {7, 7, 7};
        EXPECT_EQ(c.fit(4, collinear.data(), out, second), HM_ERR_GEOMETRY);
        EXPECT_EQ(c.fit(2, too_few.data(), out, second), HM_ERR_BAD_ARGUMENT);
        EXPECT_EQ(c.fit(3, with_nan.data(), out, second), HM_ERR_BAD_ARGUMENT);
        EXPECT_EQ(c.fit(3, nullptr, out, second), HM_ERR_NULL_POINTER);
        EXPECT_EQ(c.fit(4, collinear.data(), nullptr, second), HM_ERR_NULL_POINTER);
        expect_point(out, {7, 7, 7}, 0.0);
        EXPECT_EQ(second[0], 7.0);
    }
}

/* ---- null pointers ---- */

class MathTest : public HostTest {};

TEST_F(MathTest, NullPointersForEveryOutputAreRefused) {
    const double a[3] = {1, 2, 3};
    double m16[16], m9[9];
    HM_MTX4_identity(m16);
    HM_MTX3_initialize_z(a, m9);
    int flag;
    std::function<int()> calls[] = {
        [&] { return HM_VEC3_unitize(a, 0.0, nullptr, m9); },
        [&] { return HM_VEC3_angle_between(a, a, a, nullptr); },
        [&] { return HM_VEC3_is_parallel(a, nullptr, 0.0, &flag); },
        [&] { return HM_VEC3_distance(a, a, nullptr); },
        [&] { return HM_VEC3_distance_to_plane(a, a, a, 0.0, nullptr); },
        [&] { return HM_VEC3_cross(a, a, nullptr); },
        [&] { return HM_VEC2_rotate(a, 1.0, nullptr); },
        [&] { return HM_MTX3_initialize(a, nullptr, m9); },
        [&] { return HM_MTX3_vec_multiply(a, nullptr, m9); },
        [&] { return HM_MTX4_rotation(a, a, 1.0, nullptr); },
        [&] { return HM_MTX4_vec3_multiply(a, m16, nullptr); },
        [&] { return HM_MTX4_multiply(m16, nullptr, m16); },
        [&] { return HM_CSYS_map_point(1, nullptr, 3, m9); },
        [&] { return HM_CSYS_ask_wcs(nullptr); },
        [&] { return HM_VEC3_dot(a, a, nullptr); },
    };
    for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i](), HM_ERR_NULL_POINTER) << "call " << i;
}

}  // namespace
