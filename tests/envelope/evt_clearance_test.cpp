// The tire-envelope tool's clearance data set: configurations "LOAD <n>"
// built from a spindle-points (displacement) file, each carrying the design
// spindle point and axis onto its record's; refused files and data sets
// that change nothing; clearance zones of objects.
#include "eve_fixtures.h"

#include "brindor.h"
#include "caldwyn.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"
#include "vd_evt.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using eve_test::EveTest;
using Point = std::array<double, 3>;

constexpr double kTolerance = 1e-9;   // mm, on points carried by a transform
constexpr double kPi = 3.14159265358979323846;

Point carried(const MTX4_t& m, const Point& p) {
    Point out{};
    HM_MTX4_vec3_multiply(p.data(), m.m, out.data());
    return out;
}

Point add(const Point& a, const Point& b, double s = 1.0) {
    return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]};
}

Point unit(const Point& v) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / l, v[1] / l, v[2] / l};
}

void expect_near(const Point& got, const Point& want, const char* what) {
    SCOPED_TRACE(what);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], kTolerance) << "component " << k;
}

// A spindle record: the wheel centre P and a point Q on the spindle axis.
struct Record {
    Point p, q;
};

std::string record_line(const Record& r) {
    char line[200];
    std::snprintf(line, sizeof line, "%.10f, %.10f, %.10f, %.10f, %.10f, %.10f\n", r.p[0], r.p[1], r.p[2], r.q[0],
                  r.q[1], r.q[2]);
    return line;
}

// A right front wheel of a 1580 mm track: centre 790 mm out, axis point 100
// mm inboard. Records: design, 80 mm jounce, 10 degrees of steer about the
// vertical through the centre, and 60 mm rebound with 2 degrees of camber
// (the axis point swings about the x axis through the centre).
const Point kCentre{1000.0, 790.0, 350.0};
Record steered(double degrees) {
    const double a = degrees * kPi / 180.0;
    return {kCentre, {kCentre[0] + 100.0 * std::sin(a), kCentre[1] - 100.0 * std::cos(a), kCentre[2]}};
}
Record cambered(double degrees, double dz) {
    const double a = degrees * kPi / 180.0;
    const Point c{kCentre[0], kCentre[1], kCentre[2] + dz};
    return {c, {c[0], c[1] - 100.0 * std::cos(a), c[2] + 100.0 * std::sin(a)}};
}
const Record kDesign{kCentre, {1000.0, 690.0, 350.0}};
const Record kJounce{{1000.0, 790.0, 430.0}, {1000.0, 690.0, 430.0}};

// A 100 mm cube at (x, 0, 0), standing for a wheel or a tire.
tag_t box_at(double x) {
    const double corner[3] = {x, 0, 0};
    const double size[3] = {100, 100, 100};
    return host_testing::make_box(corner, size);
}

// A point object standing for a zone's expression: the host takes any live
// object as a zone.
tag_t zone_object(double distance) {
    const double at[3] = {distance, 0, 0};
    tag_t point = 0;
    EXPECT_EQ(HM_CURVE_create_point(at, &point), 0);
    return point;
}

class EvtClearanceTest : public EveTest {
protected:
    void SetUp() override {
        EveTest::SetUp();
        dataset_ = host_testing::make_clearance_dataset("WHEEL_TRAVEL");
        wheel_ = box_at(0.0);
    }
    // A data set holding the configuration "OLD" that moves the wheel.
    void add_old_configuration() {
        MTX4_t identity{};
        HM_MTX4_identity(identity.m);
        const tag_t moving[1] = {wheel_};
        ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 1, moving, "OLD"), 0);
    }
    std::string write_records(const std::vector<Record>& records, const char* header = "Front right wheel\n######\n") {
        std::string text = header;
        for (const Record& r : records) text += record_line(r);
        const std::string file = path("displace.pts");
        write_file(file, text);
        return file;
    }
    int build(const std::string& file, Point origin = {0, 0, 0}) {
        double o[3] = {origin[0], origin[1], origin[2]};
        double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        return VD_EVTWIZ_build_clear_configurations(dataset_, file.c_str(), o, axes);
    }
    int configurations() const {
        int n = -1;
        EXPECT_EQ(CLEAR_ask_num_configurations(dataset_, &n), 0);
        return n;
    }
    std::string name(int c) const {
        char text[CLEAR_NAME_BUFSIZE] = "";
        EXPECT_EQ(CLEAR_ask_configuration_name(dataset_, c, text), 0);
        return text;
    }
    // Configuration c's transform and its moving objects.
    MTX4_t transform(int c, std::vector<tag_t>* moving = nullptr) const {
        MTX4_t m{};
        int n = 0;
        tag_t* objects = nullptr;
        EXPECT_EQ(CLEAR_ask_configuration_position_data(dataset_, c, 0, &m, nullptr, &n, &objects), 0);
        if (moving) moving->assign(objects, objects + n);
        SM_free(objects);
        return m;
    }

    tag_t dataset_ = 0;
    tag_t wheel_ = 0;
};

