// The eyellipse eye-point stage on two plan-view ellipses of a 95th-percentile
// eyellipse (semi-axes 103.2 along x and 30.15 along y, centres 65 apart):
// the eye chosen by mode, the partner eye, the pivot, the rearmost point.
#include "mirror_fixtures.h"
#include "mirror_record.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using mirror_testing::dialog_input;
using namespace carvell::mirror;

class EyellipseEyesTest : public MirrorRecordTest {
protected:
    void InitWithConics(double mirror_y, int mode) {
        mc_input_data_t in = dialog_input(1, 0);
        in.mirror_reference_point[1] = mirror_y;
        in.eye_selection_mode = mode;
        ASSERT_EQ(Init(in), 0);
        data_.eyellipse_conics[0] = host_testing::make_ellipse({1290, -402.5, 1158}, 103.2, 30.15);
        data_.eyellipse_conics[1] = host_testing::make_ellipse({1290, -337.5, 1158}, 103.2, 30.15);
    }
    // The point of the ellipse about (1290, y, 1158) farthest from (or
    // nearest to) the mirror reference point, by a fine sweep.
    support::Point3 Extreme(double centre_y, bool farthest) const {
        const double* m = data_.mirror_reference_point;
        support::Point3 best{};
        double best_d = farthest ? -1.0 : 1e30;
        for (int i = 0; i < 200000; ++i) {
            const double t = 2 * M_PI * i / 200000;
            const support::Point3 p = {1290 + 103.2 * std::cos(t), centre_y + 30.15 * std::sin(t), 1158};
            const double d = std::hypot(p[0] - m[0], p[1] - m[1], p[2] - m[2]);
            if (farthest ? d > best_d : d < best_d) best_d = d, best = p;
        }
        return best;
    }
};

TEST_F(EyellipseEyesTest, DriverSideMirrorChoosesTheRightEyeOnTheSecondEllipse) {
    InitWithConics(-1000.0, 0);   // mirror outboard at smaller Y: second ellipse, farthest sample
    ASSERT_EQ(eye_point_stage(&data_), 0);
    const mc_outside_result_s& r = *data_.outside;
    const support::Point3 far = Extreme(-337.5, true);
    support::expect_point(r.right_eye, far, 2.0);
    support::expect_point(r.left_eye, {r.right_eye[0], r.right_eye[1] - 65.0, r.right_eye[2]}, 1e-9);
    support::expect_point(r.mid_eye, {r.right_eye[0], r.right_eye[1] - 32.5, r.right_eye[2]}, 1e-9);
    support::expect_point(r.pivot, {r.mid_eye[0] + 98.54, r.mid_eye[1], r.mid_eye[2]}, 1e-9);
    // The mid-eye point: the second ellipse's rearmost point.
    support::expect_point(data_.mid_eye_point, {1393.2, -337.5, 1158}, 1e-3);
}

TEST_F(EyellipseEyesTest, ModesPickFarthestNearestOrMidway) {
    struct Case {
        int input_mode;
        const char* what;
    };
    for (const Case& c : {Case{0, "farthest"}, Case{1, "nearest"}, Case{7, "midway"}}) {
        SCOPED_TRACE(c.what);
        InitWithConics(-1000.0, c.input_mode);
        ASSERT_EQ(eye_point_stage(&data_), 0);
        const support::Point3 far = Extreme(-337.5, true), near = Extreme(-337.5, false);
        const support::Point3 expected =
            c.input_mode == 0 ? far
            : c.input_mode == 1 ? near
                                : support::Point3{(far[0] + near[0]) / 2, (far[1] + near[1]) / 2, 1158};
        support::expect_point(data_.outside->right_eye, expected, 2.0);
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(EyellipseEyesTest, MirrorAtLargerYTakesTheFirstEllipseAndTheLeftEye) {
    InitWithConics(600.0, 0);
    ASSERT_EQ(eye_point_stage(&data_), 0);
    const mc_outside_result_s& r = *data_.outside;
    support::expect_point(r.left_eye, Extreme(-402.5, true), 2.0);
    support::expect_point(r.right_eye, {r.left_eye[0], r.left_eye[1] + 65.0, r.left_eye[2]}, 1e-9);
    support::expect_point(data_.mid_eye_point, {1393.2, -402.5, 1158}, 1e-3);
}

TEST_F(EyellipseEyesTest, EqualYOrMissingConicsFailTheSampling) {
    InitWithConics(-370.0, 0);
    EXPECT_EQ(eye_point_stage(&data_), 1);
    HM_VD_MC_release_data(&data_);
    ASSERT_EQ(Init(dialog_input(1, 0)), 0);   // no eyellipse in the part: no conics
    EXPECT_EQ(eye_point_stage(&data_), 1);
    EXPECT_EQ(eye_point_stage(nullptr), -1);
}

TEST_F(EyellipseEyesTest, OcularRowsGoThroughTheOcularPoints) {
    ASSERT_EQ(Init(dialog_input(1, 1)), 0);
    ASSERT_EQ(eye_point_stage(&data_), 0);
    support::expect_point(data_.outside->mid_eye, {1250.0, -370.0, 1155.0});
}

}  // namespace
