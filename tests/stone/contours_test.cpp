// Contour lines on synthetic stone grids: crossings along sections, chains,
// lines across sections, one-point contours, colours and the records.
#include "stone_fixtures.h"

#include "hm_vd.h"
#include "quillon.h"

#include <vector>

namespace {
// Section r lies at x = 1000 + 10 r, stone j at y = 600 + 4 j, on z = 200.
struct Grid {
    int counts[SI_SECTION_COUNT] = {};
    double points[SI_SECTION_COUNT][SI_STONE_COUNT][3];
    double angles[SI_SECTION_COUNT][SI_STONE_COUNT];
    void fill(int r, double (*angle)(int)) {
        counts[r] = SI_STONE_COUNT;
        for (int j = 0; j < SI_STONE_COUNT; ++j) {
            points[r][j][0] = 1000 + 10.0 * r;
            points[r][j][1] = 600 + 4.0 * j;
            points[r][j][2] = 200;
            angles[r][j] = angle(j);
        }
    }
};
}  // namespace

class ContourTest : public StoneTest {
protected:
    void SetUp() override {
        StoneTest::SetUp();
        face_ = horizontal_face(200, 900, 2000, 500, 900);
        HM_OBJ_set_color(face_, 42);
        HM_MODL_create_list(&labels_);
    }
    void TearDown() override {
        for (int i = 0; i < record_count_; ++i) HM_OBJ_delete_object(records_[i].curve);
        SM_free(records_);
        HM_MODL_delete_list(&contours_);
        HM_MODL_delete_list(&labels_);
        StoneTest::TearDown();
    }
    int run(std::vector<double> angles, const int* colours = nullptr, int colour_count = 0) {
        return HM_VD_SI_gen_contours(face_, colours != nullptr, colour_count, colours, g_->counts, g_->points,
                                     g_->angles, angles.data(), static_cast<int>(angles.size()), 42, &contours_,
                                     &labels_, &single_, &records_, &record_count_);
    }
    std::string name_of(tag_t t) {
        char name[64] = {0};
        HM_OBJ_ask_name(t, name, sizeof name);
        return name;
    }
    std::unique_ptr<Grid> g_ = std::make_unique<Grid>();
    tag_t face_ = 0;
    hm_list_p_t contours_ = nullptr, labels_ = nullptr;
    bool single_ = false;
    si_contour_record* records_ = nullptr;
    int record_count_ = 0;
};

TEST(ContourRecord, IsTwentyFourBytes) { EXPECT_EQ(sizeof(si_contour_record), 24u); }

TEST_F(ContourTest, CrossingsAlongSectionsChainIntoOneLine) {
    for (int r = 10; r <= 20; ++r) g_->fill(r, [](int j) { return static_cast<double>(j); });
    ASSERT_EQ(run({10.5}), 0);
    EXPECT_TRUE(single_);
    ASSERT_EQ(record_count_, 1);
    EXPECT_EQ(records_[0].first_section, 10);
    EXPECT_EQ(records_[0].last_section, 20);
    EXPECT_DOUBLE_EQ(records_[0].angle, 10.5);
    // Every crossing lies at j = 10.5: y = 642; the line runs x 1200 to 1100.
    int n = 0;
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_SI_ask_spline_thru_point_data(records_[0].curve, &n, &pts), 0);
    ASSERT_EQ(n, 11);
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(pts[i][1], 642.0, 1e-9);
        EXPECT_NEAR(pts[i][0], 1200.0 - 10.0 * i, 1e-9);
    }
    for (int i = 0; i < n; ++i) SM_free(pts[i]);
    SM_free(pts);
    const std::vector<tag_t> on_face = list_items(contours_);
    ASSERT_EQ(on_face.size(), 1u);
    EXPECT_EQ(name_of(on_face[0]), "10");   // the whole part of the angle
    int colour = 0;
    HM_OBJ_ask_color(on_face[0], &colour);
    EXPECT_EQ(colour, 42);   // no colour table: the face colour
}

TEST_F(ContourTest, TwoChainsSideBySideClearTheSingleLineFlag) {
    // Angles fall to 5 at j = 25 and rise again: 12.5 is crossed falling at
    // j = 17.5 and rising at j = 32.5 in every section.
    for (int r = 30; r <= 35; ++r) g_->fill(r, [](int j) { return std::fabs(j - 25.0) + 5.0; });
    ASSERT_EQ(run({12.5}), 0);
    EXPECT_FALSE(single_);
    ASSERT_EQ(record_count_, 2);
    std::vector<double> ys;
    for (int i = 0; i < record_count_; ++i) {
        EXPECT_EQ(records_[i].first_section, 30);
        EXPECT_EQ(records_[i].last_section, 35);
        ys.push_back(curve_point(records_[i].curve, 0.5)[1]);
    }
    std::sort(ys.begin(), ys.end());
    EXPECT_NEAR(ys[0], 600 + 4.0 * 17.5, 1e-6);
    EXPECT_NEAR(ys[1], 600 + 4.0 * 32.5, 1e-6);
}

