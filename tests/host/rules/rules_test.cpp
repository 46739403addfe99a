// The rule-language store: the rule-text parser, the vehicle-design core's
// typed queries, instances and their objects, child-rule creation, deletion
// and undo, and the adoption of existing objects.
#include "core/model.h"
#include "farquil.h"
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "rules/rule_store.h"
#include "tessik.h"

#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <gp_Pnt.hxx>

#include <cmath>
#include <string>
#include <vector>

namespace {

using host::RuleValue;
using host_testing::RuleTexts;

// A host text for one query, freed when it goes out of scope.
class Path {
public:
    explicit Path(const std::string& text) { TEXT_init_string(&text_, text.c_str()); }
    ~Path() { TEXT_free(&text_); }
    Path(const Path&) = delete;
    Path& operator=(const Path&) = delete;
    const TEXT_t* get() const { return &text_; }

private:
    TEXT_t text_{};
};

/* ---- parser ---- */

struct ParseCase {
    const char* text;
    RuleValue::Kind kind;
    const char* canonical;
};

class RuleTextParserTest : public HostTest {};

TEST_F(RuleTextParserTest, ReadsWhatToolsWrite) {
    const ParseCase cases[] = {
        {"100.0", RuleValue::Number, "100.0"},
        {"2500.000000", RuleValue::Number, "2500.0"},
        {"-0.25", RuleValue::Number, "-0.25"},
        {".5", RuleValue::Number, "0.5"},
        {"1.5e3", RuleValue::Number, "1500.0"},
        {"3", RuleValue::Integer, "3"},
        {"-12", RuleValue::Integer, "-12"},
        {"+7", RuleValue::Integer, "7"},
        {"4294967296", RuleValue::Number, "4294967296.0"},   // past an int: a number
        {"\"Seat A\"", RuleValue::String, "\"Seat A\""},
        {"\"\"", RuleValue::String, "\"\""},
        {"\"say ~\"hi~\" ~~ end\"", RuleValue::String, "\"say ~\"hi~\" ~~ end\""},
        {"TRUE", RuleValue::Boolean, "TRUE"},
        {"false", RuleValue::Boolean, "FALSE"},
        {"True", RuleValue::Boolean, "TRUE"},
        {"Point(1.000000,2.500000,-3.000000)", RuleValue::Point, "Point(1,2.5,-3)"},
        {"  Point ( 0 , 0 , 0 )  ", RuleValue::Point, "Point(0,0,0)"},
        {"Vector(0,0,1)", RuleValue::Vector, "Vector(0,0,1)"},
        {"Frame(1,2,3, 1,0,0, 0,1,0, 0,0,1)", RuleValue::Frame, "Frame(1,2,3,1,0,0,0,1,0,0,0,1)"},
        {"Object(42)", RuleValue::Object, "Object(42)"},
        {"Instance( 7 )", RuleValue::Instance, "Instance(7)"},
        {"{ 3, { 1.500000, 2.000000 }, FALSE }", RuleValue::List, "{ 3, { 1.5, 2.0 }, FALSE }"},
        {"{True,False,True}", RuleValue::List, "{ TRUE, FALSE, TRUE }"},
        {"{1,2,3}", RuleValue::List, "{ 1, 2, 3 }"},
        {"{ \"a, b\", \"}\" }", RuleValue::List, "{ \"a, b\", \"}\" }"},
        {"{}", RuleValue::List, "{ }"},
        {"{ Point(1,2,3), Point(4,5,6) }", RuleValue::List, "{ Point(1,2,3), Point(4,5,6) }"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        RuleValue v;
        ASSERT_TRUE(host::rules::parse_rule_text(c.text, &v));
        EXPECT_EQ(v.kind, c.kind);
        std::string canonical = host::rules::format_rule_value(v);
        EXPECT_EQ(canonical, c.canonical);
        RuleValue again;
        ASSERT_TRUE(host::rules::parse_rule_text(canonical.c_str(), &again)) << "canonical text reads back";
        EXPECT_EQ(host::rules::format_rule_value(again), canonical);
    }
}

TEST_F(RuleTextParserTest, KeepsValuesExactly) {
    RuleValue v;
    ASSERT_TRUE(host::rules::parse_rule_text("{ 3, { 1.500000, 2.000000 }, FALSE }", &v));
    ASSERT_EQ(v.list.size(), 3u);
    EXPECT_EQ(v.list[0].integer, 3);
    ASSERT_EQ(v.list[1].list.size(), 2u);
    EXPECT_EQ(v.list[1].list[0].number, 1.5);
    EXPECT_EQ(v.list[1].list[1].number, 2.0);
    EXPECT_FALSE(v.list[2].boolean);

    ASSERT_TRUE(host::rules::parse_rule_text("\"say ~\"hi~\" ~~ end\"", &v));
    EXPECT_EQ(v.text, "say \"hi\" ~ end");
    ASSERT_TRUE(host::rules::parse_rule_text("\"C:~temp\"", &v));
    EXPECT_EQ(v.text, "C:~temp") << "a tilde before anything else is kept";

    ASSERT_TRUE(host::rules::parse_rule_text("0.1", &v));
    RuleValue back;
    ASSERT_TRUE(host::rules::parse_rule_text(host::rules::format_rule_value(v).c_str(), &back));
    EXPECT_EQ(back.number, 0.1) << "formatting loses no digits";
}

TEST_F(RuleTextParserTest, RefusesMalformedTextsAndLeavesTheValue) {
    const char* bad[] = {"",          "   ",        "1.2.3",        "\"open",       "{ 1, 2",       "{ 1 2 }",
                         "{ 1, }",    "3 4",        "Point(1,2)",   "Point(1,2,3,4)", "Point 1,2,3", "maybe",
                         "0x10",      "1e",         "nan",          "inf",          "-",            ".",
                         "Object(-1)", "Object(1.5)", "Frame(1,2,3)", "TRUEX",       "{ 1 } }",      "\"a\" \"b\""};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        RuleValue v;
        v.kind = RuleValue::Integer;
        v.integer = 99;
        EXPECT_FALSE(host::rules::parse_rule_text(text, &v));
        EXPECT_EQ(v.kind, RuleValue::Integer);
        EXPECT_EQ(v.integer, 99);
    }
    RuleValue v;
    EXPECT_FALSE(host::rules::parse_rule_text(nullptr, &v));
    std::string deep(100000, '{');
    EXPECT_FALSE(host::rules::parse_rule_text(deep.c_str(), &v)) << "a deep nest is refused, not a crash";
}

TEST_F(RuleTextParserTest, SixtyFourNestedListsReadAndASixtyFifthIsRefused) {
    struct Case {
        int lists;
        bool empty;   // innermost list empty, or holding the integer 7
        bool read;
    } cases[] = {{1, false, true},   {64, false, true}, {64, true, true},
                 {65, false, false}, {65, true, false}, {66, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lists) + (c.empty ? " lists, innermost empty" : " lists around 7"));
        const std::string text = std::string(c.lists, '{') + (c.empty ? " " : "7") + std::string(c.lists, '}');
        RuleValue v;
        ASSERT_EQ(host::rules::parse_rule_text(text.c_str(), &v), c.read);
        if (c.read) {
            // The nest reads back as deep as it was written.
            const RuleValue* inner = &v;
            for (int depth = 1; depth < c.lists; ++depth) {
                ASSERT_EQ(inner->kind, RuleValue::List);
                ASSERT_EQ(inner->list.size(), 1u);
                inner = &inner->list[0];
            }
            ASSERT_EQ(inner->kind, RuleValue::List);
            if (c.empty) {
                EXPECT_TRUE(inner->list.empty());
            } else {
                ASSERT_EQ(inner->list.size(), 1u);
                EXPECT_EQ(inner->list[0].kind, RuleValue::Integer);
                EXPECT_EQ(inner->list[0].integer, 7);
            }
        }
        // The same limit where rule texts come into the store.
        const char* names[] = {"Nest"};
        const char* values[] = {text.c_str()};
        EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "NEST", "kw_nest", 1, names, values),
                  c.read ? 0 : HM_ERR_BAD_ARGUMENT);
        EXPECT_EQ(VD_is_instance_of_class("Root:", "NEST", "kw_nest"), c.read) << "nothing made when refused";
        if (c.read) {
            EXPECT_EQ(host_testing::rule_text("root:NEST:Nest:"), host::rules::format_rule_value(v));
            EXPECT_EQ(HM_RQ_delete_instance_rule("root:", "NEST"), 0);
        }
    }
}

