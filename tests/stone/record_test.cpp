// The record and the run: initialise, main over faces, delete and free.
#include "stone_fixtures.h"

#include "si_internal.h"

#include "hm_vd.h"
#include "quillon.h"
#include "morvish.h"

#include <cstring>

class RecordTest : public StoneTest {};

TEST_F(RecordTest, InitialiseChecksItsCountsAndSetsTheTolerances) {
    si_data_s rec;
    EXPECT_EQ(HM_VD_SI_initialize_data(nullptr, 1, 0), -1);
    rec.mode = 7;
    EXPECT_EQ(HM_VD_SI_initialize_data(&rec, 0, 0), -1);
    EXPECT_EQ(rec.mode, 0);   // cleared before the counts are checked
    EXPECT_EQ(rec.face_tags, nullptr);
    EXPECT_EQ(HM_VD_SI_initialize_data(&rec, 1, -1), -1);
    EXPECT_EQ(HM_VD_SI_initialize_data(&rec, 1, 10001), -2);
    ASSERT_EQ(HM_VD_SI_initialize_data(&rec, 3, 10000), 0);
    EXPECT_EQ(rec.face_count, 3);
    EXPECT_EQ(rec.blocking_count, 10000);
    double dist = 0, angle = 0;
    HM_MODL_ask_distance_tolerance(&dist);
    HM_MODL_ask_angle_tolerance(&angle);
    const double expected[6] = {dist, 0.01, angle, 0.01, 0.0001, 0.001};
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(rec.tolerances[i], expected[i]) << i;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rec.face_tags[i], 0u);
        EXPECT_EQ(rec.face_results[i], nullptr);
        EXPECT_EQ(rec.wheel_centre[i], 0.0);
    }
    EXPECT_EQ(HM_VD_SI_free_data(&rec), 0);
    EXPECT_EQ(HM_VD_SI_free_data(&rec), 0);   // twice is safe
    EXPECT_EQ(HM_VD_SI_free_data(nullptr), -1);
}

TEST_F(RecordTest, SideIsTakenFromTheBoxCentre) {
    struct Case { double y0, y1; bool left; };
    for (const Case& c : {Case{500, 1000, false}, Case{-1000, -500, true}, Case{-500, 500, true}}) {
        SCOPED_TRACE(c.y0);
        const tag_t face = horizontal_face(100, 0, 100, c.y0, c.y1);
        const double o[3] = {0, 0, 0}, m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        bool left = !c.left;
        EXPECT_EQ(HM_VD_SI_is_data_on_left(face, o, m, &left), 0);
        EXPECT_EQ(left, c.left);
    }
    const double o[3] = {0, 0, 0}, m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool left = true;
    EXPECT_EQ(HM_VD_SI_is_data_on_left(0, o, m, &left), -1);
    EXPECT_FALSE(left);
}

TEST_F(RecordTest, RunOnAFloorGivesContoursOfEveryAngle) {
    // Floor 200 mm above ground, 0.4 to 2.5 m behind the wheel centre.
    rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec_->contour_angle_input[0] = 10;
    rec_->contour_angle_input[1] = 30;
    rec_->contour_angle_input[2] = 10;
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
    EXPECT_EQ(rec_->error_count, 0);
    EXPECT_EQ(rec_->options[SI_OPT_LEFT_SIDE], 0);
    si_face_result_s* r = rec_->face_results[0];
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->face_hit, 1);
    EXPECT_EQ(r->single_line, 1);
    // On a floor each section lands at one angle: one contour line per
    // angle, across two neighbouring sections, named with the angle.
    const std::vector<tag_t> contours = list_items(r->contour_list);
    ASSERT_EQ(contours.size(), 3u);
    const char* names[] = {"10", "20", "30"};
    for (size_t i = 0; i < contours.size(); ++i) {
        char name[64] = {0};
        HM_OBJ_ask_name(contours[i], name, sizeof name);
        EXPECT_STREQ(name, names[i]);
    }
    // The tire's mid-plane and the working contours are gone.
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), 0);
    EXPECT_EQ(HM_VD_SI_delete_geometry(rec_.get()), 0);
    for (tag_t c : contours) EXPECT_NE(HM_OBJ_ask_status(c), HM_OBJ_ALIVE);
}

