// Eye points of the 2003 mirror-certification engine: from the user's eye
// reference point in both units, and from the plan-view eye ellipses, whose
// farthest, nearest and middle samples from the mirror's pivot and rear
// point follow from the ellipse.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using carvell::r2003::mc_find_eye_points_2003;
using support::expect_point;

class Release2003MirrorEyesTest : public HostTest {};

TEST_F(Release2003MirrorEyesTest, UserEyesStandAboveTheReferencePointInTheUnitsOfThePart) {
    for (const PartUnits& units : kBothUnits) {
        SCOPED_TRACE(units.name);
        host_testing::reset();
        host_testing::make_part("eyes", units.inches);
        const double mm = units.millimetre;
        mc_data_2003_s data{};
        data.user_eye_flag = 1;
        const double reference[3] = {1250 * mm, -370 * mm, 520 * mm};
        std::memcpy(data.eye_reference, reference, sizeof reference);
        double eyes[3][3], pivot[3], rear[3];
        ASSERT_EQ(mc_find_eye_points_2003(&data, eyes, pivot, rear), 0);
        const double z = (520 + 635) * mm;
        expect_point(eyes[0], {1250 * mm, -402.5 * mm, z}, 1e-9);
        expect_point(eyes[1], {1250 * mm, -370 * mm, z}, 1e-9);
        expect_point(eyes[2], {1250 * mm, -337.5 * mm, z}, 1e-9);
        expect_point(pivot, {(1250 + 98.54) * mm, -370 * mm, z}, 1e-9);
        expect_point(rear, {1250 * mm, -370 * mm, z}, 1e-9);
    }
}

// Plan-view ellipses of semi-axes 103.2 along x and 30.15 along y about the
// left and right eye centroids (y -402.5 and -337.5, 65 apart) at z 1158;
// the mirror's pivot far to the left and ahead at (700, -900, 1000).
class Release2003EllipseEyesTest : public Release2003MirrorEyesTest {
protected:
    void SetUp() override {
        Release2003MirrorEyesTest::SetUp();
        data_.user_eye_flag = 0;
        const double reference[3] = {1290, -370, 1158}, pivot[3] = {700, -900, 1000};
        std::memcpy(data_.eye_reference, reference, sizeof reference);
        std::memcpy(data_.pivot, pivot, sizeof pivot);
        data_.first_ellipse = host_testing::make_ellipse({1290, -402.5, 1158}, 103.2, 30.15);
        data_.second_ellipse = host_testing::make_ellipse({1290, -337.5, 1158}, 103.2, 30.15);
    }
    mc_data_2003_s data_{};
};

TEST_F(Release2003EllipseEyesTest, TheEyesComeFromTheEllipseOnTheMirrorsSide) {
    double eyes[3][3], pivot[3], rear[3];
    // The pivot lies at smaller y than the reference: the second (right)
    // ellipse. Its sample farthest from the pivot and its rear point.
    data_.eye_type = 0;
    ASSERT_EQ(mc_find_eye_points_2003(&data_, eyes, pivot, rear), 0);
    EXPECT_NEAR(eyes[0][1], eyes[2][1] - 65.0, 1e-9);
    EXPECT_NEAR(eyes[1][1], eyes[2][1] - 32.5, 1e-9);
    EXPECT_NEAR(pivot[0], eyes[1][0] + 98.54, 1e-9);
    // On the ellipse and farther from the pivot than its centre's far side.
    const double u = (eyes[2][0] - 1290) / 103.2, v = (eyes[2][1] + 337.5) / 30.15;
    EXPECT_NEAR(u * u + v * v, 1.0, 1e-3);
    EXPECT_GT(eyes[2][0], 1290.0);
    expect_point(rear, {1290 + 103.2, -337.5, 1158}, 1e-3);

    // The middle sample lies half way between the farthest and the nearest.
    double far_eye[3], near_eye[3];
    std::memcpy(far_eye, eyes[2], sizeof far_eye);
    data_.eye_type = 2;
    ASSERT_EQ(mc_find_eye_points_2003(&data_, eyes, pivot, rear), 0);
    std::memcpy(near_eye, eyes[2], sizeof near_eye);
    data_.eye_type = 1;
    ASSERT_EQ(mc_find_eye_points_2003(&data_, eyes, pivot, rear), 0);
    expect_point(eyes[2], {0.5 * (far_eye[0] + near_eye[0]), 0.5 * (far_eye[1] + near_eye[1]), 1158}, 1e-9);
}

TEST_F(Release2003EllipseEyesTest, AMirrorStraightAheadChoosesNoEllipse) {
    data_.pivot[1] = data_.eye_reference[1];
    double eyes[3][3], pivot[3], rear[3];
    EXPECT_EQ(mc_find_eye_points_2003(&data_, eyes, pivot, rear), 1);
}

}  // namespace
