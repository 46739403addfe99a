// The 2003 release's point-cloud envelope and tire-engine forms: the offsets
// read from the rule function's list (extend and enlarge, with the corner
// rule of that release), the rule function that gathers facet vertices
// itself, the spindle file's copy, the walk's stop at a sharp turn near the
// end and the text of a section without near offset rows.
#include "../release2006/r2006_offset_corner.h"
#include "../envelope/envelope_fixtures.h"
#include "../envelope/eve_fixtures.h"
#include "r2003_envelope.h"
#include "test_helpers.h"

#include "istrane.h"
#include "point_cloud_envelope.h"
#include "quillon.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

using carvell::r2003::offset_envelope_points;
using eve_test::box_of;
using eve_test::cube_points;
using host_testing::ArgValue;

ArgValue vector_value(double x, double y, double z) {
    ArgValue v = ArgValue::point(x, y, z);
    v.kind = KBL_KIND_VECTOR;
    return v;
}

// A block of the host's memory manager holding the points.
double* hm_points(const std::vector<double>& p) {
    void* block = nullptr;
    EXPECT_EQ(HM_allocate_memory(p.size() * sizeof(double), &block), 0);
    std::copy(p.begin(), p.end(), static_cast<double*>(block));
    return static_cast<double*>(block);
}

class OffsetPointsTest : public HostTest {
protected:
    // Offsets the points by the list; the result stays in points_.
    int offset(const std::vector<double>& p, int per_position, const std::vector<ArgValue>& list, int mode) {
        free_points();
        points_ = hm_points(p);
        count_ = static_cast<int>(p.size() / 3);
        return offset_envelope_points(&points_, &count_, per_position, host_testing::make_value_list(list), mode,
                                      1.0);
    }
    void free_points() {
        HM_free(points_);
        points_ = nullptr;
    }
    void TearDown() override {
        free_points();
        HostTest::TearDown();
    }
    std::vector<double> result() const { return std::vector<double>(points_, points_ + 3 * count_); }

    double* points_ = nullptr;
    int count_ = 0;
};

TEST_F(OffsetPointsTest, ExtendSweepsThePointsAndKeepsTheHullsFacetVertices) {
    struct Case {
        const char* what;
        std::vector<ArgValue> list;
        double hi[3];   // the swept unit cube's upper corner
    };
    const Case cases[] = {
        {"one pair along z", {vector_value(0, 0, 2), ArgValue::number(10.0)}, {1, 1, 11}},
        {"a point value and an integer distance", {ArgValue::point(0, 3, 0), ArgValue::integer(5)}, {1, 6, 1}},
        {"three pairs, one too short to count",
         {vector_value(1, 0, 0), ArgValue::number(2.0), vector_value(0, 1, 0), ArgValue::number(5e-8),
          vector_value(0, 0, -1), ArgValue::number(-4.0)},
         {3, 1, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(offset(cube_points(1.0), 8, c.list, 0), 0);
        EXPECT_EQ(count_ % 3, 0) << "three points a hull facet";
        EXPECT_GE(count_, 36);   // a box hull has at least 12 triangles
        const auto box = box_of(points_, count_);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(box.lo[k], 0.0, 1e-12);
            EXPECT_NEAR(box.hi[k], c.hi[k], 1e-12);
        }
    }
}

TEST_F(OffsetPointsTest, ExtendWithAnEmptyListHandsTheSamePointsBackInANewBlock) {
    const std::vector<double> cube = cube_points(1.0);
    ASSERT_EQ(offset(cube, 8, {}, 0), 0);
    EXPECT_EQ(result(), cube);
}

TEST_F(OffsetPointsTest, EnlargeMovesEveryCubeCornerOutAcrossItsThreeFaces) {
    ASSERT_EQ(offset(cube_points(1.0), 8, {ArgValue::integer(1), ArgValue::number(1.0)}, 1), 0);
    ASSERT_EQ(count_, 8);
    const std::vector<double> cube = cube_points(1.0);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(points_[3 * i + k], cube[3 * i + k] == 0.0 ? -1.0 : 2.0, 1e-9);
    }
}