/* ---- typed queries ---- */

class RuleQueryTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        driver_ = host_testing::make_rule_instance(
            "root:", "DRIVER", "%kw_vd_H_point_design_tool",
            {{"rcode", "0"},
             {"Algorithm_version", "2"},
             {"referenceFrame", "Frame(100,0,50, 0,1,0, -1,0,0, 0,0,1)"},
             {"pv_angle_internal", "5.5"},
             {"upper_leg_length_internal", "456.0"},
             {"rt_clear_interference?", "TRUE"},
             {"UpdateSgrpPt", "Point(1200.5,-370,610.25)"},
             {"Result_AHPs", "{ Point(800,-370,300), Point(810,-20,305), Point(790,-400,302) }"},
             {"A47s", "{ 87.0, 90, 95.5 }"},
             {"ImportAssociatedSheetName", "\"hpd_in.xls\""},
             {"Seat_Travel", "100.0"}});
        ASSERT_NE(driver_, 0u);
    }
    tag_t driver_ = 0;
};

TEST_F(RuleQueryTest, ReadsEachKindOfAttribute) {
    int integer = -1;
    EXPECT_EQ(VD_RQ_ask_integer(Path("root:DRIVER:Algorithm_version:").get(), &integer), 0);
    EXPECT_EQ(integer, 2);
    double number = 0;
    EXPECT_EQ(VD_RQ_ask_number(Path("root:DRIVER:pv_angle_internal:").get(), &number), 0);
    EXPECT_EQ(number, 5.5);
    bool flag = false;
    EXPECT_EQ(VD_RQ_ask_boolean(Path("root:DRIVER:rt_clear_interference?:").get(), &flag), 0);
    EXPECT_TRUE(flag);
    double point[3] = {};
    EXPECT_EQ(VD_RQ_ask_point(Path("root:DRIVER:UpdateSgrpPt:").get(), point), 0);
    EXPECT_EQ(point[0], 1200.5);
    EXPECT_EQ(point[1], -370.0);
    EXPECT_EQ(point[2], 610.25);

    double origin[3], matrix[9];
    ASSERT_EQ(VD_RQ_ask_frame(Path("root:DRIVER:referenceFrame:").get(), origin, matrix), 0);
    const double want_origin[3] = {100, 0, 50};
    const double want_matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(origin[i], want_origin[i]);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(matrix[i], want_matrix[i]) << "matrix value " << i;

    // List members are 1-based: right leg, left leg, second right leg.
    EXPECT_EQ(VD_RQ_ask_point_list_member(Path("root:DRIVER:Result_AHPs:").get(), 2, point), 0);
    EXPECT_EQ(point[0], 810.0);
    EXPECT_EQ(point[1], -20.0);
    EXPECT_EQ(point[2], 305.0);
    EXPECT_EQ(VD_RQ_ask_number_list_member(Path("root:DRIVER:A47s:").get(), 3, &number), 0);
    EXPECT_EQ(number, 95.5);
    EXPECT_EQ(VD_RQ_ask_number_list_member(Path("root:DRIVER:A47s:").get(), 2, &number), 0);
    EXPECT_EQ(number, 90.0) << "an integer member reads as a number";

    char* sheet = nullptr;
    ASSERT_EQ(VD_RQ_ask_string(Path("root:DRIVER:ImportAssociatedSheetName:").get(), &sheet), 0);
    EXPECT_STREQ(sheet, "hpd_in.xls");
    SM_free(sheet);
    ExpectNoLeaks();
}

