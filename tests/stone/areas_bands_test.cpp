// Areas and bands between neighbouring contour angles: the interval
// polyline of a section, the runs of sections closed by contour pieces, band
// sheets between paired contour lines (their area known by hand), the
// pairing rules and the grids, and the run's areas and bands on a floor.
#include "stone_fixtures.h"

#include "si_internal.h"

#include "hm_vd.h"
#include "quillon.h"

#include <algorithm>
#include <vector>

namespace stone = carvell::stone;

namespace {

// Section r lies at x = 1000 + 10 r, stone j at y = 600 + 4 j, on z = 200;
// every stone of a section lands at the section's angle (a floor).
struct FloorGrid {
    int counts[SI_SECTION_COUNT] = {};
    double points[SI_SECTION_COUNT][SI_STONE_COUNT][3];
    double angles[SI_SECTION_COUNT][SI_STONE_COUNT];
    void fill(int r, double angle) {
        counts[r] = SI_STONE_COUNT;
        for (int j = 0; j < SI_STONE_COUNT; ++j) {
            points[r][j][0] = 1000 + 10.0 * r;
            points[r][j][1] = 600 + 4.0 * j;
            points[r][j][2] = 200;
            angles[r][j] = angle;
        }
    }
    stone::FaceStones stones() { return {counts, points, angles}; }
};

// The sheet and solid bodies of the work part.
int body_count() {
    const tag_t part = HM_ASSEM_ask_work_part();
    int n = 0;
    for (tag_t t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, 0); t; t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, t)) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
        if (subtype == HM_solid_body_subtype) ++n;
    }
    return n;
}

// A straight working contour across the tread at x: a degree-1 curve from
// y = 600 to 796 named with its angle.
tag_t contour_at(double x, int angle) {
    double pts[2][3] = {{x, 600, 200}, {x, 796, 200}};
    tag_t curve = 0;
    VD_CURVE_create_linear(pts, 2, 1, &curve);
    HM_OBJ_set_name(curve, std::to_string(angle).c_str());
    return curve;
}

}  // namespace

