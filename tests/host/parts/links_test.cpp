// Linked features of the stand-in host: a face of a component's part copied
// into the work part where the component places it, the copy's geometry and
// its source.
#include "core/model.h"
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"
#include "tests/host/model_objects.h"

#include <cmath>
#include <vector>

namespace {

using host_tests::box;
using host_tests::first_feature;
using host_tests::point_at;
using support::list_items;

class LinkTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        // A 10 x 20 sheet in z = 0 of the wheel part, placed by the component
        // at (10, 0, 0) turned a quarter about z: (x, y) goes to (10 - y, x),
        // so the copy covers -10..10 in x and 0..10 in y.
        wheel_ = host_testing::make_part("/parts/link_wheel.prt");
        const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 20, 0};
        const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
        hm_list_p_t faces = nullptr;
        HM_MODL_ask_body_faces(sheet, &faces);
        face_ = list_items(faces).at(0);
        HM_MODL_delete_list(&faces);
        assembly_ = host_testing::make_part("/parts/link_chassis.prt");
        component_ = host_testing::add_component(wheel_, "WHEEL", origin_, turn_);
    }
    double distance_to(tag_t object, double x, double y, double z) {
        const tag_t point = point_at(x, y, z);
        double d = -1.0, p1[3], p2[3];
        EXPECT_EQ(HM_MODL_ask_minimum_dist(point, object, 0, nullptr, 0, nullptr, &d, p1, p2), 0);
        return d;
    }
    tag_t wheel_ = 0, face_ = 0, assembly_ = 0, component_ = 0;
    const double origin_[3] = {10, 0, 0};
    const double turn_[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
};

TEST_F(LinkTest, LinkedFaceIsTheSourcePlacedByTheComponentInTheWorkPart) {
    tag_t feature = 0;
    ASSERT_EQ(HM_LINK_create_linked_face(face_, component_, &feature), 0);
    tag_t copy = 0;
    ASSERT_EQ(HM_LINK_ask_linked_feature_geom(feature, &copy), 0);
    int type = 0, subtype = 0;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(copy, &type, &subtype), 0);
    EXPECT_EQ(type, HM_solid_type);
    EXPECT_EQ(subtype, HM_solid_face_subtype);
    tag_t owner = 0;
    ASSERT_EQ(HM_OBJ_ask_owning_part(copy, &owner), 0);
    EXPECT_EQ(owner, assembly_);
    tag_t source = 0;
    ASSERT_EQ(HM_LINK_ask_link_source(feature, 0, &source), 0);
    EXPECT_EQ(source, face_);

    // Distances from points to the placed copy (the source stays where it is).
    struct Case {
        const char* what;
        double x, y, z, distance;
    } cases[] = {{"above the placed centre", 0, 5, 3, 3},
                 {"on the unplaced source, beyond the copy", 0, 15, 0, 5},
                 {"on the copy, off the source", -8, 8, 0, 0}};
    for (const Case& c : cases) EXPECT_NEAR(distance_to(copy, c.x, c.y, c.z), c.distance, 1e-6) << c.what;
    EXPECT_NEAR(distance_to(face_, -8, 8, 0), 8.0, 1e-6) << "the source is not moved";
    ExpectNoLeaks();
}

TEST_F(LinkTest, SourceIsFollowedThroughLinksOfLinksOnRequest) {
    tag_t first = 0, second = 0;
    ASSERT_EQ(HM_LINK_create_linked_face(face_, component_, &first), 0);
    tag_t copy = 0;
    ASSERT_EQ(HM_LINK_ask_linked_feature_geom(first, &copy), 0);
    ASSERT_EQ(HM_LINK_create_linked_face(copy, 0, &second), 0);
    tag_t source = 0;
    ASSERT_EQ(HM_LINK_ask_link_source(second, 0, &source), 0);
    EXPECT_EQ(source, copy);
    ASSERT_EQ(HM_LINK_ask_link_source(second, 1, &source), 0);
    EXPECT_EQ(source, face_);

    // A linked curve answers its source the same way; its copy is a curve at
    // the source's place.
    const tag_t line = host_tests::line_between(gp_Pnt(0, 0, 0), gp_Pnt(0, 0, 7));
    const tag_t link = host_testing::add_linked_copy(line);
    ASSERT_NE(link, 0u);
    ASSERT_EQ(HM_LINK_ask_link_source(link, 1, &source), 0);
    EXPECT_EQ(source, line);
    ASSERT_EQ(HM_LINK_ask_linked_feature_geom(link, &copy), 0);
    EXPECT_NE(copy, line);
    EXPECT_NEAR(distance_to(copy, 0, 0, 7), 0.0, 1e-9);
    ExpectNoLeaks();
}

TEST_F(LinkTest, BadInputGivesItsCodeAndBuildsNothing) {
    const tag_t plain = point_at(1, 2, 3);
    const tag_t block = first_feature(box());
    const tag_t other = host_testing::make_part("/parts/link_other.prt");
    const tag_t foreign = host_testing::add_component(other, "OTHER");
    const int before = host_testing::count_objects();
    struct Case {
        const char* what;
        tag_t face, component;
        int code;
    } cases[] = {{"no object", 0, component_, HM_ERR_INVALID_TAG},
                 {"a point for the face", plain, component_, HM_ERR_WRONG_TYPE},
                 {"a point for the component", face_, plain, HM_ERR_WRONG_TYPE},
                 {"a component of another part", face_, foreign, HM_ERR_BAD_ARGUMENT}};
    for (const Case& c : cases) {
        tag_t feature = 77;
        EXPECT_EQ(HM_LINK_create_linked_face(c.face, c.component, &feature), c.code) << c.what;
        EXPECT_EQ(feature, 0u) << c.what;
    }
    EXPECT_EQ(HM_LINK_create_linked_face(face_, component_, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(host_testing::count_objects(), before);

    // Features that are no links answer nothing.
    tag_t answer = 77;
    EXPECT_EQ(HM_LINK_ask_linked_feature_geom(block, &answer), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(answer, 0u);
    answer = 77;
    EXPECT_EQ(HM_LINK_ask_link_source(block, 1, &answer), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(answer, 0u);
    EXPECT_EQ(HM_LINK_ask_link_source(0, 1, &answer), HM_ERR_INVALID_TAG);

    host_testing::clear_work_part();
    tag_t feature = 77;
    EXPECT_EQ(HM_LINK_create_linked_face(face_, 0, &feature), HM_ERR_NO_PART);
    EXPECT_EQ(feature, 0u);
    ExpectNoLeaks();
}

}  // namespace
