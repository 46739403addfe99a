// Body utilities of the toolbox: boxes in a coordinate system, mapped object
// lists, datum-plane parameters, component placement, bounded planes, ruled
// sheets, ellipsoids, scaled copies and faces sewn into one sheet.
#include "host_fixture.h"
#include "test_helpers.h"
#include "hm_vd/bodies.h"
#include "omvra.h"
#include "quillon.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using support::faces_of;
using support::kPi;
using support::list_items;
using support::make_list;
using support::turned;

using host_testing::Point3;

// Coordinates of an absolute point in the system.
Point3 local(const Point3& p, const double origin[3], const std::array<double, 9>& m) {
    Point3 out{};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k) out[r] += m[3 * r + k] * (p[k] - origin[k]);
    return out;
}

int count_bodies(tag_t part) {
    int n = 0;
    for (tag_t t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, 0); t;
         t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, t)) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
        if (subtype == HM_solid_body_subtype) ++n;
    }
    return n;
}

/* ---- boxes in a coordinate system ---- */

// Body utilities, section by section.
class BodiesTest : public HostTest {};

TEST_F(BodiesTest, BoxOfABoxInATurnedFrameIsItsCornersExtremes) {
    const double corner[3] = {1, 2, 3}, size[3] = {10, 20, 5};
    tag_t box = host_testing::make_box(corner, size);
    const double origin[3] = {-4, 7, 1};
    const std::array<double, 9> m = turned(30);
    const int before = host_testing::count_objects();
    double out[6];
    ASSERT_EQ(HM_VD_ask_bounding_box_local(box, origin, m.data(), out), 0);
    Point3 lo = {1e9, 1e9, 1e9}, hi = {-1e9, -1e9, -1e9};
    for (int i = 0; i < 8; ++i) {
        const Point3 c = {corner[0] + size[0] * (i & 1), corner[1] + size[1] * ((i >> 1) & 1),
                          corner[2] + size[2] * ((i >> 2) & 1)};
        const Point3 l = local(c, origin, m);
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], l[k]);
            hi[k] = std::max(hi[k], l[k]);
        }
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(out[k], lo[k], 1e-6) << k;
        EXPECT_NEAR(out[k + 3], hi[k], 1e-6) << k;
    }
    EXPECT_EQ(host_testing::count_objects(), before) << "no coordinate system or matrix is left behind";
    ExpectNoLeaks();
}

TEST_F(BodiesTest, CylinderAlongTheFrameAxisGetsItsOwnSize) {
    // Height 20 along the frame's x axis, diameter 4: a loose box would be wider.
    const double origin[3] = {5, 5, 5};
    const std::array<double, 9> m = turned(40);
    const double axis[3] = {m[0], m[1], m[2]};
    tag_t cylinder = host_testing::make_cylinder(origin, axis, 4, 20);
    double out[6];
    ASSERT_EQ(HM_VD_ask_bounding_box_local(cylinder, origin, m.data(), out), 0);
    const double expected[6] = {0, -2, -2, 20, 2, 2};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(out[k], expected[k], 1e-6) << k;
}

TEST_F(BodiesTest, LocalBoxFailuresLeaveNothingBehind) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1}, origin[3] = {0, 0, 0};
    tag_t box = host_testing::make_box(corner, size);
    const double skewed[9] = {1, 0, 0, 1, 1, 0, 0, 0, 1};
    const std::array<double, 9> m = turned(0);
    const int before = host_testing::count_objects();
    double out[6];
    EXPECT_NE(HM_VD_ask_bounding_box_local(box, origin, skewed, out), 0) << "not an orientation";
    EXPECT_EQ(HM_VD_ask_bounding_box_local(0, origin, m.data(), out), HM_ERR_INVALID_TAG);
    EXPECT_EQ(host_testing::count_objects(), before);
}

/* ---- mapped lists ---- */

