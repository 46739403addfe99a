// The 2003 release's stone impingement and reflection exports: the layer of
// a list's objects, the attributes of a joined reflection feature, and a
// stone-impingement run in the older forms (stones thrown one by one, areas
// only, unprojected degree-1 result curves without labels).
#include "release2003/si_rd.h"
#include "tests/stone/stone_fixtures.h"

#include "omvra.h"

#include <string>
#include <vector>

namespace {

using host_testing::make_line;

struct Attributes {
    int colour = 0, layer = 0;
    std::string name;
    bool operator==(const Attributes& o) const { return colour == o.colour && layer == o.layer && name == o.name; }
};

Attributes attributes_of(tag_t object) {
    Attributes a;
    char name[64] = {0};
    HM_OBJ_ask_color(object, &a.colour);
    HM_OBJ_ask_layer(object, &a.layer);
    HM_OBJ_ask_name(object, name, sizeof name);
    a.name = name;
    return a;
}

class Release2003SiRdTest : public HostTest {};

TEST_F(Release2003SiRdTest, LayerOfListObjectsMovesEachInOrderAndStopsAtTheFirstFailure) {
    const tag_t a = make_line({0, 0, 0}, {1, 0, 0});
    const tag_t b = make_line({0, 0, 0}, {0, 1, 0});
    const tag_t gone = make_line({0, 0, 0}, {0, 0, 1});
    const tag_t c = make_line({1, 1, 0}, {0, 1, 0});
    HM_OBJ_delete_object(gone);
    const int layer_before = attributes_of(a).layer;
    EXPECT_EQ(HM_VD_SI_set_layer_of_list_objects(nullptr, 42), 0);

    hm_list_p_t list = make_list({a, b});
    EXPECT_NE(HM_VD_SI_set_layer_of_list_objects(list, 0), 0) << "no layer 0";
    EXPECT_EQ(attributes_of(a).layer, layer_before);
    EXPECT_EQ(HM_VD_SI_set_layer_of_list_objects(list, 42), 0);
    EXPECT_EQ(attributes_of(a).layer, 42);
    EXPECT_EQ(attributes_of(b).layer, 42);
    HM_MODL_delete_list(&list);

    list = make_list({a, gone, c});
    EXPECT_NE(HM_VD_SI_set_layer_of_list_objects(list, 43), 0);
    EXPECT_EQ(attributes_of(a).layer, 43);
    EXPECT_EQ(attributes_of(c).layer, layer_before) << "after the failure nothing moves";
    HM_MODL_delete_list(&list);
}

TEST_F(Release2003SiRdTest, JoinAttributesGoToEveryObjectOfAFeatureAndNowhereElse) {
    const tag_t a = make_line({0, 0, 0}, {1, 0, 0});
    const tag_t b = make_line({0, 0, 0}, {0, 1, 0});
    const tag_t join = host_testing::add_feature("JOIN", NULL_TAG, {a, b});
    ASSERT_NE(join, NULL_TAG);
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t body = host_testing::make_box(corner, size);
    const Attributes line_before = attributes_of(a), body_before = attributes_of(body);
    struct Case {
        const char* what;
        tag_t object;
        int layer;
        const char* name;
        bool refused;
    };
    const Case refused[] = {
        {"a body", body, 20, "JOINED", true},
        {"no name", join, 20, nullptr, true},
        {"a layer past the last", join, 999, "JOINED", false},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        const int result = HM_VD_RD_set_join_attribute(c.object, 6, c.layer, c.name);
        if (c.refused) {
            EXPECT_EQ(result, -1);
        } else {
            EXPECT_NE(result, 0);
        }
        EXPECT_EQ(attributes_of(a), line_before);
        EXPECT_EQ(attributes_of(b), line_before);
        EXPECT_EQ(attributes_of(body), body_before);
    }
    ASSERT_EQ(HM_VD_RD_set_join_attribute(join, 6, 20, "JOINED"), 0);
    const Attributes joined{6, 20, "JOINED"};
    EXPECT_EQ(attributes_of(a), joined);
    EXPECT_EQ(attributes_of(b), joined);
    EXPECT_EQ(attributes_of(body), body_before);
}

TEST_F(FloorStripRunTest, EveryModeBuildsAreasWithDegreeOneCurvesAndNoLabels) {
    for (const int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        si_face_result_s* r = run_in_older_form(mode);
        ASSERT_NE(r, nullptr);
        // Straight through their points: the degree-1 spline of this release.
        for (tag_t c : list_items(r->contour_list)) EXPECT_EQ(host_testing::spline_degree(c), 1);
        // The stone paths lie on the floor: not projected there, but made of
        // the stones that landed on it.
        const std::vector<tag_t> paths = list_items(r->stone_path_list);
        ASSERT_FALSE(paths.empty());
        for (tag_t p : paths) {
            int type = 0, subtype = 0;
            HM_OBJ_ask_type_and_subtype(p, &type, &subtype);
            if (type != HM_spline_type) continue;   // a section where one stone landed: a point
            EXPECT_EQ(host_testing::spline_degree(p), 1);
            EXPECT_NEAR(support::curve_point(p, 0.5)[2], 200.0, 1e-6);
        }
        HM_VD_SI_delete_geometry(rec_.get());
    }
}

}  // namespace