TEST_F(RecordTest, ARunAgainReleasesThePreviousFaceRecords) {
    rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec_->contour_angle_input[0] = 10;
    rec_->contour_angle_input[1] = 10;
    rec_->contour_angle_input[2] = 10;
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
    HM_VD_SI_delete_geometry(rec_.get());
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
    HM_VD_SI_delete_geometry(rec_.get());
    HM_VD_SI_free_data(rec_.get());
}

TEST_F(RecordTest, NothingHitLogsMinusFour) {
    rec_->face_tags[0] = horizontal_face(-100, 400, 2500, 500, 1000, true);   // under the ground
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), SI_NOTHING_HIT);
    EXPECT_EQ(rec_->error_count, 1);
    EXPECT_EQ(rec_->error_log[0], SI_NOTHING_HIT);
}

TEST_F(RecordTest, AFaceOutsideTheTreadGetsNoRecordAndNoLogEntry) {
    si_data_s rec;
    ASSERT_EQ(HM_VD_SI_initialize_data(&rec, 2, 0), 0);
    fill_tire(rec);
    rec.face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec.face_tags[1] = horizontal_face(200, 400, 2500, -1000, -500);   // the other wheel's side
    EXPECT_EQ(HM_VD_SI_main(&rec), 0);
    EXPECT_EQ(rec.error_count, 0);
    EXPECT_NE(rec.face_results[0], nullptr);
    EXPECT_EQ(rec.face_results[1], nullptr);
    HM_VD_SI_delete_geometry(&rec);
    HM_VD_SI_free_data(&rec);
}

TEST_F(RecordTest, BadTireValuesAreLoggedAndEndTheRun) {
    rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec_->tread_width = 0.0;
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 110);
    EXPECT_EQ(rec_->error_count, 1);
    EXPECT_EQ(rec_->face_results[0], nullptr);
    fill_tire(*rec_);
    rec_->launch_offset = kD;
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 103);
    EXPECT_EQ(rec_->error_count, 1);
    EXPECT_EQ(HM_VD_SI_main(nullptr), -1);
}

TEST_F(RecordTest, AllStonesBehindTheXLimitEndTheFaceAtTheFirstSectionThatLands) {
    rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec_->options[SI_OPT_STOP_AT_X_LIMIT] = 1;
    rec_->options[SI_OPT_STONE_PATHS] = 1;
    rec_->x_limit = 5000.0;
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
    ASSERT_NE(rec_->face_results[0], nullptr);
    EXPECT_EQ(list_items(rec_->face_results[0]->stone_path_list).size(), 1u);
    HM_VD_SI_delete_geometry(rec_.get());
}

TEST_F(RecordTest, AFullLogEndsTheRunWithFiveInItsLastSlot) {
    namespace stone = carvell::stone;
    si_data_s& rec = *rec_;
    // Negative statuses let the run go on until the fiftieth.
    for (int i = 0; i < SI_MAX_ERRORS - 1; ++i) ASSERT_FALSE(stone::log_status(&rec, -401)) << i;
    EXPECT_TRUE(stone::log_status(&rec, -402));
    EXPECT_EQ(rec.error_count, SI_MAX_ERRORS);
    EXPECT_EQ(stone::run_result(&rec), SI_LOG_FULL);
    EXPECT_EQ(rec.error_log[SI_MAX_ERRORS - 1], SI_LOG_FULL);
    EXPECT_EQ(rec.error_log[SI_MAX_ERRORS - 2], -401);
    // Nothing is written past the log.
    EXPECT_TRUE(stone::log_status(&rec, -402));
    EXPECT_EQ(rec.error_count, SI_MAX_ERRORS);
    // A positive status ends the run at once; 0 is not logged.
    rec.error_count = 0;
    EXPECT_FALSE(stone::log_status(&rec, 0));
    EXPECT_EQ(stone::run_result(&rec), 0);
    EXPECT_FALSE(stone::log_status(&rec, -3));
    EXPECT_TRUE(stone::log_status(&rec, 103));
    EXPECT_EQ(rec.error_count, 2);
    EXPECT_EQ(stone::run_result(&rec), 103);
}