TEST(IntervalPolyline, TakesTheStonesInsideWithTheEdgeCrossings) {
    const double pts[5][3] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    struct Case {
        const char* what;
        std::vector<double> angles;
        double lo, hi;
        std::vector<double> xs;
    };
    const Case cases[] = {
        // Stones 2 and 3 inside; 15 is reached half-way from stone 1, 35
        // half-way from stone 3 to stone 4.
        {"inside with both edges", {0, 10, 20, 30, 40}, 15, 35, {1.5, 2, 3, 3.5}},
        {"inside from the first stone", {20, 30, 40, 50, 60}, 15, 35, {0, 1, 1.5}},
        // None inside: the rising crossings of lo and hi, in order.
        {"rising through both", {0, 50, 50, 50, 50}, 10, 20, {0.2, 0.4}},
        {"falling crossings are not taken", {50, 0, 0, 0, 0}, 10, 20, {}},
        // Stones 0 and 1 differ by less than 0.01: the crossing is stone 0.
        // (and 20 is reached 9.5 / 19.5 of the way from stone 2 to stone 3).
        {"nearly equal angles", {9.995, 10.004, 10.5, 30, 40}, 10, 20, {0, 1, 2, 2 + 9.5 / 19.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const stone::Points out = stone::interval_polyline_points(5, pts, c.angles.data(), c.lo, c.hi);
        ASSERT_EQ(out.size(), c.xs.size());
        for (size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i][0], c.xs[i], 1e-12) << i;
    }
    const double one[1] = {15};
    EXPECT_TRUE(stone::interval_polyline_points(1, pts, one, 10, 20).empty());
}

class AreaTest : public StoneTest {
protected:
    std::unique_ptr<FloorGrid> g_ = std::make_unique<FloorGrid>();
    void free_areas(stone::Areas& a) {
        for (tag_t t : list_items(a.list)) HM_OBJ_delete_object(t);
        HM_MODL_delete_list(&a.list);
        SM_free(a.sizes);
        SM_free(a.mid_angles);
    }
};

TEST_F(AreaTest, ARunOfSectionsIsClosedByTheContourPiecesAtItsEnds) {
    // Sections 10 to 14 land at 5, 15, 15, 15, 25: the interval (10, 20)
    // holds sections 11 to 13, the contour of 10 lies half-way between
    // sections 10 and 11 (x = 1105), that of 20 between 13 and 14 (x = 1135).
    const double per_section[] = {5, 15, 15, 15, 25};
    for (int r = 10; r <= 14; ++r) g_->fill(r, per_section[r - 10]);
    const std::vector<tag_t> contours = {contour_at(1105, 10), contour_at(1135, 20)};
    const double angles[] = {10, 20};
    stone::Areas areas;
    ASSERT_EQ(stone::build_areas(g_->stones(), angles, 2, contours, &areas), 0);
    ASSERT_EQ(areas.count, 1);
    EXPECT_EQ(areas.sizes[0], 5);   // the piece of 10, three sections, the piece of 20
    EXPECT_DOUBLE_EQ(areas.mid_angles[0], 15.0);
    const std::vector<tag_t> curves = list_items(areas.list);
    ASSERT_EQ(curves.size(), 5u);
    const double xs[] = {1105, 1110, 1120, 1130, 1135};
    std::vector<double> found;
    for (tag_t c : curves) {
        found.push_back(curve_point(c, 0.5)[0]);
        EXPECT_NEAR(curve_length(c), 196.0, 1e-9);   // each across the whole tread
    }
    std::sort(found.begin(), found.end());
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(found[i], xs[i], 1e-9) << i;
    free_areas(areas);
}

TEST_F(AreaTest, ContoursNamedWithTheWholePartFindNonIntegerAngles) {
    // Contour angles 10.5 and 20.5 are named "10" and "20".
    const double per_section[] = {5, 15, 15, 15, 25};
    for (int r = 10; r <= 14; ++r) g_->fill(r, per_section[r - 10]);
    const std::vector<tag_t> contours = {contour_at(1105.5, 10), contour_at(1135.5, 20)};
    const double angles[] = {10.5, 20.5};
    stone::Areas areas;
    ASSERT_EQ(stone::build_areas(g_->stones(), angles, 2, contours, &areas), 0);
    ASSERT_EQ(areas.count, 1);
    EXPECT_EQ(areas.sizes[0], 5);
    EXPECT_DOUBLE_EQ(areas.mid_angles[0], 15.5);
    free_areas(areas);
}

TEST_F(AreaTest, ALoneSectionOrNoSectionGivesNoArea) {
    // One section in the interval and no contour pieces found: a run of one
    // curve is deleted; an interval no section lands in gives nothing.
    g_->fill(20, 15);
    const int objects = host_testing::count_objects();
    const double angles[] = {10, 20, 30};
    stone::Areas areas;
    ASSERT_EQ(stone::build_areas(g_->stones(), angles, 3, {}, &areas), 0);
    EXPECT_EQ(areas.count, 0);
    EXPECT_EQ(areas.sizes, nullptr);
    EXPECT_EQ(areas.list, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

class BandTest : public StoneTest {
protected:
    void SetUp() override {
        StoneTest::SetUp();
        face_ = horizontal_face(200, 900, 2000, 500, 900);
        HM_OBJ_set_color(face_, 42);
        HM_MODL_create_list(&bands_);
    }
    void TearDown() override {
        for (tag_t t : list_items(bands_)) HM_VD_delete_object(t);
        HM_MODL_delete_list(&bands_);
        StoneTest::TearDown();
    }
    si_contour_record record(double x, double angle, int first, int last) {
        return {contour_at(x, static_cast<int>(angle)), angle, first, last};
    }
    tag_t face_ = 0;
    hm_list_p_t bands_ = nullptr;
};

TEST_F(BandTest, ABandIsTheFaceBetweenTwoContoursWithAlternatingGrids) {
    // Contours at x = 1100, 1140 and 1200 across y 600..796: bands of
    // 40 x 196 = 7840 and 60 x 196 = 11760 square millimetres.
    const si_contour_record records[] = {record(1100, 10, 10, 11), record(1140, 20, 13, 14),
                                         record(1200, 30, 16, 17)};
    const double angles[] = {10, 20, 30};
    const int colours[] = {101, 102};
    const stone::BandStyle style{2, colours, 42, true};
    const int objects = host_testing::count_objects();
    const int bodies = body_count();
    ASSERT_EQ(stone::pair_bands_simple(face_, angles, 3, style, records, 3, bands_), 0);
    const std::vector<tag_t> bands = list_items(bands_);
    ASSERT_EQ(bands.size(), 2u);
    const double areas[] = {7840.0, 11760.0};
    const std::array<int, 2> grids[] = {{6, 12}, {12, 6}};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(host_testing::surface_area(bands[k]), areas[k], 1e-6);
        int colour = 0;
        HM_OBJ_ask_color(bands[k], &colour);
        EXPECT_EQ(colour, colours[k]);
        for (tag_t f : faces_of(bands[k])) EXPECT_EQ(host_testing::grid_counts(f), grids[k]);
    }
    // The face itself is untouched; no closing line, projection or extracted
    // sheet is left: only the two bands (and the features of their bodies).
    EXPECT_NEAR(host_testing::surface_area(face_), 1100.0 * 400.0, 1e-6);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_spline_type), 3);   // the three contours
    EXPECT_EQ(body_count(), bodies + 2);
    EXPECT_GT(host_testing::count_objects(), objects);
    for (const si_contour_record& r : records) HM_OBJ_delete_object(r.curve);
}