TEST_F(EvtClearanceTest, EveryRecordBecomesALoadConfigurationReplacingThePreviousOnes) {
    add_old_configuration();
    ASSERT_EQ(build(write_records({kDesign, kJounce, steered(10.0)})), 0);

    ASSERT_EQ(configurations(), 3);
    const char* names[] = {"LOAD 1", "LOAD 2", "LOAD 3"};
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(names[c]);
        EXPECT_EQ(name(c), names[c]);
        std::vector<tag_t> moving;
        transform(c, &moving);
        EXPECT_EQ(moving, std::vector<tag_t>{wheel_}) << "the old first configuration's moving object";
    }
    // The design position stays; 80 mm of jounce is a pure lift.
    const MTX4_t design = transform(0);
    const MTX4_t jounce = transform(1);
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double lift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 80, 0, 0, 0, 1};
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(design.m[k], identity[k], kTolerance) << k;
        EXPECT_NEAR(jounce.m[k], lift[k], kTolerance) << k;
    }
    EXPECT_TRUE(host_testing::error_lines().empty());
}

TEST_F(EvtClearanceTest, ADataSetWithoutConfigurationsGetsConfigurationsThatMoveNothing) {
    ASSERT_EQ(build(write_records({kDesign, kJounce}, "")), 0);
    ASSERT_EQ(configurations(), 2);
    std::vector<tag_t> moving{1};
    transform(1, &moving);
    EXPECT_TRUE(moving.empty());
}

TEST_F(EvtClearanceTest, EachTransformCarriesTheDesignSpindleOntoItsRecord) {
    const std::vector<Record> records = {kDesign, kJounce, steered(10.0), cambered(-2.0, -60.0), steered(-25.0)};
    ASSERT_EQ(build(write_records(records)), 0);
    ASSERT_EQ(configurations(), 5);
    // The outboard unit direction of the design axis (P is 790 out, Q 690).
    const Point axis0 = unit(add(kDesign.p, kDesign.q, -1.0));
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE("LOAD " + std::to_string(i + 1));
        const MTX4_t m = transform(static_cast<int>(i));
        const Point axis_i = unit(add(records[i].p, records[i].q, -1.0));
        expect_near(carried(m, kDesign.p), records[i].p, "wheel centre");
        expect_near(carried(m, add(kDesign.p, axis0)), add(records[i].p, axis_i), "a point 1 mm out on the axis");
        expect_near(carried(m, kDesign.q), records[i].q, "axis point 100 mm inboard");
    }
}