TEST_F(ContourTest, AChainEndIsCarriedOnlyToACrossingOfItsOwnSense) {
    // Sections 10 to 20 land low (0 degrees) but for a band of four stones
    // at 20 degrees; section 9 lands at 20 degrees across the tread. The
    // 10-degree contour is crossed rising into the band and falling out of
    // it; where the sections end, the rising line leaves past the first
    // stones (y = 600) and the falling line past the last (y = 796), both
    // halfway to section 9 (x = 1095), whichever edge is nearer to its end.
    struct Case {
        const char* what;
        int band_from, band_to;
        double rising_y, falling_y;   // the crossings: j + 0.5 on either side of the band
    };
    const Case cases[] = {{"band beside the last stones", 45, 48, 600 + 4 * 44.5, 600 + 4 * 48.5},
                          {"band beside the first stones", 1, 4, 600 + 4 * 0.5, 600 + 4 * 4.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_ = std::make_unique<Grid>();
        g_->fill(9, [](int) { return 20.0; });
        for (int r = 10; r <= 20; ++r) {
            g_->fill(r, [](int) { return 0.0; });
            for (int j = c.band_from; j <= c.band_to; ++j) g_->angles[r][j] = 20.0;
        }
        ASSERT_EQ(run({10.0}), 0);
        ASSERT_EQ(record_count_, 2);
        for (int i = 0; i < record_count_; ++i) {
            int n = 0;
            double** pts = nullptr;
            ASSERT_EQ(HM_VD_SI_ask_spline_thru_point_data(records_[i].curve, &n, &pts), 0);
            ASSERT_EQ(n, 12) << "eleven crossings and the end carried towards section 9";
            const bool rising = std::fabs(pts[0][1] - c.rising_y) < 1e-9;
            EXPECT_NEAR(pts[0][1], rising ? c.rising_y : c.falling_y, 1e-9);
            EXPECT_NEAR(pts[n - 1][0], 1095.0, 1e-9);
            EXPECT_NEAR(pts[n - 1][1], rising ? 600.0 : 796.0, 1e-9) << (rising ? "rising" : "falling");
            for (int k = 0; k < n; ++k) SM_free(pts[k]);
            SM_free(pts);
        }
        for (int i = 0; i < record_count_; ++i) HM_OBJ_delete_object(records_[i].curve);
        SM_free(records_);
        records_ = nullptr;
        record_count_ = 0;
        HM_MODL_delete_list(&contours_);
    }
}

TEST_F(ContourTest, WithoutCrossingsLinesRunAcrossNeighbouringSections) {
    // Each section lands at one angle (a floor): 10, 20, 30, 40.
    static const double per_section[] = {10, 20, 30, 40};
    for (int r = 0; r < 4; ++r) {
        g_->fill(r, [](int) { return 0.0; });
        for (int j = 0; j < SI_STONE_COUNT; ++j) g_->angles[r][j] = per_section[r];
    }
    ASSERT_EQ(run({25.0, 35.0}), 0);
    EXPECT_TRUE(single_);
    ASSERT_EQ(record_count_, 2);
    EXPECT_EQ(records_[0].first_section, 1);
    EXPECT_EQ(records_[0].last_section, 2);
    // Halfway between sections 1 and 2: x = 1015, across the whole tread.
    EXPECT_NEAR(curve_point(records_[0].curve, 0.0)[0], 1015.0, 1e-9);
    EXPECT_NEAR(curve_point(records_[0].curve, 1.0)[1], 600 + 4.0 * 49, 1e-9);
    EXPECT_EQ(records_[1].first_section, 2);
}

TEST_F(ContourTest, ASecondLineOfOneAngleAcrossSectionsClearsTheFlag) {
    static const double per_section[] = {10, 30, 10};
    for (int r = 0; r < 3; ++r) {
        g_->fill(r, [](int) { return 0.0; });
        for (int j = 0; j < SI_STONE_COUNT; ++j) g_->angles[r][j] = per_section[r];
    }
    ASSERT_EQ(run({20.0}), 0);
    EXPECT_FALSE(single_);
    EXPECT_EQ(record_count_, 2);
}

TEST_F(ContourTest, OneCrossingGivesAPointObjectNamedWithItsAngle) {
    g_->fill(40, [](int j) { return static_cast<double>(j); });
    ASSERT_EQ(run({7.25}), 0);
    const std::vector<tag_t> on_face = list_items(contours_);
    ASSERT_EQ(on_face.size(), 1u);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(on_face[0], &type, &subtype);
    EXPECT_EQ(type, HM_point_type);
    EXPECT_EQ(name_of(on_face[0]), "7");
    double p[3];
    HM_CURVE_ask_point_data(on_face[0], p);
    expect_point(p, {1400.0, 629.0, 200.0}, 1e-9);
}

TEST_F(ContourTest, NearlyEqualAnglesTakeTheFirstStone) {
    g_->fill(5, [](int j) { return j < 20 ? 10.0 : (j == 20 ? 10.005 : 30.0); });
    // 10.002 lies between stones 19 (10.0) and 20 (10.005), less than 0.01 apart.
    ASSERT_EQ(run({10.002}), 0);
    ASSERT_EQ(list_items(contours_).size(), 1u);
    double p[3];
    HM_CURVE_ask_point_data(list_items(contours_)[0], p);
    EXPECT_NEAR(p[1], 600 + 4.0 * 19, 1e-9);
}

TEST_F(ContourTest, ColoursComeFromTheTableInTurn) {
    for (int r = 10; r <= 12; ++r) g_->fill(r, [](int j) { return static_cast<double>(j); });
    const int colours[] = {101, 102};
    ASSERT_EQ(run({5.5, 10.5, 20.5}, colours, 2), 0);
    const std::vector<tag_t> on_face = list_items(contours_);
    ASSERT_EQ(on_face.size(), 3u);
    const int expected[] = {101, 102, 101};
    for (int i = 0; i < 3; ++i) {
        int colour = 0;
        HM_OBJ_ask_color(on_face[i], &colour);
        EXPECT_EQ(colour, expected[i]) << i;
    }
}

TEST_F(ContourTest, NoAnglesOrNoEnclosingStonesGiveNoLines) {
    for (int r = 10; r <= 12; ++r) g_->fill(r, [](int j) { return static_cast<double>(j); });
    ASSERT_EQ(run({}), 0);
    EXPECT_TRUE(single_);
    EXPECT_EQ(record_count_, 0);
    EXPECT_TRUE(list_items(contours_).empty());
    HM_MODL_delete_list(&contours_);
    ASSERT_EQ(run({75.0}), 0);
    EXPECT_EQ(record_count_, 0);
    EXPECT_TRUE(list_items(contours_).empty());
    EXPECT_EQ(HM_VD_SI_gen_contours(face_, false, 0, nullptr, g_->counts, g_->points, g_->angles, nullptr, 0, 0,
                                    nullptr, &labels_, &single_, &records_, &record_count_),
              -1);
}

TEST_F(ContourTest, EachContourIsLabelledWithItsNameAtItsEnd) {
    // A work coordinate system of the user's, kept through the labelling.
    const double origin[3] = {5, 6, 7};
    const tag_t user_wcs = turned_csys(origin, 30.0);
    ASSERT_EQ(HM_CSYS_set_wcs(user_wcs), 0);
    for (int r = 10; r <= 20; ++r) g_->fill(r, [](int j) { return static_cast<double>(j); });
    g_->fill(40, [](int j) { return static_cast<double>(j); });
    const int objects_before = host_testing::count_objects();
    ASSERT_EQ(run({10.5}), 0);
    const std::vector<tag_t> on_face = list_items(contours_);
    const std::vector<tag_t> labels = list_items(labels_);
    ASSERT_EQ(on_face.size(), 2u);   // the chain over sections 10 to 20, and the point of section 40
    ASSERT_EQ(labels.size(), 2u);
    for (size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(i);
        int type = 0, subtype = 0, colour = 0;
        HM_OBJ_ask_type_and_subtype(labels[i], &type, &subtype);
        EXPECT_EQ(type, HM_note_type);
        EXPECT_EQ(host_testing::note_text(labels[i]), "10");
        HM_OBJ_ask_color(labels[i], &colour);
        EXPECT_EQ(colour, 42);
    }
    // The chain's label stands at its end (parameter 1): the chain runs from
    // section 20 down to 10, so at x = 1100, y = 642; the point's at the point.
    std::vector<Point3> at = {host_testing::note_origin(labels[0]), host_testing::note_origin(labels[1])};
    std::sort(at.begin(), at.end());
    expect_point(at[0].data(), {1100.0, 642.0, 200.0}, 1e-6);
    expect_point(at[1].data(), {1400.0, 642.0, 200.0}, 1e-6);
    tag_t wcs = 0;
    HM_CSYS_ask_wcs(&wcs);
    EXPECT_EQ(wcs, user_wcs);
    // Two face curves, two labels and two working curves; no coordinate
    // objects left behind.
    EXPECT_EQ(host_testing::count_objects(), objects_before + 6);
    EXPECT_EQ(host_testing::count_objects(0, HM_coordinate_system_type), 1);
    EXPECT_EQ(host_testing::count_objects(0, HM_matrix_type), 1);
}