TEST_F(BandTest, OneToOnePairingFollowsTheSectionRanges) {
    struct Case {
        const char* what;
        std::vector<si_contour_record> records;
        size_t bands;
    };
    const Case cases[] = {
        {"one line per angle pairs even without overlap", {record(1100, 10, 0, 5), record(1140, 20, 30, 35)}, 1},
        {"two each, side by side",
         {record(1100, 10, 0, 5), record(1300, 10, 20, 25), record(1140, 20, 0, 5), record(1340, 20, 20, 25)}, 2},
        {"a line overlapping two of the other angle pairs with none",
         {record(1100, 10, 0, 10), record(1300, 10, 5, 15), record(1140, 20, 0, 15)}, 0},
    };
    const double angles[] = {10, 20};
    const stone::BandStyle style{0, nullptr, 42, false};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(stone::pair_bands_simple(face_, angles, 2, style, c.records.data(),
                                           static_cast<int>(c.records.size()), bands_),
                  0);
        const std::vector<tag_t> bands = list_items(bands_);
        EXPECT_EQ(bands.size(), c.bands);
        for (tag_t b : bands) {
            EXPECT_NEAR(host_testing::surface_area(b), 40.0 * 196.0, 1e-6);
            int colour = 0;
            HM_OBJ_ask_color(b, &colour);
            EXPECT_EQ(colour, 42);   // no colour table: the face colour
            HM_VD_delete_object(b);
        }
        HM_MODL_delete_list(&bands_);
        HM_MODL_create_list(&bands_);
        for (const si_contour_record& r : c.records) HM_OBJ_delete_object(r.curve);
    }
}

