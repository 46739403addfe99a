// The shared internal layer: the undo scope of a modelling step and its
// exception-to-code conversion, owners of host lists, blocks and temporary
// objects, rule paths and the instance reader, and object kinds.
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/rule_path.h"
#include "toolbox/detail/undo_scope.h"
#include "toolbox/detail/vec3.h"

#include "host_fixture.h"
#include "test_helpers.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using namespace carvell::detail;
using support::new_point;

/* ---- undo scope ---- */

class UndoScopeTest : public HostTest {
protected:
    void TearDown() override {
        EXPECT_EQ(host_testing::undo_mark_count(), 0) << "a scope left its mark behind";
        ExpectNoLeaks();
    }
};

TEST_F(UndoScopeTest, RollsBackWhatWasMadeInsideUnlessKept) {
    struct Case {
        const char* name;
        bool keep;
        UndoScope::RollBack roll_back;
        int points_after;
    };
    const Case cases[] = {{"left alone", false, UndoScope::RollBack::reported, 1},
                          {"left alone, rolled back quietly", false, UndoScope::RollBack::quiet, 1},
                          {"kept", true, UndoScope::RollBack::reported, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int points = host_testing::count_objects(0, HM_point_type);
        const tag_t before = new_point(0, 0, 0);
        {
            UndoScope scope(UNDO_visible, "Step", c.roll_back);
            ASSERT_TRUE(scope.is_set());
            EXPECT_STREQ(UNDO_KW_ask_mark_name(scope.mark()), "Step");
            new_point(1, 0, 0);
            new_point(2, 0, 0);
            EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points + 3);
            if (c.keep) scope.keep();
        }
        EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points + c.points_after);
        EXPECT_EQ(HM_OBJ_ask_status(before), HM_OBJ_ALIVE);
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
    }
}

TEST_F(UndoScopeTest, RollingBackBringsBackWhatWasDeletedAndChanged) {
    const tag_t point = new_point(0, 0, 0);
    ASSERT_EQ(HM_OBJ_set_name(point, "BEFORE"), 0);
    const tag_t gone = new_point(5, 0, 0);
    {
        UndoScope scope(UNDO_invisible, nullptr);
        ASSERT_EQ(HM_OBJ_set_name(point, "AFTER"), 0);
        ASSERT_EQ(HM_OBJ_delete_object(gone), 0);
        scope.roll_back();
        // Settled: keeping afterwards changes nothing.
        scope.keep();
    }
    char name[32] = "";
    ASSERT_EQ(HM_OBJ_ask_name(point, name, sizeof name), 0);
    EXPECT_STREQ(name, "BEFORE");
    EXPECT_EQ(HM_OBJ_ask_status(gone), HM_OBJ_ALIVE);
}

TEST_F(UndoScopeTest, MarksSetInsideGoWithTheScopesMark) {
    {
        UndoScope outer(UNDO_visible, "outer");
        UndoScope inner(UNDO_visible, "inner");
        (void)UNDO_KW_set_mark(UNDO_visible, "left by a step");
        EXPECT_EQ(host_testing::undo_mark_count(), 3);
        outer.roll_back();
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
        EXPECT_FALSE(UNDO_KW_ask_mark_exist(inner.mark()));
        // The inner scope finds its mark gone and leaves everything alone.
    }
    EXPECT_TRUE(host_testing::error_lines().empty()) << "a missing mark is not an error";
}

// The code Korvath::Error::Severe::Convert gives for what a step throws,
// worked out with the host's own conversion.
template <typename Throw>
int converted(Throw raise) {
    try {
        raise();
    } catch (...) {
        return Korvath::Error::Severe::Convert().askCode();
    }
    return 0;
}

