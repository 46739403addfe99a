// The tire model: wheel centre, launch line, fan and turned sections.
#include "stone_fixtures.h"

#include "hm_vd.h"

class TireTest : public StoneTest {
protected:
    int build() { return HM_VD_SI_gen_tire_data(rec_.get(), m_->centre, m_->directions, &m_->step, m_->points, &m_->plane); }
    std::unique_ptr<TireModel> m_ = std::make_unique<TireModel>();
};

TEST_F(TireTest, CentreLaunchLineAndTangentSectionFollowTheTire) {
    ASSERT_EQ(build(), 0);
    EXPECT_NEAR(m_->centre[0], 0.0, 1e-12);
    EXPECT_NEAR(m_->centre[1], (kA + kW) / 2.0, 1e-12);   // 790 mm on the right side
    EXPECT_NEAR(m_->centre[2], kR, 1e-12);
    EXPECT_NEAR(m_->step, kW / 49.0, 1e-12);
    // With a fan the tangent section is section 45; its launch line starts at
    // the launch point and steps W/49 towards the centre plane.
    const Point3 t = launch_point();
    expect_point(m_->points[45][0], t, 1e-6);
    expect_point(m_->points[45][49], {t[0], t[1] - kW, t[2]}, 1e-6);
    EXPECT_NEAR(m_->points[45][1][1] - m_->points[45][0][1], -kW / 49.0, 1e-9);
    // The tangent 30 degrees past the bottom rises at 30 degrees.
    EXPECT_NEAR(elevation_deg(m_->directions[45]), 30.0, 1e-6);
    EXPECT_NEAR(m_->directions[45][1], 0.0, 1e-12);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(m_->plane, &type, &subtype);
    EXPECT_EQ(type, HM_plane_type);
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, FanStartsAtThreeDegreesWithEvenStepsAndClosesOnTheTangent) {
    ASSERT_EQ(build(), 0);
    EXPECT_NEAR(elevation_deg(m_->directions[0]), 3.0, 1e-9);
    // Cotangents fall by 1.2 d for the first 25 sections, d = (cot 3 - cot 30) / 45.
    const double d = (1.0 / std::tan(3 * kRad) - 1.0 / std::tan(30 * kRad)) / 45.0;
    for (int i = 0; i < 25; ++i) {
        SCOPED_TRACE(i);
        const double c_i = m_->directions[i][0] / m_->directions[i][2];
        const double c_next = m_->directions[i + 1][0] / m_->directions[i + 1][2];
        EXPECT_NEAR(c_i - c_next, 1.2 * d, 1e-9);
    }
    // Section 44 lies just below the tangent: cot = cot 3 - 44.7 d.
    const double c44 = 1.0 / std::tan(3 * kRad) - 44.7 * d;
    EXPECT_NEAR(m_->directions[44][0] / m_->directions[44][2], c44, 1e-9);
    // That is 0.3 d short of the tangent's cotangent: about 28.42 degrees.
    EXPECT_NEAR(elevation_deg(m_->directions[44]), std::atan(1.0 / (1.0 / std::tan(30 * kRad) + 0.3 * d)) / kRad, 1e-9);
    EXPECT_LT(elevation_deg(m_->directions[44]), 30.0);
    for (int i = 0; i < 45; ++i) expect_point(m_->points[i][7], {m_->points[45][7][0], m_->points[45][7][1], m_->points[45][7][2]}, 1e-12);
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, TurnedSectionsRotateAboutTheAxleByOneAndAHalfDegrees) {
    ASSERT_EQ(build(), 0);
    for (int k : {1, 10, 39}) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(elevation_deg(m_->directions[45 + k]), 30.0 + 1.5 * k, 1e-9);
        // The launch point turned about the axle: 30 + 1.5 k degrees past the bottom.
        const double a = (30.0 + 1.5 * k) * kRad;
        expect_point(m_->points[45 + k][0], {kR * std::sin(a), (kA + kW) / 2.0, kR - kR * std::cos(a)}, 1e-6);
    }
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, LaunchAtTheBottomBuildsNoFan) {
    rec_->launch_offset = kR;   // straight below the centre
    rec_->launch_height = 0.0;
    ASSERT_EQ(build(), 0);
    EXPECT_NEAR(elevation_deg(m_->directions[0]), 0.0, 1e-9);
    EXPECT_NEAR(elevation_deg(m_->directions[1]), 1.5, 1e-9);
    EXPECT_NEAR(elevation_deg(m_->directions[84]), 126.0, 1e-9);
    expect_point(m_->points[0][0], {0.0, (kA + kW) / 2.0, 0.0}, 1e-6);
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, LaunchOnTopTakesATangentJustUnderVertical) {
    rec_->launch_offset = kR;
    rec_->launch_height = kD;   // straight above the centre: tangent (-1, 0, 0)
    ASSERT_EQ(build(), 0);
    // The fan closes towards 90 degrees: section 44 has cotangent 0.3 d,
    // d = cot 3 / 45 (the tangent's cotangent is 0), about 82.75 degrees.
    EXPECT_NEAR(elevation_deg(m_->directions[0]), 3.0, 1e-9);
    EXPECT_NEAR(elevation_deg(m_->directions[44]), std::atan(1.0 / (0.3 / std::tan(3 * kRad) / 45.0)) / kRad, 1e-6);
    // The tangent section itself is thrown along the true tangent, forward (-x).
    EXPECT_NEAR(elevation_deg(m_->directions[45]), 180.0, 1e-6);
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, LeftSideMirrorsTheCentreAndTheLaunchLine) {
    rec_->options[SI_OPT_LEFT_SIDE] = 1;
    ASSERT_EQ(build(), 0);
    EXPECT_NEAR(m_->centre[1], -(kA + kW) / 2.0, 1e-12);
    EXPECT_NEAR(m_->points[45][49][1] - m_->points[45][0][1], kW, 1e-9);
    HM_OBJ_delete_object(m_->plane);
}

TEST_F(TireTest, BadTireValuesAreRejectedBeforeAnythingIsBuilt) {
    struct Case { const char* what; double D, W, h; int code; };
    const Case cases[] = {{"zero diameter", 0.0, kW, 0.0, 110}, {"negative width", kD, -1.0, 0.0, 110},
                          {"width not finite", kD, NAN, 0.0, 110}, {"offset beyond the radius", kD, kW, kR + 1.0, 103}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec_->tire_diameter = c.D;
        rec_->tread_width = c.W;
        rec_->launch_offset = c.h;
        const int objects = host_testing::count_objects();
        EXPECT_EQ(build(), c.code);
        EXPECT_EQ(m_->plane, 0u);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    EXPECT_EQ(HM_VD_SI_gen_tire_data(nullptr, m_->centre, m_->directions, &m_->step, m_->points, &m_->plane), -1);
}