TEST_F(BandTest, GeneralPairingTakesTheNearestNeighbourOfTheNextAngle) {
    // Lines of 10 at x = 1100 and 1300, of 20 at 1140: 1100's nearest above is
    // 1140 (a band of 40 x 196); 1300's nearest below is 1140 too (160 x 196).
    const si_contour_record records[] = {record(1100, 10, 0, 5), record(1300, 10, 0, 5), record(1140, 20, 0, 5)};
    const double angles[] = {10, 20};
    const stone::BandStyle style{0, nullptr, 42, false};
    bool attempted = false;
    ASSERT_EQ(stone::pair_bands_general(face_, angles, 2, style, records, 3, bands_, &attempted), 0);
    EXPECT_TRUE(attempted);
    std::vector<double> areas;
    for (tag_t b : list_items(bands_)) areas.push_back(host_testing::surface_area(b));
    std::sort(areas.begin(), areas.end());
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_NEAR(areas[0], 40.0 * 196.0, 1e-6);
    EXPECT_NEAR(areas[1], 160.0 * 196.0, 1e-6);
    for (const si_contour_record& r : records) HM_OBJ_delete_object(r.curve);
}

TEST_F(BandTest, AContourOfOnePointMakesNoBand) {
    // A point object has no closing lines to another contour's ends that
    // differ from it at both ends: the patch answers 0 and makes nothing.
    const tag_t a = new_point(1100, 600, 200);
    const tag_t b = contour_at(1100, 20);
    const int objects = host_testing::count_objects();
    tag_t sheet = 7;
    // Both ends of a and the start of b coincide: the first closing line
    // cannot be made.
    EXPECT_EQ(stone::band_patch(a, b, face_, 1, false, 6, 12, &sheet), 0);
    EXPECT_EQ(sheet, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

// The run with the colour-table option on the floor behind the wheel: areas
// in mode 0, bands in mode 1.
class RunAreasTest : public StoneTest {
protected:
    void SetUp() override {
        StoneTest::SetUp();
        rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
        rec_->contour_angle_input[0] = 10;
        rec_->contour_angle_input[1] = 30;
        rec_->contour_angle_input[2] = 10;
        rec_->options[SI_OPT_COLOUR_TABLE] = 1;
        rec_->colour_count = 2;
        rec_->colour_table = static_cast<int*>(SM_alloc(2 * sizeof(int)));
        rec_->colour_table[0] = 101;
        rec_->colour_table[1] = 102;
    }
};

TEST_F(RunAreasTest, AreaModeListsOneAreaPerIntervalOnLayerNinetyNine) {
    ASSERT_EQ(HM_VD_SI_main(rec_.get()), 0);
    si_face_result_s* r = rec_->face_results[0];
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->area_count, 2);
    EXPECT_DOUBLE_EQ(r->area_angles[0], 15.0);
    EXPECT_DOUBLE_EQ(r->area_angles[1], 25.0);
    const std::vector<tag_t> curves = list_items(r->area_list);
    EXPECT_EQ(static_cast<int>(curves.size()), r->area_sizes[0] + r->area_sizes[1]);
    for (tag_t c : curves) {
        int layer = 0;
        HM_OBJ_ask_layer(c, &layer);
        EXPECT_EQ(layer, 99);
    }
    // Each area: the two contour pieces and at least one section between them.
    EXPECT_GE(r->area_sizes[0], 3);
    EXPECT_GE(r->area_sizes[1], 3);
    // Delete leaves the areas; free releases everything.
    HM_VD_SI_delete_geometry(rec_.get());
    for (tag_t c : curves) EXPECT_EQ(HM_OBJ_ask_status(c), HM_OBJ_ALIVE);
}

TEST_F(RunAreasTest, BandModeCutsTheFloorBetweenNeighbouringContours) {
    rec_->mode = 1;
    rec_->options[SI_OPT_BAND_GRIDS] = 1;
    ASSERT_EQ(HM_VD_SI_main(rec_.get()), 0);
    si_face_result_s* r = rec_->face_results[0];
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->area_count, 0);
    const std::vector<tag_t> bands = list_items(r->band_list);
    ASSERT_EQ(bands.size(), 2u);
    const std::array<int, 2> grids[] = {{6, 12}, {12, 6}};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        int colour = 0;
        HM_OBJ_ask_color(bands[k], &colour);
        EXPECT_EQ(colour, rec_->colour_table[k]);
        for (tag_t f : faces_of(bands[k])) EXPECT_EQ(host_testing::grid_counts(f), grids[k]);
        // A band spans the whole tread (the stones land across W = 190 mm)
        // between two contour lines of constant x: its area is its box's.
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(bands[k], box), 0);
        EXPECT_NEAR(box[4] - box[1], kW, 1e-3);
        EXPECT_NEAR(host_testing::surface_area(bands[k]), (box[3] - box[0]) * (box[4] - box[1]), 1e-3);
    }
    HM_VD_SI_delete_geometry(rec_.get());
    for (tag_t b : bands) EXPECT_NE(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
}