TEST_F(EvtClearanceTest, RefusedFilesAndDataSetsChangeNothingAndAreLogged) {
    add_old_configuration();
    const std::string design_only = write_records({kDesign});
    write_file(path("five.pts"), "######\n" + record_line(kDesign) + "1000, 790, 430, 1000, 690\n");
    write_file(path("seven.pts"), "######\n" + record_line(kDesign) + "1000, 790, 430, 1000, 690, 430, 1\n");
    write_file(path("word.pts"), "######\n" + record_line(kDesign) + "jounce 1000, 790, 430, 1000, 690, 430\n");
    write_file(path("header_only.pts"), "Front right wheel\n######\n");
    write_file(path("zero_spindle.pts"), "######\n" + record_line(kDesign) + "1000, 790, 430, 1000, 790, 430\n");
    struct Case {
        const char* what;
        std::string file;
        tag_t dataset;
        int expected;
    };
    const Case cases[] = {
        {"a record of five numbers", path("five.pts"), dataset_, -2},
        {"a record of seven numbers", path("seven.pts"), dataset_, -3},
        {"a record with a word", path("word.pts"), dataset_, -3},
        {"a missing file", path("missing.pts"), dataset_, -1},
        {"a file without records", path("header_only.pts"), dataset_, -1},
        {"a later record whose spindle has no length", path("zero_spindle.pts"), dataset_, HM_ERR_BAD_ARGUMENT},
        {"tag 0 for the data set", design_only, 0, HM_ERR_INVALID_TAG},
        {"a body for the data set", design_only, wheel_, HM_ERR_INVALID_TAG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_testing::clear_sinks();
        double origin[3] = {0, 0, 0};
        double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        const int code = VD_EVTWIZ_build_clear_configurations(c.dataset, c.file.c_str(), origin, axes);
        EXPECT_EQ(code, c.expected);
        ASSERT_EQ(configurations(), 1);
        EXPECT_EQ(name(0), "OLD");
        ASSERT_EQ(host_testing::error_lines().size(), 1u);
        EXPECT_EQ(host_testing::error_lines()[0], "ERROR: DISPLACE file data extraction failed\n");
        ExpectNoLeaks();
    }
    double origin[3] = {0, 0, 0};
    EXPECT_EQ(VD_EVTWIZ_build_clear_configurations(dataset_, nullptr, origin, origin), -1);
    EXPECT_EQ(VD_EVTWIZ_build_clear_configurations(dataset_, design_only.c_str(), nullptr, nullptr), -1);
    EXPECT_EQ(configurations(), 1);
}

TEST_F(EvtClearanceTest, ObjectsGetTheirZonesInTheDataSet) {
    const tag_t tire = box_at(300.0);
    const tag_t zone_10 = zone_object(10.0);
    const tag_t zone_25 = zone_object(25.0);
    const tag_t objects[2] = {wheel_, tire};
    const tag_t zones[2] = {zone_10, zone_25};
    ASSERT_EQ(VD_EVTWIZ_add_objs_zone(dataset_, 2, zones, objects), 0);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, wheel_), zone_10);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, tire), zone_25);

    // No objects: nothing asked of the arrays, nothing changed.
    EXPECT_EQ(VD_EVTWIZ_add_objs_zone(dataset_, 0, nullptr, nullptr), 0);
    // The last object's result is the answer.
    const tag_t with_zero[2] = {tire, 0};
    EXPECT_EQ(VD_EVTWIZ_add_objs_zone(dataset_, 2, zones, with_zero), HM_ERR_INVALID_TAG);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, tire), zone_10);
    EXPECT_EQ(VD_EVTWIZ_add_objs_zone(0, 1, zones, objects), HM_ERR_INVALID_TAG);
    EXPECT_EQ(VD_EVTWIZ_add_objs_zone(dataset_, 2, nullptr, objects), -1);
}

// An assembly with two wheels (two bodies each) and a tire that has a
// facetted model beside its body.
class EvtClearanceObjectsTest : public EveTest {
protected:
    void SetUp() override {
        EveTest::SetUp();
        wheel_part_ = host_testing::make_part("wheel_part");
        rim_ = box_at(0.0);
        hub_ = box_at(200.0);
        tire_part_ = host_testing::make_part("tire_part");
        tire_body_ = box_at(0.0);
        tire_facets_ = host_testing::make_indexed_facet_model({{0, 0, 0}, {0.1, 0, 0}, {0, 0.1, 0}, {0, 0, 0.1}});
        host_testing::make_part("front_corner");
        left_wheel_ = host_testing::add_component(wheel_part_, "LEFT_WHEEL");
        left_rim_ = host_testing::add_occurrence(left_wheel_, rim_);
        left_hub_ = host_testing::add_occurrence(left_wheel_, hub_);
        right_wheel_ = host_testing::add_component(wheel_part_, "RIGHT_WHEEL");
        right_rim_ = host_testing::add_occurrence(right_wheel_, rim_);
        tire_ = host_testing::add_component(tire_part_, "TIRE");
        host_testing::add_occurrence(tire_, tire_body_);
        tire_facet_occurrence_ = host_testing::add_occurrence(tire_, tire_facets_);
    }
    std::vector<tag_t> objects_of(tag_t object, int expected_code = 0) {
        int n = -1;
        tag_t* tags = reinterpret_cast<tag_t*>(&n);
        EXPECT_EQ(VD_EVTWIZ_ask_objs_tag_of_component(object, &n, &tags), expected_code);
        std::vector<tag_t> out(tags, tags + n);
        if (expected_code != 0) {
            EXPECT_EQ(tags, nullptr);
        }
        SM_free(tags);
        return out;
    }