TEST_F(RecordTest, DeletingTheGeometryLeavesOnlyTheLabelsOfTheRun) {
    // A run with stone path curves, a contour and the outline of a face wider
    // than the tread, then its delete step: of what the run made only the
    // labels stay in the part (the lists stay with the record until it is
    // freed). The sections stop once every stone lands at 10 degrees or more.
    rec_->face_tags[0] = horizontal_face(200, 400, 2500, 500, 1000);
    rec_->options[SI_OPT_STONE_PATHS] = 1;
    rec_->contour_angle_input[0] = 5;
    rec_->contour_angle_input[1] = 5;
    rec_->contour_angle_input[2] = 10;
    const int before = host_testing::count_objects();
    EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
    si_face_result_s* r = rec_->face_results[0];
    ASSERT_NE(r, nullptr);
    const std::vector<tag_t> paths = list_items(r->stone_path_list);
    EXPECT_GT(paths.size(), 1u);
    EXPECT_EQ(list_items(r->contour_list).size(), 1u);
    const int labels = static_cast<int>(list_items(r->label_list).size());
    EXPECT_EQ(list_items(r->outline_list).size(), 1u);
    EXPECT_EQ(labels, 2) << "the contour's and the outline's";
    EXPECT_EQ(HM_VD_SI_delete_geometry(rec_.get()), 0);
    UPDATE_do_update();
    EXPECT_EQ(host_testing::count_objects(), before + labels);
    for (tag_t p : paths) EXPECT_NE(HM_OBJ_ask_status(p), HM_OBJ_ALIVE);
}

TEST_F(RecordTest, AnInchPartLandsTheStonesOfTheSameRunInMillimetres) {
    // The stones lie W/49 = 3.88 mm (0.153 in) apart across the tread, well
    // over the half millimetre that merges two: an inch part keeps every one
    // of them, at the millimetre run's points over 25.4. The run stops at the
    // first section that lands (every stone ahead of the x limit).
    struct Run {
        int count;
        double points[SI_STONE_COUNT][3];
        double angles[SI_STONE_COUNT];
    };
    const auto run_in_part = [this](double unit, si_data_s& rec, Run* out) {
        ASSERT_EQ(HM_VD_SI_initialize_data(&rec, 1, 0), 0);
        rec.tire_diameter = kD / unit;
        rec.tread_width = kW / unit;
        rec.lateral_base = kA / unit;
        rec.launch_offset = kR * std::cos(kLaunchDeg * kRad) / unit;
        rec.launch_height = (kR - kR * std::cos(kLaunchDeg * kRad)) / unit;
        rec.wheel_centre[2] = kR / unit;
        rec.options[SI_OPT_STOP_AT_X_LIMIT] = 1;
        rec.x_limit = 5000.0 / unit;
        rec.face_tags[0] = horizontal_face(200 / unit, 400 / unit, 2500 / unit, 500 / unit, 1000 / unit);
        EXPECT_EQ(HM_VD_SI_main(&rec), 0);
        const carvell::stone::WorkArrays& w = carvell::stone::work();
        int r = 0;
        while (r < SI_SECTION_COUNT && w.stone_counts[r] == 0) ++r;
        ASSERT_LT(r, SI_SECTION_COUNT);
        out->count = w.stone_counts[r];
        std::memcpy(out->points, w.stone_points[r], sizeof out->points);
        std::memcpy(out->angles, w.stone_angles[r], sizeof out->angles);
        HM_VD_SI_delete_geometry(&rec);
        HM_VD_SI_free_data(&rec);
    };
    constexpr double kMmPerInch = 25.4;
    auto mm = std::make_unique<Run>(), inch = std::make_unique<Run>();
    si_data_s rec;
    run_in_part(1.0, rec, mm.get());
    ASSERT_EQ(mm->count, SI_STONE_COUNT);
    host_testing::make_part("inch_part", true);
    run_in_part(kMmPerInch, rec, inch.get());
    ASSERT_EQ(inch->count, mm->count);
    for (int i = 0; i < mm->count; ++i) {
        SCOPED_TRACE(i);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(inch->points[i][k] * kMmPerInch, mm->points[i][k], 1e-6);
        EXPECT_NEAR(inch->angles[i], mm->angles[i], 1e-9);
    }
}