TEST_F(BodiesTest, PointsMappedBothWaysInOrder) {
    const double origin[3] = {10, 0, 0};
    const std::array<double, 9> m = turned(90);
    hm_list_p_t list = make_list({host_testing::make_point({1, 0, 0}), host_testing::make_point({0, 2, 3})});
    hm_list_p_t absolute = nullptr, back = nullptr;
    ASSERT_EQ(VD_map_geom_csys2abs_list(list, origin, m.data(), &absolute), 0);
    std::vector<tag_t> mapped = list_items(absolute);
    ASSERT_EQ(mapped.size(), 2u);
    // x of the system is absolute y, y of the system absolute -x.
    const Point3 expected[2] = {{10, 1, 0}, {8, 0, 3}};
    for (int i = 0; i < 2; ++i) {
        double p[3];
        ASSERT_EQ(HM_CURVE_ask_point_data(mapped[i], p), 0);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], expected[i][k], 1e-12);
    }
    ASSERT_EQ(VD_map_geom_abs2csys_list(absolute, origin, m.data(), &back), 0);
    double p[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(list_items(back)[1], p), 0);
    EXPECT_NEAR(p[1], 2, 1e-12);
    EXPECT_NEAR(p[2], 3, 1e-12);
    for (hm_list_p_t* l : {&list, &absolute, &back}) HM_MODL_delete_list(l);
    ExpectNoLeaks();
}

TEST_F(BodiesTest, MappingAnEmptyListGivesANewEmptyListAndFailuresAreReported) {
    const double origin[3] = {0, 0, 0};
    const std::array<double, 9> m = turned(0);
    hm_list_p_t empty = make_list({}), mapped = nullptr;
    ASSERT_EQ(VD_map_geom_csys2abs_list(empty, origin, m.data(), &mapped), 0);
    EXPECT_NE(mapped, nullptr);
    EXPECT_TRUE(list_items(mapped).empty());
    HM_MODL_delete_list(&mapped);
    // A null object cannot be mapped: left out, its code answered.
    hm_list_p_t list = make_list({0, host_testing::make_point({1, 1, 1})});
    EXPECT_NE(VD_map_geom_abs2csys_list(list, origin, m.data(), &mapped), 0);
    EXPECT_EQ(list_items(mapped).size(), 1u);
    for (hm_list_p_t* l : {&empty, &list, &mapped}) HM_MODL_delete_list(l);
    ExpectNoLeaks();
}

/* ---- datum planes and components ---- */

TEST_F(BodiesTest, DatumPlaneParametersFromDatumOrFeature) {
    tag_t feature = 0;
    tag_t datum = host_testing::make_datum_plane({1, 2, 3}, {0, 0, 2}, &feature);
    for (tag_t object : {datum, feature}) {
        double origin[3], normal[3];
        ASSERT_EQ(HM_VD_ask_datum_plane_parms(object, origin, normal), 0);
        EXPECT_NEAR(origin[2], 3, 1e-12);
        EXPECT_NEAR(normal[2], 1, 1e-12);
    }
}

TEST_F(BodiesTest, WrongObjectsAnswer875033AndWriteNothing) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t block = host_testing::make_box(corner, size);
    tag_t block_feature = HM_OBJ_cycle_objs_in_part(part_, HM_feature_type, 0);
    // A datum-plane feature that lost its datum: no plane to answer.
    tag_t bare = host_testing::add_feature("DATUM_PLANE", 0);
    struct Case {
        const char* what;
        tag_t object;
    } cases[] = {
        {"body", block},
        {"extrude feature", host_testing::add_feature("EXTRUDE", block)},
        {"block feature", block_feature},
        {"datum-plane feature without its datum", bare},
        {"plane", host_testing::make_plane({0, 0, 0}, {0, 0, 1})},
    };
    for (const Case& c : cases) {
        double origin[3] = {7, 7, 7}, normal[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_ask_datum_plane_parms(c.object, origin, normal), 875033) << c.what;
        EXPECT_EQ(origin[0], 7) << c.what;
        EXPECT_EQ(normal[0], 7) << c.what;
    }
    ExpectNoLeaks();
}

TEST_F(BodiesTest, ComponentPlacementOfAPartInTheAssembly) {
    const tag_t assembly = part_;
    const tag_t door = host_testing::make_part("door");
    ASSERT_EQ(HM_PART_set_display_part(assembly), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly), 0);
    const double placement[3] = {100, 50, 20};
    const std::array<double, 9> m = turned(90);
    ASSERT_NE(host_testing::add_component(door, "DOOR", placement, m.data()), 0u);

    double origin[3], x[3], y[3];
    ASSERT_EQ(HM_VD_ask_component_csys("door", origin, x, y), 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(origin[k], placement[k], 1e-12);
        EXPECT_NEAR(x[k], m[k], 1e-12);
        EXPECT_NEAR(y[k], m[3 + k], 1e-12);
    }
    EXPECT_EQ(HM_ASSEM_ask_work_part(), assembly) << "the work part is restored";

    // The assembly itself has no occurrence, and an unknown part none either.
    for (const char* name : {"work_part", "no_such_part"}) {
        ASSERT_EQ(HM_VD_ask_component_csys(name, origin, x, y), 0) << name;
        EXPECT_EQ(origin[0], 0) << name;
        EXPECT_EQ(x[0], 1) << name;
        EXPECT_EQ(y[1], 1) << name;
        EXPECT_EQ(HM_ASSEM_ask_work_part(), assembly) << name;
    }
}