TEST_F(UndoScopeTest, AnExceptionInsideAStepIsConvertedToItsCodeAndRolledBack) {
    struct Case {
        const char* name;
        void (*raise)();
        int code;
    };
    const Case cases[] = {
        {"host error", [] { ERROR_raise("hm_vd", 1, HM_ERR_WRONG_OBJECT, ""); }, HM_ERR_WRONG_OBJECT},
        {"standard exception", [] { throw std::runtime_error("no room"); },
         converted([] { throw std::runtime_error("no room"); })},
        {"anything else", [] { throw 42; }, converted([] { throw 42; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.code, 0);
        const int points = host_testing::count_objects(0, HM_point_type);
        UndoScope scope(UNDO_visible, "Step");
        const int result = run_step(scope, "hm_vd", __LINE__, [&] {
            new_point(1, 2, 3);
            c.raise();
            return 0;
        });
        EXPECT_EQ(result, c.code);
        // Rolled back at once, before the scope is left.
        EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points);
        EXPECT_FALSE(UNDO_KW_ask_mark_exist(scope.mark()));
    }
}

TEST_F(UndoScopeTest, AStepsOwnStatusIsAnsweredAndTheScopeSettlesOnLeaving) {
    for (const int status : {0, -1, static_cast<int>(HM_ERR_GEOMETRY)}) {
        SCOPED_TRACE(status);
        const int points = host_testing::count_objects(0, HM_point_type);
        {
            UndoScope scope(UNDO_visible, nullptr);
            EXPECT_EQ(run_step(scope, "hm_vd", __LINE__, [&] {
                          new_point(0, 0, 1);
                          return status;
                      }),
                      status);
            EXPECT_TRUE(UNDO_KW_ask_mark_exist(scope.mark()));
            EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points + 1);
            // Kept on success, rolled back otherwise.
            if (status == 0) scope.keep();
        }
        EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points + (status == 0 ? 1 : 0));
    }
}

/* ---- owners ---- */

class OwnersTest : public HostTest {
protected:
    void TearDown() override { ExpectNoLeaks(); }
};

TEST_F(OwnersTest, ListsAndBlocksAreFreedWhenTheirOwnersGo) {
    const size_t start = host_testing::live_allocations();
    {
        HostList list;
        ASSERT_EQ(HM_MODL_create_list(list.out()), 0);
        const tag_t a = new_point(0, 0, 0), b = new_point(1, 0, 0);
        HM_MODL_put_list_item(list.get(), a);
        HM_MODL_put_list_item(list.get(), b);
        EXPECT_EQ(list.items(), (std::vector<tag_t>{a, b}));
        // Filling it again frees the list held before.
        ASSERT_EQ(HM_MODL_create_list(list.out()), 0);
        EXPECT_TRUE(list.items().empty());

        SmBlock<double> values(static_cast<double*>(SM_calloc(4, sizeof(double))));
        values[3] = 2.5;
        EXPECT_EQ(values.get()[3], 2.5);
        values.reset(static_cast<double*>(SM_alloc(sizeof(double))));
        HmBlock<tag_t> tags(static_cast<tag_t*>(SM_alloc(2 * sizeof(tag_t))));
        SmBlock<char> text;
        *text.out() = SM_string_copy("text");
        EXPECT_STREQ(text.get(), "text");
        EXPECT_GT(host_testing::live_allocations(), start);
    }
    EXPECT_EQ(host_testing::live_allocations(), start);
}

TEST_F(OwnersTest, ReleasedListsAndBlocksAreTheCallersToFree) {
    const size_t start = host_testing::live_allocations();
    hm_list_p_t kept_list = nullptr;
    char* kept_text = nullptr;
    {
        HostList list;
        ASSERT_EQ(HM_MODL_create_list(list.out()), 0);
        kept_list = list.release();
        SmBlock<char> text(SM_string_copy("kept"));
        kept_text = text.release();
        EXPECT_EQ(text.get(), nullptr);
    }
    EXPECT_EQ(host_testing::live_allocations(), start + 2);
    EXPECT_STREQ(kept_text, "kept");
    HM_MODL_delete_list(&kept_list);
    SM_free(kept_text);
}

TEST_F(OwnersTest, TemporariesStillAliveAreDeletedAndOthersLeftAlone) {
    const tag_t lasting = new_point(9, 9, 9);
    tag_t first = 0, second = 0, released = 0;
    {
        Temporaries temporaries;
        first = temporaries.add(new_point(0, 0, 0));
        second = temporaries.add(new_point(1, 0, 0));
        released = temporaries.add(new_point(2, 0, 0));
        EXPECT_EQ(temporaries.add(NULL_TAG), NULL_TAG);
        temporaries.release(released);
        EXPECT_EQ(temporaries.objects(), (std::vector<tag_t>{first, second}));
        // Already gone by the end: no second deletion.
        ASSERT_EQ(HM_OBJ_delete_object(second), 0);
    }
    EXPECT_EQ(HM_OBJ_ask_status(first), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(second), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(released), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(lasting), HM_OBJ_ALIVE);
    EXPECT_TRUE(host_testing::error_lines().empty());
}