    tag_t wheel_part_ = 0, tire_part_ = 0;
    tag_t rim_ = 0, hub_ = 0, tire_body_ = 0, tire_facets_ = 0;
    tag_t left_wheel_ = 0, left_rim_ = 0, left_hub_ = 0, right_wheel_ = 0, right_rim_ = 0;
    tag_t tire_ = 0, tire_facet_occurrence_ = 0;
};

TEST_F(EvtClearanceObjectsTest, AComponentStandsForItsFacettedModelsElseItsBodies) {
    EXPECT_EQ(objects_of(left_wheel_), (std::vector<tag_t>{left_rim_, left_hub_}));
    EXPECT_EQ(objects_of(right_wheel_), (std::vector<tag_t>{right_rim_})) << "only its own occurrences, once";
    EXPECT_EQ(objects_of(tire_), (std::vector<tag_t>{tire_facet_occurrence_})) << "facets before bodies";
    EXPECT_EQ(objects_of(left_hub_), (std::vector<tag_t>{left_hub_})) << "a solid stands for itself";
}

TEST_F(EvtClearanceObjectsTest, ObjectsThatStandForNothingGiveMinusOne) {
    const tag_t empty_part = host_testing::make_part("empty_part");
    host_testing::make_part("rear_corner");
    const tag_t bare = host_testing::add_component(empty_part, "BARE");
    for (tag_t object : {tag_t{0}, tire_facets_, bare, empty_part}) {
        SCOPED_TRACE(object);
        EXPECT_TRUE(objects_of(object, -1).empty());
    }
    EXPECT_EQ(VD_EVTWIZ_ask_objs_tag_of_component(left_wheel_, nullptr, nullptr), -1);
}

// The envelope's assembly, its parts placed by the tire-envelope tool.
class EvtClearanceAssemblyTest : public EveTest {
protected:
    void SetUp() override {
        EveTest::SetUp();
        assembly_.emplace([](tag_t parent, const char* file, const char* name, double x, double y) {
            double placement[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, 0}, {0, 0, 0, 1}};
            tag_t instance = 0;
            EXPECT_EQ(VD_EVTWIZ_add_component_to_assy(parent, file, "", name, placement, &instance), 0) << name;
            return OCC_ask_part_occ_of_instance(parent, instance);
        });
    }
    static std::vector<tag_t> objects_of(tag_t component) {
        int n = 0;
        tag_t* tags = nullptr;
        VD_EVTWIZ_ask_objs_tag_of_component(component, &n, &tags);
        std::vector<tag_t> out(tags, tags + n);
        SM_free(tags);
        return out;
    }
    static std::string text_of(tag_t object) {
        char text[HM_MAX_NAME_BUFSIZE] = "";
        HM_OBJ_ask_name(object, text, sizeof text);
        return text;
    }


    std::optional<eve_test::TopAssembly> assembly_;
};