TEST_F(RuleQueryTest, NumbersAndIntegersConvertOnlyWithoutLoss) {
    double number = 0;
    EXPECT_EQ(VD_RQ_ask_number(Path("root:DRIVER:rcode:").get(), &number), 0);
    EXPECT_EQ(number, 0.0);
    int integer = -1;
    EXPECT_EQ(VD_RQ_ask_integer(Path("root:DRIVER:upper_leg_length_internal:").get(), &integer), 0);
    EXPECT_EQ(integer, 456) << "a whole number reads as an integer";
    integer = -1;
    EXPECT_EQ(VD_RQ_ask_integer(Path("root:DRIVER:pv_angle_internal:").get(), &integer), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(integer, -1) << "5.5 is not truncated";
}

TEST_F(RuleQueryTest, FailuresWriteNothing) {
    struct Case {
        const char* path;
        int want;
    };
    // Each path is asked as a number, an integer, a boolean, a point, a
    // frame, a string and an object; `want` is what the number query says.
    const Case cases[] = {
        {"root:DRIVER:no_such_rule:", HM_ERR_NOT_FOUND},
        {"root:NOBODY:rcode:", HM_ERR_NOT_FOUND},
        {"DRIVER:rcode:", HM_ERR_BAD_ARGUMENT},
        {"root::rcode:", HM_ERR_BAD_ARGUMENT},
        {"root:DRIVER:", HM_ERR_WRONG_TYPE},   // an instance is no number
        {"root:DRIVER:UpdateSgrpPt:", HM_ERR_WRONG_TYPE},
        {"root:DRIVER:ImportAssociatedSheetName:", HM_ERR_WRONG_TYPE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Path path(c.path);
        double number = -7;
        EXPECT_EQ(VD_RQ_ask_number(path.get(), &number), c.want);
        EXPECT_EQ(number, -7);
        int integer = -7;
        EXPECT_NE(VD_RQ_ask_integer(path.get(), &integer), 0);
        EXPECT_EQ(integer, -7);
        bool flag = true;
        EXPECT_NE(VD_RQ_ask_boolean(path.get(), &flag), 0);
        EXPECT_TRUE(flag);
        double frame[12] = {-7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7, -7};
        EXPECT_NE(VD_RQ_ask_frame(path.get(), frame, frame + 3), 0);
        for (double v : frame) EXPECT_EQ(v, -7);
        char* text = nullptr;
        if (std::string(c.path) != "root:DRIVER:ImportAssociatedSheetName:") {
            EXPECT_NE(VD_RQ_ask_string(path.get(), &text), 0);
            EXPECT_EQ(text, nullptr);
        }
        tag_t object = 77;
        EXPECT_NE(VD_RQ_ask_object(path.get(), &object), 0);
        EXPECT_EQ(object, 77u);
    }
    double point[3] = {-7, -7, -7};
    EXPECT_EQ(VD_RQ_ask_point(Path("root:DRIVER:Seat_Travel:").get(), point), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(VD_RQ_ask_point_list_member(Path("root:DRIVER:Result_AHPs:").get(), 0, point), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VD_RQ_ask_point_list_member(Path("root:DRIVER:Result_AHPs:").get(), 4, point), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VD_RQ_ask_point_list_member(Path("root:DRIVER:A47s:").get(), 1, point), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(VD_RQ_ask_point_list_member(Path("root:DRIVER:UpdateSgrpPt:").get(), 1, point), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(point[0], -7);
    ExpectNoLeaks();
}

TEST_F(RuleQueryTest, NullArgumentsAreRefused) {
    Path path("root:DRIVER:rcode:");
    EXPECT_EQ(VD_RQ_ask_integer(path.get(), nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_RQ_ask_number(path.get(), nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_RQ_ask_boolean(path.get(), nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_RQ_ask_point(path.get(), nullptr), HM_ERR_NULL_POINTER);
    double origin[3];
    EXPECT_EQ(VD_RQ_ask_frame(path.get(), origin, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_RQ_ask_string(path.get(), nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_RQ_ask_object(path.get(), nullptr), HM_ERR_NULL_POINTER);
    int count = 0;
    EXPECT_EQ(VD_RQ_ask_objs_list(path.get(), &count, nullptr), HM_ERR_NULL_POINTER);
    int integer = 5;
    EXPECT_EQ(VD_RQ_ask_integer(nullptr, &integer), HM_ERR_NULL_POINTER);
    TEXT_t empty{};
    EXPECT_EQ(VD_RQ_ask_integer(&empty, &integer), HM_ERR_NULL_POINTER);
    EXPECT_EQ(integer, 5);
    EXPECT_FALSE(VD_is_instance_of_class(nullptr, "DRIVER", "%kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_is_instance_of_class("root:", nullptr, "%kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_is_instance_of_class("root:", "DRIVER", nullptr));
    EXPECT_FALSE(VD_RQ_ask_rule_exist(nullptr, "DRIVER"));
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", nullptr));
}

TEST_F(RuleQueryTest, RootIsWrittenEitherWay) {
    for (const char* path : {"root:DRIVER:Algorithm_version:", "Root:DRIVER:Algorithm_version:",
                             "ROOT:DRIVER:Algorithm_version:", "Root:DRIVER:Algorithm_version"}) {
        SCOPED_TRACE(path);
        int integer = 0;
        EXPECT_EQ(VD_RQ_ask_integer(Path(path).get(), &integer), 0);
        EXPECT_EQ(integer, 2);
    }
    int integer = 0;
    EXPECT_EQ(VD_RQ_ask_integer(Path("root:driver:Algorithm_version:").get(), &integer), HM_ERR_NOT_FOUND)
        << "names below the root are case-sensitive";

    EXPECT_TRUE(VD_is_instance_of_class("root:", "DRIVER", "%kw_vd_H_point_design_tool"));
    EXPECT_TRUE(VD_is_instance_of_class("Root:", "DRIVER", "%kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_is_instance_of_class("root:", "DRIVER", "%kw_vd_occupant_packaging"));
    EXPECT_FALSE(VD_is_instance_of_class("root:", "DRIVER", "kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_is_instance_of_class("root:", "NOBODY", "%kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_is_instance_of_class("root:DRIVER:", "rcode", "%kw_vd_H_point_design_tool"))
        << "a plain rule is no instance";

    EXPECT_TRUE(VD_RQ_ask_rule_exist("Root:", "DRIVER"));
    EXPECT_TRUE(VD_RQ_ask_rule_exist("root:", "DRIVER"));
    EXPECT_TRUE(VD_RQ_ask_rule_exist("Root:DRIVER:", "Seat_Travel"));
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", "NOBODY"));
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", "Seat_Travel"));
}

TEST_F(RuleQueryTest, OneWorkPartDoesNotSeeAnothersRules) {
    tag_t other = host_testing::make_part("other_part");
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", "DRIVER"));
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    EXPECT_TRUE(VD_RQ_ask_rule_exist("Root:", "DRIVER"));
    ASSERT_EQ(HM_ASSEM_set_work_part(other), 0);
    EXPECT_EQ(host_testing::count_rule_instances(), 0);
}

/* ---- instances and their objects ---- */

class RuleObjectsTest : public RuleQueryTest {
protected:
    tag_t make_point(double x) {
        host::Object& o = host::create(HM_point_type, 0);
        o.point = {x, 0, 0};
        return o.tag;
    }
};

TEST_F(RuleObjectsTest, InstanceObjectsIncludeChildInstancesAndSkipDeletedOnes) {
    ASSERT_NE(host_testing::make_rule_instance("root:DRIVER:", "Hpd_geometry", "kw_group"), 0u);
    ASSERT_NE(host_testing::make_rule_instance("Root:DRIVER:Hpd_geometry:", "Sgrp_Curve", "kw_spline"), 0u);
    tag_t own = make_point(1), gone = make_point(2), curve = make_point(3);
    ASSERT_EQ(host_testing::add_instance_object("root:DRIVER:", own), 0);
    ASSERT_EQ(host_testing::add_instance_object("root:DRIVER:", gone), 0);
    ASSERT_EQ(host_testing::add_instance_object("root:DRIVER:Hpd_geometry:Sgrp_Curve:", curve), 0);
    ASSERT_EQ(HM_OBJ_delete_object(gone), 0);

    int count = -1;
    tag_t* objects = nullptr;
    ASSERT_EQ(VD_RQ_ask_objs_list(Path("root:DRIVER:").get(), &count, &objects), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(objects[0], own);
    EXPECT_EQ(objects[1], curve);
    SM_free(objects);

    tag_t object = 0;
    EXPECT_EQ(VD_RQ_ask_object(Path("Root:DRIVER:Hpd_geometry:Sgrp_Curve:").get(), &object), 0);
    EXPECT_EQ(object, curve);
    char* class_name = nullptr;
    ASSERT_EQ(HM_RQ_ask_instance_class("Root:DRIVER:Hpd_geometry:Sgrp_Curve:", &class_name), 0);
    EXPECT_STREQ(class_name, "kw_spline");
    SM_free(class_name);
    EXPECT_EQ(HM_RQ_ask_instance_class("Root:DRIVER:rcode:", &class_name), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_RQ_ask_instance_class("Root:DRIVER:nothing:", &class_name), HM_ERR_NOT_FOUND);

    // An instance that made nothing: no object, and an empty list is a
    // null array.
    ASSERT_NE(host_testing::make_rule_instance("root:", "EMPTY", "NullDesign"), 0u);
    EXPECT_EQ(VD_RQ_ask_object(Path("root:EMPTY:").get(), &object), HM_ERR_NOT_FOUND);
    count = -1;
    objects = reinterpret_cast<tag_t*>(&count);
    ASSERT_EQ(VD_RQ_ask_objs_list(Path("root:EMPTY:").get(), &count, &objects), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(objects, nullptr);
    ExpectNoLeaks();
}

TEST_F(RuleObjectsTest, ObjectRulesAndObjectListsAnswerTheirLiveObjects) {
    tag_t a = make_point(1), b = make_point(2), c = make_point(3);
    std::string list = "{ Object(" + std::to_string(a) + "), { Object(" + std::to_string(b) + ") }, 5, Object(" +
                       std::to_string(c) + ") }";
    ASSERT_EQ(host_testing::set_rule("root:DRIVER:output_curve_list:", list.c_str()), 0);
    ASSERT_EQ(host_testing::set_rule("root:DRIVER:picked:", ("Object(" + std::to_string(b) + ")").c_str()), 0);
    ASSERT_EQ(HM_OBJ_delete_object(c), 0);

    int count = 0;
    tag_t* objects = nullptr;
    ASSERT_EQ(VD_RQ_ask_objs_list(Path("Root:DRIVER:output_curve_list:").get(), &count, &objects), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(objects[0], a);
    EXPECT_EQ(objects[1], b);
    SM_free(objects);

    tag_t object = 0;
    EXPECT_EQ(VD_RQ_ask_object(Path("root:DRIVER:picked:").get(), &object), 0);
    EXPECT_EQ(object, b);
    ASSERT_EQ(HM_OBJ_delete_object(b), 0);
    object = 0;
    EXPECT_EQ(VD_RQ_ask_object(Path("root:DRIVER:picked:").get(), &object), HM_ERR_INVALID_TAG);
    EXPECT_EQ(object, 0u);
    EXPECT_EQ(VD_RQ_ask_objs_list(Path("root:DRIVER:Seat_Travel:").get(), &count, &objects), HM_ERR_WRONG_TYPE);
    ExpectNoLeaks();
}

/* ---- creating, deleting and undoing instances ---- */

class ChildRuleTest : public RuleObjectsTest {};

TEST_F(ChildRuleTest, CreatesAChildRuleFromParameterTexts) {
    const char* names[] = {"inMntTree?", "inTree?", "Diameter", "Center"};
    const char* values[] = {"false", "false", "25.000000", "Point(10.000000,20.000000,30.000000)"};
    ASSERT_EQ(HM_RQ_create_child_rule(part_, "root:", "BALL", "kw_sphere", 4, names, values), 0);
    EXPECT_TRUE(VD_is_instance_of_class("Root:", "BALL", "kw_sphere"));
    bool flag = true;
    EXPECT_EQ(VD_RQ_ask_boolean(Path("root:BALL:inMntTree?:").get(), &flag), 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(host_testing::rule_text("root:BALL:Center:"), "Point(10,20,30)");
    EXPECT_EQ(host_testing::rule_text("root:BALL:Diameter:"), "25.0");
}

TEST_F(ChildRuleTest, RefusesBadRequestsAndMakesNothing) {
    const char* names[] = {"Seat_Travel", "Broken"};
    const char* values[] = {"100.0", "Point(1,2)"};
    int before = host_testing::count_rule_instances();
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "NEW", "kw_x", 2, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:NOBODY:", "NEW", "kw_x", 1, names, values), HM_ERR_NOT_FOUND);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "A:B", "kw_x", 1, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "", "kw_x", 1, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "NEW", "", 1, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "NEW", "kw_x", -1, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "NEW", "kw_x", 1, nullptr, values), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_RQ_create_child_rule(0, "root:", "NEW", "kw_x", 1, names, values), HM_ERR_INVALID_TAG);
    EXPECT_EQ(host_testing::count_rule_instances(), before);
    EXPECT_FALSE(VD_RQ_ask_rule_exist("root:", "NEW"));
    // A failed redefinition leaves the old instance whole.
    EXPECT_EQ(HM_RQ_create_child_rule(part_, "root:", "DRIVER", "kw_x", 2, names, values), HM_ERR_BAD_ARGUMENT);
    EXPECT_TRUE(VD_is_instance_of_class("root:", "DRIVER", "%kw_vd_H_point_design_tool"));
    EXPECT_EQ(host_testing::rule_text("root:DRIVER:rcode:"), "0");
}

TEST_F(ChildRuleTest, RedefiningKeepsTheInstanceAndItsObjects) {
    tag_t own = make_point(1);
    ASSERT_EQ(host_testing::add_instance_object("root:DRIVER:", own), 0);
    ASSERT_NE(host_testing::make_rule_instance("root:DRIVER:", "Hpd_geometry", "kw_group"), 0u);
    const char* names[] = {"inTree?"};
    const char* values[] = {"false"};
    ASSERT_EQ(HM_RQ_create_child_rule(part_, "Root:", "DRIVER", "%kw_vd_occupant_packaging", 1, names, values), 0);
    EXPECT_TRUE(VD_is_instance_of_class("root:", "DRIVER", "%kw_vd_occupant_packaging"));
    EXPECT_EQ(host_testing::rule_text("root:DRIVER:rcode:"), "") << "the old rules are replaced";
    EXPECT_EQ(host_testing::rule_text("root:DRIVER:inTree?:"), "FALSE");
    EXPECT_EQ(host_testing::instance_objects("root:DRIVER:"), std::vector<tag_t>{own});
    EXPECT_TRUE(VD_RQ_ask_rule_exist("root:DRIVER:", "Hpd_geometry"));
    char* chain = nullptr;
    ASSERT_EQ(HM_RQ_ask_name_chain_of_instance(driver_, &chain), 0);
    EXPECT_STREQ(chain, "root:DRIVER:");
    SM_free(chain);
    ExpectNoLeaks();
}

TEST_F(ChildRuleTest, DeletingAnInstanceTakesItsChildrenAndLeavesObjects) {
    ASSERT_NE(host_testing::make_rule_instance("root:DRIVER:", "Hpd_geometry", "kw_group"), 0u);
    ASSERT_NE(host_testing::make_rule_instance("root:", "DRIVER_copy", "%kw_vd_H_point_design_tool"), 0u);
    tag_t own = make_point(1);
    ASSERT_EQ(host_testing::add_instance_object("root:DRIVER:", own), 0);

    EXPECT_NE(HM_RQ_delete_instance_rule("root:DRIVER:", "Seat_Travel"), 0) << "a plain rule is no instance";
    ASSERT_EQ(HM_RQ_delete_instance_rule("Root:", "DRIVER"), 0);
    EXPECT_FALSE(VD_RQ_ask_rule_exist("root:", "DRIVER"));
    char* chain = nullptr;
    EXPECT_EQ(HM_RQ_ask_instance_class("root:DRIVER:Hpd_geometry:", &chain), HM_ERR_NOT_FOUND);
    EXPECT_EQ(HM_RQ_ask_name_chain_of_instance(driver_, &chain), HM_ERR_INVALID_TAG);
    EXPECT_EQ(chain, nullptr);
    EXPECT_TRUE(VD_RQ_ask_rule_exist("root:", "DRIVER_copy")) << "a name that only starts alike stays";
    EXPECT_EQ(HM_OBJ_ask_status(own), HM_OBJ_ALIVE);
    EXPECT_NE(HM_RQ_delete_instance_rule("root:", "DRIVER"), 0);
    EXPECT_NE(HM_RQ_delete_instance_rule("root:", ""), 0);
}

TEST_F(ChildRuleTest, UndoBringsADeletedInstanceBack) {
    UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "delete driver");
    ASSERT_EQ(HM_RQ_delete_instance_rule("root:", "DRIVER"), 0);
    ASSERT_NE(host_testing::make_rule_instance("root:", "LATER", "kw_x"), 0u);
    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    EXPECT_TRUE(VD_is_instance_of_class("root:", "DRIVER", "%kw_vd_H_point_design_tool"));
    EXPECT_FALSE(VD_RQ_ask_rule_exist("root:", "LATER"));
    int integer = 0;
    EXPECT_EQ(VD_RQ_ask_integer(Path("root:DRIVER:Algorithm_version:").get(), &integer), 0);
    EXPECT_EQ(integer, 2);
    char* chain = nullptr;
    ASSERT_EQ(HM_RQ_ask_name_chain_of_instance(driver_, &chain), 0) << "the instance keeps its tag";
    EXPECT_STREQ(chain, "root:DRIVER:");
    SM_free(chain);
    UNDO_KW_delete_mark(mark);
    ExpectNoLeaks();
}

/* ---- rule values ---- */

TEST_F(RuleQueryTest, EvaluatedValuesAreSnapshotsOfTheirKind) {
    HM_RQ_value_t value = 0;
    ASSERT_EQ(HM_RQ_evaluate_rule("Root:DRIVER:Seat_Travel:", &value), 0);
    ASSERT_EQ(host_testing::set_rule("root:DRIVER:Seat_Travel:", "250.0"), 0);
    double number = 0;
    EXPECT_EQ(HM_RQ_ask_number(value, &number), 0);
    EXPECT_EQ(number, 100.0) << "the value is what the rule held when evaluated";
    double point[3] = {-1, -1, -1};
    EXPECT_EQ(HM_RQ_ask_point(value, point), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(point[0], -1);

    ASSERT_EQ(HM_RQ_evaluate_rule("root:DRIVER:UpdateSgrpPt:", &value), 0);
    ASSERT_EQ(HM_RQ_ask_point(value, point), 0);
    EXPECT_EQ(point[2], 610.25);
    EXPECT_EQ(HM_RQ_ask_number(value, &number), HM_ERR_WRONG_TYPE);

    HM_RQ_value_t untouched = 12345;
    EXPECT_EQ(HM_RQ_evaluate_rule("root:DRIVER:", &untouched), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_RQ_evaluate_rule("root:DRIVER:missing:", &untouched), HM_ERR_NOT_FOUND);
    EXPECT_EQ(untouched, 12345u);
    EXPECT_EQ(HM_RQ_ask_number(0, &number), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_ask_number(0xFFFFFFFFu, &number), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_ask_number(value, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(RuleQueryTest, OlderRuleTypesTellObjectsListsAndInstancesApart) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t seat = host_testing::make_rule_instance("root:", "SEAT", "kw_seat");
    ASSERT_NE(seat, 0u);
    ASSERT_EQ(host_testing::add_instance_object("root:SEAT:", line), 0);
    const tag_t bare = host_testing::make_rule_instance("root:", "BARE", "kw_seat");
    const std::string items = "{ Object(" + std::to_string(line) + "), Instance(" + std::to_string(seat) +
                              "), Vector(0,0,2), 5 }";
    ASSERT_EQ(host_testing::set_rule("root:items:", items.c_str()), 0);
    HM_RQ_value_t list = 0, popped = 0;
    ASSERT_EQ(HM_RQ_evaluate_rule("root:items:", &list), 0);
    int type = -1;
    ASSERT_EQ(HM_RQ_ask_type(list, &type), 0);
    EXPECT_EQ(type, HM_RQ_TYPE_LIST);
    ASSERT_EQ(HM_RQ_ask_list(list, &popped), 0);
    const int expected[] = {HM_RQ_TYPE_TAG, HM_RQ_TYPE_INSTANCE, HM_RQ_TYPE_OTHER, HM_RQ_TYPE_OTHER};
    HM_RQ_value_t item[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(HM_RQ_list_pop(popped, &item[i]), 0);
        ASSERT_EQ(HM_RQ_ask_type(item[i], &type), 0);
        EXPECT_EQ(type, expected[i]);
    }
    tag_t instance = 0, object = 99;
    EXPECT_EQ(HM_RQ_ask_instance(item[0], &instance), HM_ERR_WRONG_TYPE);
    ASSERT_EQ(HM_RQ_ask_instance(item[1], &instance), 0);
    EXPECT_EQ(instance, seat);
    ASSERT_EQ(HM_RQ_ask_kw_object(instance, &object), 0);
    EXPECT_EQ(object, line);
    ASSERT_EQ(HM_RQ_ask_kw_object(bare, &object), 0);
    EXPECT_EQ(object, 0u) << "an instance that made nothing";
    EXPECT_EQ(HM_RQ_ask_kw_object(line, &object), HM_ERR_INVALID_TAG);
    HM_OBJ_delete_object(line);
    ASSERT_EQ(HM_RQ_ask_kw_object(seat, &object), 0);
    EXPECT_EQ(object, 0u) << "its object deleted";
    double vector[3] = {0, 0, 0};
    ASSERT_EQ(HM_RQ_ask_vector(item[2], vector), 0);
    EXPECT_EQ(vector[2], 2.0);
    EXPECT_EQ(HM_RQ_ask_vector(item[3], vector), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_RQ_ask_type(0, &type), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_ask_type(list, nullptr), HM_ERR_NULL_POINTER);
}

/* ---- adoption ---- */

class AdoptTest : public HostTest {
protected:
    // A sphere body with its SPHERE feature, as the modelling commands make it.
    tag_t make_sphere(double x, double y, double z, double radius) {
        host::Object& body = host::create(HM_solid_type, HM_solid_body_subtype);
        body.shape = BRepPrimAPI_MakeSphere(gp_Pnt(x, y, z), radius).Shape();
        tag_t tag = body.tag;
        host::create_feature("SPHERE", tag);
        return tag;
    }
    tag_t feature_of(tag_t body) {
        for (auto& [tag, o] : host::model().objects)
            if (o.type == HM_feature_type && o.owner == body) return tag;
        return 0;
    }
    std::string chain_of(tag_t instance) {
        char* chain = nullptr;
        if (HM_RQ_ask_name_chain_of_instance(instance, &chain)) return "";
        std::string s = chain;
        SM_free(chain);
        return s;
    }
    std::string class_of(const std::string& chain) {
        char* name = nullptr;
        if (HM_RQ_ask_instance_class(chain.c_str(), &name)) return "";
        std::string s = name;
        SM_free(name);
        return s;
    }
};

TEST_F(AdoptTest, ASphereAnswersItsDiameterAndCentre) {
    tag_t sphere = make_sphere(10, 20, 30, 12.5);
    tag_t* instances = nullptr;
    ASSERT_EQ(HM_RQ_adopt_kw_objects(1, &sphere, &instances), 0);
    std::string chain = chain_of(instances[0]);
    HM_free(instances);
    EXPECT_EQ(chain, "root:sphere_1:");
    EXPECT_EQ(class_of(chain), "kw_sphere");

    HM_RQ_value_t value = 0;
    double diameter = 0, centre[3] = {};
    ASSERT_EQ(HM_RQ_evaluate_rule((chain + "Diameter:").c_str(), &value), 0);
    ASSERT_EQ(HM_RQ_ask_number(value, &diameter), 0);
    EXPECT_NEAR(diameter, 25.0, 1e-9);
    ASSERT_EQ(HM_RQ_evaluate_rule((chain + "Center:").c_str(), &value), 0);
    ASSERT_EQ(HM_RQ_ask_point(value, centre), 0);
    EXPECT_NEAR(centre[0], 10.0, 1e-9);
    EXPECT_NEAR(centre[1], 20.0, 1e-9);
    EXPECT_NEAR(centre[2], 30.0, 1e-9);

    // The instance owns the body, so deleting its objects finds it.
    int count = 0;
    tag_t* objects = nullptr;
    ASSERT_EQ(VD_RQ_ask_objs_list(Path(chain).get(), &count, &objects), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(objects[0], sphere);
    SM_free(objects);
    ExpectNoLeaks();
}

TEST_F(AdoptTest, ClassesFollowTheObjectsKind) {
    tag_t sphere = make_sphere(0, 0, 0, 5);
    host::Object& point = host::create(HM_point_type, 0);
    host::Object& box = host::create(HM_solid_type, HM_solid_body_subtype);
    box.shape = BRepPrimAPI_MakeBox(10, 10, 10).Shape();
    tag_t box_tag = box.tag;
    host::create_feature("BLOCK", box_tag);
    // A sphere changed by a later feature is no longer a plain sphere.
    tag_t cut = make_sphere(0, 0, 0, 8);
    host::create_feature("SUBTRACT", cut);
    tag_t second = make_sphere(50, 0, 0, 2);

    const tag_t objects[] = {feature_of(sphere), point.tag, box_tag, cut, second};
    tag_t* instances = nullptr;
    ASSERT_EQ(HM_RQ_adopt_kw_objects(5, objects, &instances), 0);
    const char* want_chain[] = {"root:sphere_1:", "root:point_1:", "root:block_1:", "root:body_1:", "root:sphere_2:"};
    const char* want_class[] = {"kw_sphere", "kw_point", "kw_block", "kw_body", "kw_sphere"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chain_of(instances[i]), want_chain[i]);
        EXPECT_EQ(class_of(want_chain[i]), want_class[i]);
    }
    HM_free(instances);
    // An adopted feature hands its body to the instance.
    EXPECT_EQ(host_testing::instance_objects("root:sphere_1:"), std::vector<tag_t>{sphere});
    double diameter = 0;
    EXPECT_EQ(VD_RQ_ask_number(Path("root:sphere_2:Diameter:").get(), &diameter), 0);
    EXPECT_NEAR(diameter, 4.0, 1e-9);
    EXPECT_EQ(VD_RQ_ask_number(Path("root:point_1:Diameter:").get(), &diameter), HM_ERR_NOT_FOUND);
    ExpectNoLeaks();
}

TEST_F(AdoptTest, ABadObjectAdoptsNothing) {
    tag_t sphere = make_sphere(0, 0, 0, 5);
    tag_t dead = make_sphere(0, 0, 0, 1);
    ASSERT_EQ(HM_OBJ_delete_object(dead), 0);
    tag_t* instances = nullptr;
    const tag_t with_dead[] = {sphere, dead};
    EXPECT_EQ(HM_RQ_adopt_kw_objects(2, with_dead, &instances), HM_ERR_INVALID_TAG);
    const tag_t with_part[] = {sphere, part_};
    EXPECT_EQ(HM_RQ_adopt_kw_objects(2, with_part, &instances), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_RQ_adopt_kw_objects(0, with_part, &instances), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_RQ_adopt_kw_objects(1, with_part, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(instances, nullptr);
    EXPECT_EQ(host_testing::count_rule_instances(), 0);
    ExpectNoLeaks();
}

// The library re-creates an adopted object as a child rule of the same name
// with its parameters; the instance stays the one that owns the object.
TEST_F(AdoptTest, AnAdoptedSphereCanBeRedefinedWithItsParameters) {
    tag_t sphere = make_sphere(1, 2, 3, 4);
    tag_t* instances = nullptr;
    ASSERT_EQ(HM_RQ_adopt_kw_objects(1, &sphere, &instances), 0);
    tag_t instance = instances[0];
    HM_free(instances);
    const char* names[] = {"inMntTree?", "inTree?", "Diameter", "Center"};
    const char* values[] = {"false", "false", "8.000000", "Point(1.000000,2.000000,3.000000)"};
    ASSERT_EQ(HM_RQ_create_child_rule(part_, "root:", "sphere_1", "kw_sphere", 4, names, values), 0);
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(chain_of(instance), "root:sphere_1:");
    EXPECT_EQ(host_testing::instance_objects("root:sphere_1:"), std::vector<tag_t>{sphere});
    EXPECT_EQ(host_testing::rule_text("root:sphere_1:Diameter:"), "8.0");
    EXPECT_EQ(host_testing::count_rule_instances(), 1);
    ExpectNoLeaks();
}

}  // namespace