// Two positions of eight corners: the second 10 up. A position out of range
// has its distance read with it, so the next pair is read as a pair; no more
// positions are written than the points hold.
TEST_F(OffsetPointsTest, EnlargeWritesTheNamedPositionsInPairOrder) {
    std::vector<double> two = cube_points(1.0);
    const std::vector<double> upper = cube_points(1.0, 0, 0, 10);
    two.insert(two.end(), upper.begin(), upper.end());
    struct Case {
        const char* what;
        std::vector<ArgValue> list;
        std::vector<double> lowest_z;   // of each position written
    };
    const Case cases[] = {
        {"second position only", {ArgValue::integer(2), ArgValue::number(1.0)}, {9.0}},
        {"out of range, then the first",
         {ArgValue::integer(5), ArgValue::number(3.0), ArgValue::integer(1), ArgValue::number(1.0)}, {-1.0}},
        {"position 0 is out of range",
         {ArgValue::integer(0), ArgValue::integer(1), ArgValue::integer(2), ArgValue::integer(2)}, {8.0}},
        {"both, in reverse",
         {ArgValue::integer(2), ArgValue::number(1.0), ArgValue::integer(1), ArgValue::number(2.0)}, {9.0, -2.0}},
        {"more pairs than positions",
         {ArgValue::integer(1), ArgValue::number(1.0), ArgValue::integer(1), ArgValue::number(1.0),
          ArgValue::integer(2), ArgValue::number(1.0)},
         {-1.0, -1.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(offset(two, 8, c.list, 1), 0);
        ASSERT_EQ(count_, 8 * static_cast<int>(c.lowest_z.size()));
        for (size_t g = 0; g < c.lowest_z.size(); ++g)
            EXPECT_NEAR(box_of(points_ + 24 * g, 8).lo[2], c.lowest_z[g], 1e-9) << "position " << g;
    }
}

TEST_F(OffsetPointsTest, AnItemOfTheWrongKindLeavesThePointsAsTheyWere) {
    struct Case {
        const char* what;
        int mode;
        std::vector<ArgValue> list;
    };
    const Case cases[] = {
        {"extend: an integer for the vector", 0, {ArgValue::integer(1), ArgValue::number(1.0)}},
        {"extend: a point for the distance", 0, {vector_value(0, 0, 1), ArgValue::point(0, 0, 1)}},
        {"extend: a bad second pair", 0,
         {vector_value(0, 0, 1), ArgValue::number(1.0), ArgValue::text("x"), ArgValue::number(1.0)}},
        {"enlarge: a number for the position", 1, {ArgValue::number(1.0), ArgValue::number(1.0)}},
        {"enlarge: a text for the distance", 1, {ArgValue::integer(1), ArgValue::text("1")}},
        {"enlarge: an out-of-range position's bad distance", 1, {ArgValue::integer(7), ArgValue::point(0, 0, 1)}},
    };
    const std::vector<double> cube = cube_points(1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(offset(cube, 8, c.list, c.mode), EVE_ERR_WRONG_VALUE);
        EXPECT_EQ(result(), cube);
    }
    EXPECT_EQ(offset_envelope_points(nullptr, &count_, 8, nullptr, 0, 1.0), -1);
}

// The 2003 corner rule: no margin when the largest component is chosen, no
// parallel test (a zero component keeps the parameter at 0: the crossing is
// the start of line 1), directions compared within 0.001.
TEST_F(HostTest, TheCornerRuleOfThe2003Release) {
    using carvell::r2006::combine_offset_directions;
    using carvell::r2006::envelope_line_intersect;
    double out[3] = {7, 7, 7};
    const double a[3] = {1, 2, 3}, b[3] = {3, 3, 3}, q[3] = {0, 5, 1}, e[3] = {-4, -2, 0};
    EXPECT_EQ(envelope_line_intersect(a, b, q, e, out), 0);
    support::expect_point(out, {1, 2, 3}, 0.0);
    const double u[3] = {1, 0, 0}, v[3] = {0, 1, 0};
    combine_offset_directions(u, v, out);
    support::expect_point(out, {1, 1, 0}, 1e-12);
    const double short_u[3] = {0.0005, 0, 0};
    combine_offset_directions(short_u, v, out);
    support::expect_point(out, {0, 1, 0}, 0.0);
}

// gen_convex_envelope of the 2003 release: the facets of the objects given
// are gathered, placed at each frame and wrapped.
class ConvexEnvelopeTest : public eve_test::EveTest {
protected:
    void slots(const std::vector<ArgValue>& objects, const std::vector<ArgValue>& frames, int mode,
               const std::vector<ArgValue>& offsets) {
        for (auto& s : slots_) s.pointer = nullptr;
        const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
        slots_[1].list = host_testing::make_value_list(objects);
        slots_[3].value = host_testing::make_value(ArgValue::frame(o, x, y));
        slots_[4].list = host_testing::make_value_list(frames);
        slots_[5].integer = mode;
        slots_[6].list = host_testing::make_value_list(offsets);
    }
    static ArgValue at_z(double z) {
        const double o[3] = {0, 0, z}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
        return ArgValue::frame(o, x, y);
    }
    KBL_arg_slot_t slots_[8] = {};
};

TEST_F(ConvexEnvelopeTest, ABodysFacetsAreWrappedAtEveryPosition) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    struct Case {
        const char* what;
        std::vector<ArgValue> frames;
        int mode;
        std::vector<ArgValue> offsets;
        double volume;
    };
    const Case cases[] = {
        {"no frames", {}, 0, {}, 6000.0},
        {"two positions 100 apart", {at_z(0), at_z(100)}, 0, {}, 10 * 20 * 130.0},
        {"extended 20 along x", {at_z(0)}, 0, {vector_value(1, 0, 0), ArgValue::number(20.0)}, 30 * 20 * 30.0},
        {"enlarged by 1", {at_z(0)}, 1, {ArgValue::integer(1), ArgValue::integer(1)}, 12 * 22 * 32.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        slots({ArgValue::object(box)}, c.frames, c.mode, c.offsets);
        ASSERT_EQ(gen_convex_envelope(slots_, 0, nullptr), 0);
        ASSERT_NE(slots_[0].tag, 0u);
        EXPECT_NEAR(host_testing::volume(slots_[0].tag), c.volume, 1e-6 * c.volume);
    }
    EXPECT_EQ(files_in_dir(), 0u) << "no scratch file";
}

TEST_F(ConvexEnvelopeTest, NoPointsGiveTheSmallBlockAndWrongValuesNothing) {
    slots({}, {}, 0, {});
    ASSERT_EQ(gen_convex_envelope(slots_, 0, nullptr), 0);
    EXPECT_NE(slots_[0].tag, 0u);
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    const tag_t box = host_testing::make_box(corner, size);
    const int objects = host_testing::count_objects();
    struct Case {
        const char* what;
        std::vector<ArgValue> objects;
        std::vector<ArgValue> offsets;
    };
    const Case cases[] = {
        {"an object list holding a number", {ArgValue::number(1.0)}, {}},
        {"an offset of the wrong kind", {ArgValue::object(box)}, {ArgValue::integer(1), ArgValue::number(1.0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        slots(c.objects, {}, 0, c.offsets);
        EXPECT_EQ(gen_convex_envelope(slots_, 0, nullptr), EVE_ERR_WRONG_VALUE);
        EXPECT_EQ(slots_[0].tag, 0u);
    }
    // Only the box's facetted model, made when its facets were first gathered.
    EXPECT_LE(host_testing::count_objects(), objects + 1);
    EXPECT_EQ(gen_convex_envelope(nullptr, 0, nullptr), -1);
}

}  // namespace

namespace envelope_test {
namespace {

using namespace carvell::envelope;

class Tire2003Test : public EnvelopeTest {};

// Always the one name in the temporary directory, written over even when it
// cannot be made writable; the stored lines are written as they are.
TEST_F(Tire2003Test, TheSpindleCopyHasOneNameAndTheStoredLinesAsTheyAre) {
    ASSERT_NE(host_testing::make_rule_instance("root:", kInstance, kToolClass,
                                               {{"spindle_file_data", list_rule({"header\n", "######\n"})},
                                                {"spindle_file_data_1", list_rule({"not read\n"})},
                                                {"spindle_line_count", "2"}}),
              0u);
    const std::string first = dir_ + "/spindle_file.pts";
    { std::ofstream(first) << "old\n"; }
    ASSERT_EQ(generate_spindle_copy(params_.get()), 0);
    EXPECT_EQ(std::string(params_->spindle_file), first);
    std::ifstream in(first);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "header\n######\n");
}

// The turns of the last three steps; a sharper one near the end stops.
TEST_F(Tire2003Test, TheWalkStopsAtASharpTurnNearTheEnd) {
    struct Case {
        const char* what;
        double turns[3];
        double angle;
        size_t points;
        double end_distance;
        bool stops;
    };
    const Case cases[] = {
        {"sharper than the three together, end within reach", {5, 5, 5}, 16, 4, 14.9, true},
        {"not sharper", {5, 5, 5}, 15, 4, 1, false},
        {"end beyond 1.5 radii", {5, 5, 5}, 16, 4, 15.1, false},
        {"fewer than four points", {0, 0, 5}, 16, 3, 1, false},
        {"zeros before three steps", {0, 0, 0}, 1, 4, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double turns[3] = {c.turns[0], c.turns[1], c.turns[2]};
        EXPECT_EQ(walk_turn_stop(turns, c.angle, c.points, c.end_distance, 10.0), c.stops);
        EXPECT_EQ(turns[2], c.angle);
        EXPECT_EQ(turns[0], c.turns[1]);
    }
}

TEST_F(Tire2003Test, ASectionWithoutNearRowsSaysFortyFiveDegrees) {
    params_->offset_from_file = 1;
    params_->num_offset_sections = 1;
    params_->offset_angles[0] = 0.0;
    params_->num_offsets[0] = 1;
    params_->offsets[0][0] = 5.0;
    params_->num_sections = 2;
    params_->section_angles[0] = 0.0;
    params_->section_angles[1] = 150.0;
    EXPECT_EQ(prepare_section_offsets(params_.get()), 1);
    EXPECT_TRUE(dialog_shown("Offset", "and the nearest specified section is greater than 45 deg away."));
}

}  // namespace
}  // namespace envelope_test