TEST_F(OwnersTest, TemporariesLoggedForUpdateGoAtTheNextUpdate) {
    tag_t point = 0;
    {
        Temporaries temporaries(Temporaries::Disposal::log_for_update);
        point = temporaries.add(new_point(0, 0, 0));
    }
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_ALIVE) << "logged, not yet deleted";
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_DELETED);
}

TEST_F(OwnersTest, IntersectionEntriesAreFreedAndTheirCurvesDeletedWhenDiscarded) {
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0, 1};
    tag_t plane = 0;
    ASSERT_EQ(HM_MODL_create_plane(origin, up, &plane), 0);
    const tag_t crossing = support::new_line(1, 1, -1, 1, 1, 1);
    const tag_t lying = support::new_line(0, 0, 0, 4, 0, 0);
    for (const bool discard : {false, true}) {
        SCOPED_TRACE(discard ? "discarded" : "freed");
        const size_t start = host_testing::live_allocations();
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        ASSERT_EQ(HM_MODL_intersect_objects(plane, crossing, 1e-6, &count, &entries), 0);
        ASSERT_EQ(count, 1);
        EXPECT_EQ(entries[0]->kind, HM_INTERSECTION_POINT);
        free_intersection_entries(count, entries);

        ASSERT_EQ(HM_MODL_intersect_objects(plane, lying, 1e-6, &count, &entries), 0);
        ASSERT_EQ(count, 1);
        ASSERT_EQ(entries[0]->kind, HM_INTERSECTION_CURVE);
        const tag_t curve = entries[0]->curve;
        if (discard)
            discard_intersection_entries(count, entries);
        else
            free_intersection_entries(count, entries);
        EXPECT_EQ(HM_OBJ_ask_status(curve), discard ? HM_OBJ_DELETED : HM_OBJ_ALIVE);
        EXPECT_EQ(host_testing::live_allocations(), start);
    }
    free_intersection_entries(0, nullptr);
    discard_intersection_entries(3, nullptr);
}

/* ---- rule paths and the instance reader ---- */

class RulePathTest : public HostTest {
protected:
    void TearDown() override { ExpectNoLeaks(); }
};

TEST_F(RulePathTest, PathsAreBuiltToTheirFullLength) {
    const std::string long_name(300, 'n');
    struct Case {
        const char* name;
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"instance", RulePath("root:", "seat").path(), "root:seat:"},
        {"attribute", RulePath("root:seat:", "rcode").path(), "root:seat:rcode:"},
        {"long name", RulePath("Root:", long_name.c_str()).path(), "Root:" + long_name + ":"},
        {"joined", RulePath::joined({"Root:", "seat", ":Hpd_geometry:Sgrp_Curve:"}).path(),
         "Root:seat:Hpd_geometry:Sgrp_Curve:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.path, c.expected);
    }
    RulePath path("root:", "seat");
    EXPECT_STREQ(TEXT_ask_string(path.text()), "root:seat:");
}

