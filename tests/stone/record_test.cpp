// The record and the run: initialise, main over faces, delete and free.
#include "stone_fixtures.h"

#include "si_internal.h"

#include "hm_vd.h"
#include "quillon.h"

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