/* ---- bounded planes and ruled sheets ---- */

TEST_F(BodiesTest, BoundedPlaneFromAClosedList) {
    hm_list_p_t square = make_list({host_testing::make_line({0, 0, 2}, {10, 0, 2}),
                                  host_testing::make_line({10, 0, 2}, {10, 10, 2}),
                                  host_testing::make_line({10, 10, 2}, {0, 10, 2}),
                                  host_testing::make_line({0, 10, 2}, {0, 0, 2})});
    tag_t sheet = 0;
    ASSERT_EQ(HM_VD_create_bplane(square, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100, 1e-9);
    HM_MODL_delete_list(&square);
    ExpectNoLeaks();
}

TEST_F(BodiesTest, BoundedPlaneFailuresLogTheHostMessage) {
    tag_t sheet = 7;
    hm_list_p_t empty = make_list({});
    EXPECT_EQ(HM_VD_create_bplane(empty, &sheet), -1);
    EXPECT_EQ(HM_VD_create_bplane(nullptr, &sheet), -1);
    EXPECT_EQ(sheet, 0u);
    hm_list_p_t open = make_list({host_testing::make_line({0, 0, 0}, {10, 0, 0}),
                                host_testing::make_line({10, 0, 0}, {10, 10, 0})});
    const int before = host_testing::count_objects();
    host_testing::clear_sinks();
    const int result = HM_VD_create_bplane(open, &sheet);
    EXPECT_NE(result, 0);
    EXPECT_EQ(sheet, 0u);
    EXPECT_EQ(host_testing::count_objects(), before);
    ASSERT_EQ(host_testing::syslog().size(), 1u);
    EXPECT_NE(host_testing::syslog()[0].find(HM_get_fail_message(result)), std::string::npos);
    HM_MODL_delete_list(&empty);
    HM_MODL_delete_list(&open);
    ExpectNoLeaks();
}

TEST_F(BodiesTest, RuledSheetTriesTheOptionsInOrder) {
    hm_list_p_t apex = make_list({host_testing::make_point({0, 0, 4})});
    hm_list_p_t base = make_list({host_testing::make_arc({0, 0, 0}, 3, 0, 2 * kPi)});
    struct Case {
        const char* what;
        std::vector<int> options;
        bool made;
    } cases[] = {
        {"first option works", {2, 1}, true},
        {"first option refused, second works", {7, 1}, true},
        {"every option refused", {7, 8}, false},
        {"no options", {}, false},
    };
    for (const Case& c : cases) {
        tag_t sheet = 99;
        const int result = HM_VD_create_ruled(apex, base, 0, true, c.options.data(), int(c.options.size()), &sheet);
        if (c.made) {
            EXPECT_EQ(result, 0) << c.what;
            // The cone's lateral area: pi r s with the slant s = 5.
            EXPECT_NEAR(host_testing::surface_area(sheet), kPi * 3 * 5, 1e-3) << c.what;
        } else {
            EXPECT_NE(result, 0) << c.what;
            EXPECT_EQ(sheet, 0u) << c.what;
        }
    }
    tag_t sheet = 0;
    EXPECT_EQ(HM_VD_create_ruled(apex, base, 0, true, nullptr, 0, &sheet), -1);
    HM_MODL_delete_list(&apex);
    HM_MODL_delete_list(&base);
    ExpectNoLeaks();
}

TEST_F(BodiesTest, RuledSheetFlagKeepsOrReversesTheSecondString) {
    hm_list_p_t a = make_list({host_testing::make_line({0, 0, 0}, {10, 0, 0})});
    hm_list_p_t b = make_list({host_testing::make_line({0, 10, 0}, {10, 10, 0})});
    const int options[1] = {1};
    tag_t sheet = 0;
    ASSERT_EQ(HM_VD_create_ruled(a, b, 0, true, options, 1, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100, 1e-6);
    // Reversed, the rulings cross into a flat bow tie of two triangles of 25.
    ASSERT_EQ(HM_VD_create_ruled(a, b, 0, false, options, 1, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 50, 1.0);
    HM_MODL_delete_list(&a);
    HM_MODL_delete_list(&b);
}

/* ---- ellipsoids and scaled copies ---- */

TEST_F(BodiesTest, EllipsoidSemiAxesAlongTheGivenDirections) {
    const double centre[3] = {10, 20, 30}, semi[3] = {8, 4, 2};
    const std::array<double, 9> m = turned(25);
    const double axes[6] = {m[0], m[1], m[2], m[3], m[4], m[5]};
    const int before = count_bodies(part_);
    tag_t body = 0;
    ASSERT_EQ(HM_VD_create_ellipsoid(centre, semi, axes, &body), 0);
    ASSERT_NE(body, 0u);
    double box[6];
    ASSERT_EQ(HM_VD_ask_bounding_box_local(body, centre, m.data(), box), 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(box[k], -semi[k], 1e-4) << k;
        EXPECT_NEAR(box[k + 3], semi[k], 1e-4) << k;
    }
    EXPECT_NEAR(host_testing::volume(body), 4.0 / 3.0 * kPi * 8 * 4 * 2, 1e-3);
    // One new body; no temporary coordinate system or matrix stays.
    EXPECT_EQ(host_testing::count_objects(0, HM_coordinate_system_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_matrix_type), 0);
    EXPECT_EQ(count_bodies(part_), before + 1);
}

TEST_F(BodiesTest, EllipsoidScaleFactorsKeepTheirFullPrecision) {
    // A thin semi-axis whose doubled length has more than six decimals: with
    // six decimals it would be 0.002469 instead of 0.002469134, 5.4e-5 off
    // in relative terms; the volume 4/3 pi a b c shows it (the kernel's
    // volume is good to about 2e-7 relative).
    const double centre[3] = {0, 0, 0}, axes[6] = {1, 0, 0, 0, 1, 0};
    const double cases[][3] = {{0.001234567, 10, 10}, {10, 0.001234567, 10}};
    for (const auto& semi : cases) {
        SCOPED_TRACE(semi[0]);
        tag_t body = 0;
        ASSERT_EQ(HM_VD_create_ellipsoid(centre, semi, axes, &body), 0);
        const double expected = 4.0 / 3.0 * kPi * semi[0] * semi[1] * semi[2];
        EXPECT_NEAR(host_testing::volume(body) / expected, 1.0, 1e-6);
    }
}

TEST_F(BodiesTest, EllipsoidWithADegenerateSemiAxisIsNotMade) {
    const double centre[3] = {0, 0, 0}, semi[3] = {8, 0, 2}, axes[6] = {1, 0, 0, 0, 1, 0};
    const int before = host_testing::count_objects();
    tag_t body = 5;
    EXPECT_NE(HM_VD_create_ellipsoid(centre, semi, axes, &body), 0);
    EXPECT_EQ(body, 0u);
    EXPECT_EQ(host_testing::count_objects(), before);
    ExpectNoLeaks();
}

TEST_F(BodiesTest, ScaledCopyAboutACentre) {
    const double corner[3] = {0, 0, 0}, size[3] = {2, 4, 6};
    tag_t box = host_testing::make_box(corner, size);
    tag_t feature = HM_OBJ_cycle_objs_in_part(part_, HM_feature_type, 0);
    const double centre[3] = {1, 2, 3};
    for (tag_t object : {box, feature}) {
        tag_t copy = 0;
        HM_VD_scale_object(object, centre, -1.5, &copy);
        ASSERT_NE(copy, 0u);
        ASSERT_NE(copy, box);
        double scaled[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(copy, scaled), 0);
        const double expected[6] = {-0.5, -1, -1.5, 2.5, 5, 7.5};
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(scaled[k], expected[k], 1e-6) << k;
    }
    double original[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(box, original), 0);
    EXPECT_NEAR(original[3], 2, 1e-9) << "the original stays";
    tag_t copy = 5;
    HM_VD_scale_object(0, centre, 2, &copy);
    EXPECT_EQ(copy, 0u);
}

/* ---- faces sewn into one sheet ---- */

class SewFacesTest : public HostTest {
protected:
    // Faces of a box [0, 10]^3 by the outward axis of their normal.
    void SetUp() override {
        HostTest::SetUp();
        const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
        box_ = host_testing::make_box(corner, size);
        for (tag_t f : faces_of(box_)) {
            double parm[2] = {0.5, 0.5}, p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
            HM_MODL_ask_face_props(f, parm, p, u1, v1, u2, v2, n, r);
            for (int k = 0; k < 3; ++k)
                if (std::fabs(n[k]) > 0.5) (n[k] > 0 ? plus_ : minus_)[k] = f;
        }
    }
    tag_t box_ = 0;
    tag_t plus_[3] = {0, 0, 0}, minus_[3] = {0, 0, 0};
};

TEST_F(SewFacesTest, AdjacentFacesBecomeOneSheet) {
    const tag_t faces[3] = {plus_[0], plus_[1], plus_[2]};
    for (auto sew : {extract_and_sew_faces, extract_and_sew_faces_with_disjoint}) {
        int count = 0;
        tag_t* sheets = nullptr;
        ASSERT_EQ(sew(3, faces, &count, &sheets), 0);
        ASSERT_EQ(count, 1);
        EXPECT_EQ(faces_of(sheets[0]).size(), 3u);
        EXPECT_NEAR(host_testing::surface_area(sheets[0]), 300, 1e-6);
        EXPECT_EQ(faces_of(box_).size(), 6u) << "the faces stay on their body";
        SM_free(sheets);
    }
    ExpectNoLeaks();
}

TEST_F(SewFacesTest, OneFaceIsExtractedWithoutSewing) {
    for (auto sew : {extract_and_sew_faces, extract_and_sew_faces_with_disjoint}) {
        int count = 0;
        tag_t* sheets = nullptr;
        ASSERT_EQ(sew(1, &plus_[2], &count, &sheets), 0);
        ASSERT_EQ(count, 1);
        EXPECT_NE(sheets[0], box_);
        EXPECT_NEAR(host_testing::surface_area(sheets[0]), 100, 1e-9);
        SM_free(sheets);
    }
    ExpectNoLeaks();
}

TEST_F(SewFacesTest, OppositeFacesComeBackAsTwoSheets) {
    // Opposite faces share no edge: the count tells the caller that they do
    // not make one sheet, and both sheets are handed back to be deleted.
    const tag_t faces[2] = {plus_[0], minus_[0]};
    for (auto sew : {extract_and_sew_faces, extract_and_sew_faces_with_disjoint}) {
        const int before = host_testing::count_objects(0, HM_solid_type);
        int count = 0;
        tag_t* sheets = nullptr;
        ASSERT_EQ(sew(2, faces, &count, &sheets), 0);
        ASSERT_EQ(count, 2);
        for (int i = 0; i < count; ++i) EXPECT_EQ(faces_of(sheets[i]).size(), 1u);
        for (int i = 0; i < count; ++i) HM_OBJ_delete_object(sheets[i]);
        SM_free(sheets);
        EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), before) << "no sheet is left behind";
    }
    ExpectNoLeaks();
}

// Sewing works to five times the part's distance tolerance, in the part's
// units (0.001 inch in an inch part).
class InchSewFacesTest : public InchHostTest {};

TEST_F(InchSewFacesTest, GapsUpToFiveTolerancesAreClosed) {
    struct Case {
        double gap;
        int count;
    } cases[] = {{0.0, 1}, {0.003, 1}, {0.01, 2}};
    for (const Case& c : cases) {
        const double c1[3] = {0, 0, 0}, c2[3] = {1 + c.gap, 0, 0}, u[3] = {1, 0, 0}, v[3] = {0, 1, 0};
        const tag_t faces[2] = {faces_of(host_testing::make_planar_sheet(c1, u, v))[0],
                                faces_of(host_testing::make_planar_sheet(c2, u, v))[0]};
        int count = 0;
        tag_t* sheets = nullptr;
        ASSERT_EQ(extract_and_sew_faces(2, faces, &count, &sheets), 0);
        EXPECT_EQ(count, c.count) << "gap " << c.gap;
        SM_free(sheets);
    }
    ExpectNoLeaks();
}

}  // namespace