TEST_F(RulePathTest, TheReaderReadsEachKindAndUnsetAttributesReadAsTheirZero) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "seat", "%kw_vd_H_point_design_tool",
                                               {{"count", "3"},
                                                {"length", "12.5"},
                                                {"on?", "TRUE"},
                                                {"where", "Point(1,2,3)"},
                                                {"heels", "{ Point(1,0,0), Point(4,5,6) }"},
                                                {"angles", "{ 10.0, 20.0 }"},
                                                {"frame", "Frame(1,2,3, 0,1,0, -1,0,0, 0,0,1)"},
                                                {"sheet", "\"sheet.csv\""}}),
              0u);
    RulePath instance("root:", "seat");
    const InstanceReader read(instance.path());
    EXPECT_EQ(read.integer("count"), 3);
    EXPECT_DOUBLE_EQ(read.number("length"), 12.5);
    EXPECT_TRUE(read.boolean("on?"));
    double p[3];
    read.point("where", p);
    EXPECT_EQ(std::vector<double>(p, p + 3), (std::vector<double>{1, 2, 3}));
    read.point_member("heels", 2, p);
    EXPECT_EQ(std::vector<double>(p, p + 3), (std::vector<double>{4, 5, 6}));
    EXPECT_DOUBLE_EQ(read.number_member("angles", 2), 20.0);
    double origin[3], matrix[9];
    read.frame("frame", origin, matrix);
    EXPECT_EQ(std::vector<double>(origin, origin + 3), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(std::vector<double>(matrix, matrix + 9), (std::vector<double>{0, 1, 0, -1, 0, 0, 0, 0, 1}));
    char* sheet = read.string("sheet");
    EXPECT_STREQ(sheet, "sheet.csv");
    SM_free(sheet);

    // Unset attributes: zero values, the absolute frame, no string.
    read.point("where", p);
    read.point("missing", p);
    EXPECT_EQ(std::vector<double>(p, p + 3), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(read.integer("missing"), 0);
    EXPECT_EQ(read.number("missing"), 0.0);
    EXPECT_FALSE(read.boolean("missing"));
    read.frame("missing", origin, matrix);
    EXPECT_EQ(std::vector<double>(matrix, matrix + 9), (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(read.string("missing"), nullptr);
}

/* ---- object kinds and constants ---- */

class ObjectKindsTest : public HostTest {};

TEST_F(ObjectKindsTest, CurveTypesAreLinesArcsConicsType7AndSplines) {
    struct Case {
        int type;
        int subtype;
        bool curve;
        bool curve_or_edge;
    };
    const Case cases[] = {
        {HM_point_type, 0, false, false},     {HM_line_type, 0, true, true},
        {HM_circle_type, 0, true, true},      {HM_conic_type, 0, true, true},
        {7, 0, true, true},                   {8, 0, false, false},
        {HM_spline_type, 0, true, true},      {HM_plane_type, 0, false, false},
        {HM_solid_type, 0, false, false},     {HM_solid_type, 2, false, false},
        {HM_solid_type, 3, false, true},      {HM_feature_type, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " subtype " << c.subtype);
        EXPECT_EQ(is_curve_type(c.type), c.curve);
        EXPECT_EQ(is_curve_or_edge(c.type, c.subtype), c.curve_or_edge);
    }
}

TEST_F(ObjectKindsTest, ObjectsAreTestedByTypeSubtypeAndLife) {
    const tag_t point = new_point(0, 0, 0);
    const double low[3] = {0, 0, 0}, high[3] = {10, 10, 10};
    const tag_t body = host_testing::make_box(low, high);
    EXPECT_TRUE(is_of_kind(point, HM_point_type));
    EXPECT_FALSE(is_of_kind(point, HM_line_type));
    EXPECT_TRUE(is_solid(body, HM_solid_body_subtype));
    EXPECT_FALSE(is_solid(body, HM_solid_face_subtype));
    EXPECT_TRUE(is_of_kind(body, HM_solid_type));
    EXPECT_FALSE(is_of_kind(NULL_TAG, HM_point_type, kAnySubtype));
    EXPECT_TRUE(is_alive(point));
    ASSERT_EQ(HM_OBJ_delete_object(point), 0);
    EXPECT_FALSE(is_alive(point));
    EXPECT_FALSE(is_alive(NULL_TAG));
}

TEST(ConstantsTest, DegreeConversionsRoundTripAndTheVariantsStayWithinFourUnitsInTheLastPlace) {
    // 180 / pi and pi / 180 to 20 digits, worked out by hand.
    EXPECT_NEAR(kDegreesPerRadian, 57.295779513082320877, 1e-14);
    EXPECT_NEAR(kRadiansPerDegree, 0.017453292519943295769, 1e-17);
    EXPECT_NEAR(kDegreesPerRadianAsUsed / kDegreesPerRadian - 1.0, 0.0, 1e-15);
    EXPECT_NEAR(kRadiansPerDegreeAsUsed / kRadiansPerDegree - 1.0, 0.0, 1e-15);
    EXPECT_NE(kDegreesPerRadianAsUsed, kDegreesPerRadian);
    EXPECT_NEAR(std::sin(90.0 * kRadiansPerDegree), 1.0, 1e-15);
}

TEST(Vec3Test, Copy3CopiesThreeCoordinatesAndNoMore) {
    const double from[4] = {1.5, -2.0, 3.25, 7.0};
    double to[4] = {0.0, 0.0, 0.0, -1.0};
    copy3(from, to);
    EXPECT_EQ(std::vector<double>(to, to + 4), (std::vector<double>{1.5, -2.0, 3.25, -1.0}));
}

TEST(Vec3Test, ReversingARowSwapsCoordinatesAndKeepsThePointers) {
    for (int n : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(n);
        std::vector<std::array<double, 3>> points;
        for (int i = 0; i < n; ++i) points.push_back({i * 1.0, i * 10.0, i * 100.0});
        std::vector<double*> row;
        for (auto& p : points) row.push_back(p.data());
        const std::vector<double*> pointers = row;
        reverse_point_array(n, row.data());
        EXPECT_EQ(row, pointers);
        for (int i = 0; i < n; ++i) {
            const double j = n - 1 - i;
            EXPECT_EQ(std::vector<double>(row[i], row[i] + 3), (std::vector<double>{j, j * 10.0, j * 100.0}));
        }
    }
    reverse_point_array(3, nullptr);
}

}  // namespace

/* ---- finiteness and counts ---- */

TEST(FiniteTest, ValuesPointsAndRowsAreFiniteOnlyWhenEveryNumberIs) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    const double good[3] = {1.0, -1e300, 4e-320}, with_nan[3] = {0.0, nan, 0.0}, with_inf[3] = {0.0, 0.0, -inf};
    const struct {
        const char* name;
        const double* v;
        int n;
        bool finite;
    } cases[] = {
        {"large, negative and denormal values", good, 3, true},
        {"NaN", with_nan, 3, false},
        {"negative infinity", with_inf, 3, false},
        {"NaN beyond the count", with_nan, 1, true},
        {"no values", good, 0, true},
        {"negative count", good, -1, false},
        {"null array", nullptr, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(all_finite(c.v, c.n), c.finite);
    }
    EXPECT_TRUE(finite3(good));
    EXPECT_FALSE(finite3(nullptr));
    EXPECT_FALSE(all_finite({1.0, 2.0, nan}));
    EXPECT_TRUE(all_finite({1.0, 1e308}));

    const double* row[3] = {good, good, good};
    const double* row_with_null[3] = {good, nullptr, good};
    const double* row_with_nan[2] = {good, with_nan};
    EXPECT_TRUE(finite_point_row(3, row));
    EXPECT_FALSE(finite_point_row(3, row_with_null));
    EXPECT_FALSE(finite_point_row(2, row_with_nan));
    EXPECT_TRUE(finite_point_row(1, row_with_nan));
    EXPECT_TRUE(finite_point_row(0, nullptr));
    EXPECT_FALSE(finite_point_row(2, nullptr));
    EXPECT_FALSE(finite_point_row(-1, row));
}

TEST(FiniteTest, ModelSpaceHoldsFiniteValuesUpToTheHostsLimit) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    const double edge[3] = {1e12, -1e12, 4e-320}, past[3] = {0.0, 1.0000001e12, 0.0}, far[3] = {-1e308, 0.0, 0.0},
                 with_nan[3] = {nan, 0.0, 0.0}, with_inf[3] = {0.0, 0.0, inf};
    const struct {
        const char* name;
        const double* v;
        int n;
        bool inside;
    } cases[] = {
        {"at the limit, either sign, and denormal", edge, 3, true},
        {"just past the limit", past, 3, false},
        {"-1e308", far, 3, false},
        {"NaN", with_nan, 3, false},
        {"infinity", with_inf, 3, false},
        {"past the limit beyond the count", past, 1, true},
        {"negative count", edge, -1, false},
        {"null array", nullptr, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(in_model_space(c.v, c.n), c.inside);
    }
    EXPECT_TRUE(model_point(edge));
    EXPECT_FALSE(model_point(nullptr));
    EXPECT_TRUE(in_model_space({1.0, -1e12}));
    EXPECT_FALSE(in_model_space({1.0, 1e300}));
    const double* row[2] = {edge, edge};
    const double* row_with_null[2] = {edge, nullptr};
    const double* row_past[2] = {edge, past};
    EXPECT_TRUE(model_point_row(2, row));
    EXPECT_FALSE(model_point_row(2, row_with_null));
    EXPECT_FALSE(model_point_row(2, row_past));
    EXPECT_TRUE(model_point_row(0, nullptr));
    EXPECT_FALSE(model_point_row(-1, row));
}

TEST(FiniteTest, CountsFitOneBlockOfAtMostOneGibibyte) {
    const struct {
        const char* name;
        long long count;
        std::size_t size;
        bool fits;
    } cases[] = {
        {"none", 0, 8, true},
        {"exactly 1 GiB of doubles", (1LL << 30) / 8, 8, true},
        {"one double more", (1LL << 30) / 8 + 1, 8, false},
        {"INT_MAX points of three doubles", 2147483647LL, 24, false},
        {"negative", -1, 8, false},
        {"no element size", 1, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(count_fits(c.count, c.size), c.fits);
    }
}