TEST_F(EvtClearanceAssemblyTest, SubtreeIsWrittenDepthFirstFromTheGivenIndex) {
    tag_t array[8] = {7, 0, 0, 0, 0, 0, 0, 0};
    int count = 1;
    ASSERT_EQ(VD_EVTWIZ_ask_child_part_tags(assembly_->axle_occ, &count, array), 0);
    ASSERT_EQ(count, 6);
    const std::vector<tag_t> got(array, array + count);
    EXPECT_EQ(got, (std::vector<tag_t>{7, assembly_->axle_occ, assembly_->corner_occ, assembly_->wheel_occ,
                                       assembly_->hub_occ, assembly_->spare_occ}));
    EXPECT_EQ(array[6], 0u) << "nothing written past the subtree";
    EXPECT_EQ(VD_EVTWIZ_ask_child_part_tags(assembly_->axle_occ, nullptr, array), -1);
    count = -1;
    EXPECT_EQ(VD_EVTWIZ_ask_child_part_tags(assembly_->axle_occ, &count, array), -1);
}

TEST_F(EvtClearanceAssemblyTest, ClearanceListsHoldEachSubtreesObjectsWithTheirZoneExpressions) {
    const std::vector<tag_t> wheel = objects_of(assembly_->wheel_occ), hub = objects_of(assembly_->hub_occ),
                             spare = objects_of(assembly_->spare_occ);
    ASSERT_EQ(wheel.size(), 1u);
    ASSERT_EQ(hub.size(), 1u);
    ASSERT_EQ(spare.size(), 1u);
    const double values[2] = {2.5, 4.0};
    const tag_t components[2] = {assembly_->corner_occ, assembly_->spare_occ};
    const tag_t extra[1] = {assembly_->top_body};
    int n_objects = 0, n_expressions = 0;
    tag_t *objects = nullptr, *expressions = nullptr;
    ASSERT_EQ(VD_EVT_ask_clr_list_objs(0, values, 1, extra, 2, components, &n_objects, &objects, &n_expressions,
                                       &expressions),
              0);
    ASSERT_EQ(n_objects, 4);
    ASSERT_EQ(n_expressions, 3);
    EXPECT_EQ(std::vector<tag_t>(objects, objects + 4),
              (std::vector<tag_t>{wheel[0], hub[0], spare[0], assembly_->top_body}));
    EXPECT_EQ(text_of(expressions[0]), "2.500000");
    EXPECT_EQ(text_of(expressions[1]), "2.500000");
    EXPECT_EQ(text_of(expressions[2]), "4.000000");
    SM_free(objects);
    SM_free(expressions);
    bool blanked = false;
    ASSERT_EQ(HM_OBJ_ask_blank_status(assembly_->hub_occ, &blanked), 0);
    EXPECT_TRUE(blanked) << "each occurrence of a subtree is blanked";
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtClearanceAssemblyTest, ClearanceListsOfNothingAreNullAndBadInputHandsNothingBack) {
    int n_objects = -1, n_expressions = -1;
    tag_t *objects = nullptr, *expressions = nullptr;
    ASSERT_EQ(VD_EVT_ask_clr_list_objs(0, nullptr, 0, nullptr, 0, nullptr, &n_objects, &objects, &n_expressions,
                                       &expressions),
              0);
    EXPECT_EQ(n_objects, 0);
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(expressions, nullptr);
    const tag_t components[1] = {assembly_->corner_occ};
    EXPECT_EQ(VD_EVT_ask_clr_list_objs(0, nullptr, 0, nullptr, 1, components, &n_objects, &objects, &n_expressions,
                                       &expressions),
              -1);
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtClearanceAssemblyTest, FixingComponentsLoadWithTheOptionsRestoredAfterwards) {
    HM_ASSEM_options_t before{};
    ASSERT_EQ(HM_ASSEM_ask_assem_options(&before), 0);
    tag_t occurrences[3] = {assembly_->axle_occ, assembly_->wheel_occ, assembly_->spare_occ};
    EXPECT_EQ(VD_EVT_load_fixing_components_fully(occurrences, 3), 0);
    HM_ASSEM_options_t after{};
    ASSERT_EQ(HM_ASSEM_ask_assem_options(&after), 0);
    EXPECT_EQ(after.load_fully, before.load_fully);
    EXPECT_EQ(after.load_interpart_data, before.load_interpart_data);
    EXPECT_EQ(VD_EVT_load_fixing_components_fully(nullptr, 2), -1);
}