TEST_F(AreaTest, ContoursAlongTheSectionsAreLinkedToTheRunByConnectors) {
    // Sections 10 to 14 at x = 1100 .. 1140, each rising across the tread
    // (stone j at angle j): the interval (10.5, 20.5) is the strip y = 642 to
    // 682 of every section, and both contours run along x at its edges.
    for (int r = 10; r <= 14; ++r) {
        g_->fill(r, 0);
        for (int j = 0; j < SI_STONE_COUNT; ++j) g_->angles[r][j] = j;
    }
    auto along = [](double y, int angle) {
        double pts[5][3];
        for (int i = 0; i < 5; ++i) pts[i][0] = 1140 - 10.0 * i, pts[i][1] = y, pts[i][2] = 200;
        tag_t c = 0;
        VD_CURVE_create_linear(pts, 5, 1, &c);
        HM_OBJ_set_name(c, std::to_string(angle).c_str());
        return c;
    };
    const std::vector<tag_t> contours = {along(642, 10), along(682, 20)};
    const double angles[] = {10.5, 20.5};
    stone::Areas areas;
    ASSERT_EQ(stone::build_areas(g_->stones(), angles, 2, contours, &areas), 0);
    // The run of five section strips (no contour piece: the sections beside
    // it hold no stones), then at each end the two connectors, which end on
    // the same strip, replaced by one line across it, with that strip.
    ASSERT_EQ(areas.count, 3);
    EXPECT_EQ(areas.sizes[0], 5);
    EXPECT_EQ(areas.sizes[1], 2);
    EXPECT_EQ(areas.sizes[2], 2);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(areas.mid_angles[i], 15.5);
    const std::vector<tag_t> curves = list_items(areas.list);
    ASSERT_EQ(curves.size(), 9u);
    const Point3 across_start[2] = {{1100, 642, 200}, {1140, 642, 200}};
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE(side);
        const tag_t across = curves[5 + 2 * side];
        expect_point(curve_point(across, 0.0), across_start[side], 1e-9);
        expect_point(curve_point(across, 1.0), {across_start[side][0], 682, 200}, 1e-9);
        int layer = 0;
        HM_OBJ_ask_layer(across, &layer);
        EXPECT_EQ(layer, 98);
    }
    free_areas(areas);
}

TEST_F(BandTest, AFailedTrimAnswersItsCodeAndLeavesNothing) {
    const tag_t a = contour_at(1100, 10), b = contour_at(1140, 20);
    const int objects = host_testing::count_objects();
    const int bodies = body_count();
    host_testing::force_trim_gaps(1, 5.0);
    tag_t sheet = 7;
    EXPECT_EQ(stone::band_patch(a, b, face_, 1, true, 6, 12, &sheet), HM_ERR_TRIM_GAPS);
    EXPECT_EQ(sheet, 0u);
    host_testing::force_trim_exception(HM_ERR_GEOMETRY);
    EXPECT_EQ(stone::band_patch(a, b, face_, 1, true, 6, 12, &sheet), HM_ERR_GEOMETRY);
    EXPECT_EQ(sheet, 0u);
    host_testing::reset_trim_hooks();
    EXPECT_EQ(body_count(), bodies);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 0);
    EXPECT_EQ(host_testing::count_objects(), objects);
}
