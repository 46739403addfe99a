// Host services of the mirror analyses: the modelling interface's undo marks,
// face types, eyellipses made from a record, free rule names, single
// coordinates in a vehicle frame, and mapped copies that keep what the user
// sees.
#include "belmorra.h"
#include "farquil.h"
#include "host_fixture.h"
#include "omvra.h"
#include "pelvane.h"
#include "quillon.h"
#include "tessik.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

class MirrorServicesTest : public HostTest {};

tag_t only_face(tag_t body) {
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    if (HM_MODL_ask_body_faces(body, &faces) == 0) HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

TEST_F(MirrorServicesTest, UndoToTheLastMarkRestoresThePartAndForgetsOnlyThatMark) {
    int outer = 0, inner = 0;
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_invisible, "outer", &outer), 0);
    const tag_t first = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_invisible, "ambinocular", &inner), 0);
    const tag_t second = host_testing::make_line({0, 0, 0}, {0, 1, 0});
    ASSERT_EQ(HM_OBJ_delete_object(first), 0);

    ASSERT_EQ(HM_UNDO_undo_to_last_mark(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(first), HM_OBJ_ALIVE) << "the deleted line is back";
    EXPECT_EQ(HM_OBJ_ask_status(second), HM_OBJ_DELETED) << "the line made after the mark is gone";
    EXPECT_FALSE(UNDO_KW_ask_mark_exist(inner));
    EXPECT_TRUE(UNDO_KW_ask_mark_exist(outer));

    ASSERT_EQ(HM_UNDO_undo_to_last_mark(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(first), HM_OBJ_DELETED);
    EXPECT_EQ(HM_UNDO_undo_to_last_mark(), HM_ERR_UNDO_MARK) << "no mark left";
    EXPECT_EQ(HM_UNDO_set_mark(UNDO_invisible, "x", nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(MirrorServicesTest, FaceTypesOfSpheresPlanesAndFreeFormSurfaces) {
    const double centre[3] = {0, 0, 0}, dir[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const tag_t sphere = host_testing::make_spherical_patch(centre, 1400.0, dir, up, 190.0, 120.0);
    const double corners[12] = {0, 0, 0, 0, 100, 0, 0, 0, 100, 0, 100, 100};
    const tag_t bspline = host_testing::make_bspline_sheet(2, 2, corners, 1, 1);
    const double axis_origin[3] = {0, 0, 0}, axis[3] = {0, 0, 1}, x_dir[3] = {1, 0, 0};
    const tag_t cylinder = host_testing::make_cylindrical_sheet(axis_origin, axis, x_dir, 50.0, 1.0, 100.0);
    struct Case {
        const char* what;
        tag_t object;
        int expected;
    };
    const Case cases[] = {
        {"sphere face", only_face(sphere), HM_FACE_SPHERICAL},
        {"sphere sheet of one face", sphere, HM_FACE_SPHERICAL},
        {"flat B-spline sheet", only_face(bspline), HM_FACE_PARAMETRIC},
        {"cylinder", only_face(cylinder), HM_FACE_CYLINDRICAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int type = -1;
        ASSERT_EQ(HM_MODL_ask_face_type(c.object, &type), 0);
        EXPECT_EQ(type, c.expected);
    }
    int type = -1;
    EXPECT_EQ(HM_MODL_ask_face_type(0, &type), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_face_type(host_testing::make_line({0, 0, 0}, {1, 0, 0}), &type), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_face_type(sphere, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(MirrorServicesTest, PlanarFacesOfBoundedPlanesArePlanes) {
    const tag_t a = host_testing::make_line({0, 0, 0}, {0, 100, 0});
    const tag_t b = host_testing::make_line({0, 100, 0}, {0, 100, 50});
    const tag_t c = host_testing::make_line({0, 100, 50}, {0, 0, 0});
    HM_STRING_LIST_t boundary;
    HM_MODL_init_string_list(&boundary);
    ASSERT_EQ(HM_MODL_create_string_list(1, 3, &boundary), 0);
    boundary.curve_counts[0] = 3;
    boundary.directions[0] = 1;
    boundary.curves[0] = a;
    boundary.curves[1] = b;
    boundary.curves[2] = c;
    const double tolerances[2] = {0.01, 0.5};
    tag_t sheet = 0;
    ASSERT_EQ(HM_MODL_create_bplane(&boundary, tolerances, &sheet), 0);
    HM_MODL_free_string_list(&boundary);
    int type = -1;
    ASSERT_EQ(HM_MODL_ask_face_type(sheet, &type), 0);
    EXPECT_EQ(type, HM_FACE_PLANAR);
}

VD_eyellipse_param_t sample_eyellipse() {
    VD_eyellipse_param_t d{};
    const double centres[3][3] = {{1290, -402.5, 1158}, {1290, -337.5, 1158}, {1290, -370, 1158}};
    std::memcpy(d.centre, centres, sizeof centres);
    for (int i = 0; i < 3; ++i) {
        d.axis_dir[i][i] = 1.0;
        d.axis_length[0][i] = 100.0 + i;
        d.axis_length[1][i] = 200.0 + i;
        d.axis_length[2][i] = 300.0 + i;
    }
    d.side_value = -1.0;
    d.drive_side = 1;
    d.pivot[0].present = 1;
    d.pivot[0].first[0] = 1400.0;
    d.pivot[0].second[0] = 1401.0;
    return d;
}

TEST_F(MirrorServicesTest, AnEyellipseMadeFromARecordReadsBackTheSameRecord) {
    const VD_eyellipse_param_t d = sample_eyellipse();
    tag_t instance = 0;
    ASSERT_EQ(VD_ELL_create_eyellipse("eyellipse_1", &d, &instance), 0);
    EXPECT_NE(instance, 0u);
    char* rule_string = nullptr;
    ASSERT_EQ(VD_ask_rule_string("eyellipse_1", &rule_string), 0);
    VD_eyellipse_param_t back{};
    ASSERT_EQ(VD_ask_eyellipse_data(rule_string, &back), 0);
    SM_free(rule_string);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_DOUBLE_EQ(back.centre[i][j], d.centre[i][j]);
            EXPECT_DOUBLE_EQ(back.axis_length[i][j], d.axis_length[i][j]);
            EXPECT_DOUBLE_EQ(back.axis_dir[i][j], d.axis_dir[i][j]);
        }
    EXPECT_EQ(back.pivot[0].present, 1);
    EXPECT_EQ(back.pivot[1].present, 0);
    EXPECT_DOUBLE_EQ(back.pivot[0].second[0], 1401.0);

    VD_eyellipse_param_t bad = d;
    bad.centre[0][0] = std::nan("");
    EXPECT_EQ(VD_ELL_create_eyellipse("eyellipse_2", &bad, nullptr), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VD_ELL_create_eyellipse("", &d, nullptr), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VD_ELL_create_eyellipse(nullptr, &d, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(MirrorServicesTest, NextRuleNamesSkipTakenInstances) {
    char* name = nullptr;
    ASSERT_EQ(CK_RQ_auto_get_next_rule_name("eyellipse", &name), 0);
    EXPECT_STREQ(name, "eyellipse_1");
    SM_free(name);
    const VD_eyellipse_param_t d = sample_eyellipse();
    ASSERT_EQ(VD_ELL_create_eyellipse("eyellipse_1", &d, nullptr), 0);
    ASSERT_EQ(VD_ELL_create_eyellipse("eyellipse_2", &d, nullptr), 0);
    ASSERT_EQ(CK_RQ_auto_get_next_rule_name("eyellipse", &name), 0);
    EXPECT_STREQ(name, "eyellipse_3");
    SM_free(name);
    EXPECT_EQ(CK_RQ_auto_get_next_rule_name("", &name), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(CK_RQ_auto_get_next_rule_name("eyellipse", nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(MirrorServicesTest, SingleCoordinatesInATurnedAndShiftedFrame) {
    // Frame turned 90 degrees about z (its x axis along absolute y), origin (100, 200, 300).
    const double origin[3] = {100, 200, 300};
    const double matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const double p[3] = {150, 260, 310};   // local: x = 60, y = -50, z = 10
    EXPECT_NEAR(VD_LOCAL_X(p, origin, matrix), 60.0, 1e-12);
    EXPECT_NEAR(VD_LOCAL_Y(p, origin, matrix), -50.0, 1e-12);
    EXPECT_NEAR(VD_LOCAL_Z(p, origin, matrix), 10.0, 1e-12);
    EXPECT_EQ(VD_LOCAL_X(nullptr, origin, matrix), 0.0);
}

TEST_F(MirrorServicesTest, MappedCopiesKeepNameColourLayerAndBlankStatus) {
    const double origin[3] = {100, 0, 0};
    const double matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const double centre[3] = {0, 0, 0}, dir[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    const tag_t sheet = host_testing::make_spherical_patch(centre, 1400.0, dir, up, 190.0, 120.0);
    for (tag_t object : {line, sheet}) {
        SCOPED_TRACE(object == line ? "line" : "sheet");
        ASSERT_EQ(HM_OBJ_set_name(object, "U_GROUND"), 0);
        ASSERT_EQ(HM_OBJ_set_color(object, 36), 0);
        ASSERT_EQ(HM_OBJ_set_layer(object, 200), 0);
        ASSERT_EQ(HM_OBJ_set_blank_status(object, true), 0);
        for (int direction = 0; direction < 2; ++direction) {
            tag_t mapped = 0;
            ASSERT_EQ(direction ? VD_map_geom_csys2abs(object, origin, matrix, &mapped)
                                : VD_map_geom_abs2csys(object, origin, matrix, &mapped),
                      0);
            char name[64] = "";
            int colour = 0, layer = 0;
            bool blank = false;
            HM_OBJ_ask_name(mapped, name, sizeof name);
            HM_OBJ_ask_color(mapped, &colour);
            HM_OBJ_ask_layer(mapped, &layer);
            HM_OBJ_ask_blank_status(mapped, &blank);
            EXPECT_STREQ(name, "U_GROUND");
            EXPECT_EQ(colour, 36);
            EXPECT_EQ(layer, 200);
            EXPECT_TRUE(blank);
        }
    }
}

}  // namespace