TEST_F(EvtClearanceAssemblyTest, EngineRollCopiesStandInTheSecondListAndReplaceEarlierCopies) {
    const tag_t dataset = host_testing::make_clearance_dataset("ENGINE_ROLL", assembly_->top);
    MTX4_t lift{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 40, 0, 0, 0, 1}};
    ASSERT_EQ(CLEAR_add_configuration(dataset, 1, &lift, 0, nullptr, "ROLL +6"), 0);
    tag_t moving[1] = {assembly_->spare_occ};
    ASSERT_EQ(VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(assembly_->top, dataset, moving, 1), 0);
    const tag_t instance = OCC_ask_instance_of_name(assembly_->top, "ROLL_MOVING_COMP_COPY_0");
    ASSERT_NE(instance, 0u);
    const tag_t copy = OCC_ask_part_occ_of_instance(assembly_->top, instance);
    double where[16] = {}, copy_where[16] = {};
    ASSERT_EQ(OCC_ask_transform_of_occurrence(assembly_->spare_occ, where), 0);
    ASSERT_EQ(OCC_ask_transform_of_occurrence(copy, copy_where), 0);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(copy_where[k], where[k], 1e-9) << k;
    EXPECT_NEAR(copy_where[7], 1500.0, 1e-9) << "the spare sits 500 along the axle, the axle 1000 along y";

    ASSERT_EQ(VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(dataset, 1, 1, moving), 0);
    EXPECT_EQ(host_testing::clearance_list(dataset, 1), (std::vector<tag_t>{assembly_->spare_occ}));
    EXPECT_EQ(host_testing::clearance_list(dataset, 2), (std::vector<tag_t>{assembly_->spare_occ, copy}));
    int type = 0;
    ASSERT_EQ(CLEAR_ask_lists_obj_type(dataset, &type), 0);
    EXPECT_EQ(type, 1);
    MTX4_t m{};
    int n = 0;
    tag_t* objects = nullptr;
    ASSERT_EQ(CLEAR_ask_configuration_position_data(dataset, 0, 0, &m, nullptr, &n, &objects), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(objects[0], assembly_->spare_occ);
    EXPECT_EQ(m.m[11], 40.0) << "the configuration keeps its transform";
    SM_free(objects);

    // A second copying replaces the first copy.
    ASSERT_EQ(VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(assembly_->top, dataset, moving, 1), 0);
    EXPECT_EQ(HM_OBJ_ask_status(copy), 0) << "the earlier copy is gone";
    EXPECT_NE(OCC_ask_instance_of_name(assembly_->top, "ROLL_MOVING_COMP_COPY_0"), 0u);
    EXPECT_EQ(VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(assembly_->top, 0, moving, 1), HM_ERR_INVALID_TAG);
}

TEST_F(EvtClearanceAssemblyTest, AnEngineRollCopyOfAComponentShowingNoReferenceSetShowsNone) {
    struct Case {
        const char* refset;
        const char* copied;
    };
    for (const Case& c : {Case{"None", ""}, Case{"", ""}}) {
        SCOPED_TRACE(c.refset);
        double placement[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        tag_t instance = 0;
        ASSERT_EQ(VD_EVTWIZ_add_component_to_assy(assembly_->top, "/parts/hub.prt", c.refset, "LOOSE_HUB", placement,
                                                  &instance),
                  0);
        tag_t moving[1] = {OCC_ask_part_occ_of_instance(assembly_->top, instance)};
        const tag_t dataset = host_testing::make_clearance_dataset("ENGINE_ROLL", assembly_->top);
        ASSERT_EQ(VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(assembly_->top, dataset, moving, 1), 0);
        const tag_t copy =
            OCC_ask_part_occ_of_instance(assembly_->top, OCC_ask_instance_of_name(assembly_->top, "ROLL_MOVING_COMP_COPY_0"));
        char refset[HM_MAX_NAME_BUFSIZE] = "?";
        ASSERT_EQ(HM_ASSEM_ask_component_data(copy, nullptr, refset, nullptr, nullptr, nullptr, nullptr), 0);
        EXPECT_STREQ(refset, c.copied);
        ASSERT_EQ(ASSY_remove_component(copy), 0);
        ASSERT_EQ(ASSY_remove_component(moving[0]), 0);
    }
}

}  // namespace
