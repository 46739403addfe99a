// Shared set-up of the stone-impingement tests: a 225/45 R17 front tire
// (D = 634.3 mm, W = 190 mm, A = 1390 mm), wheel centre at x = 0, z = D/2,
// launch point 30 degrees past the tire's bottom, and a record around it.
#ifndef CARVELL_TESTS_STONE_FIXTURES_H
#define CARVELL_TESTS_STONE_FIXTURES_H

#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_si.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using host_testing::Point3;
using namespace support;

constexpr double kD = 634.3;
constexpr double kR = kD / 2.0;
constexpr double kW = 190.0;
constexpr double kA = 1390.0;
constexpr double kLaunchDeg = 30.0;
constexpr double kRad = M_PI / 180.0;

// Launch point 30 degrees past the bottom of the tire, towards +x.
inline Point3 launch_point() {
    return {kR * std::sin(kLaunchDeg * kRad), (kA + kW) / 2.0, kR - kR * std::cos(kLaunchDeg * kRad)};
}

inline double elevation_deg(const double d[3]) { return std::atan2(d[2], d[0]) / kRad; }

// The tire model's outputs.
struct TireModel {
    double centre[3];
    double directions[SI_SECTION_COUNT][3];
    double step = 0.0;
    double points[SI_SECTION_COUNT][SI_STONE_COUNT][3];
    tag_t plane = 0;
};

class StoneTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        rec_ = std::make_unique<si_data_s>();
        ASSERT_EQ(HM_VD_SI_initialize_data(rec_.get(), 1, 0), 0);
        fill_tire(*rec_);
    }
    void TearDown() override {
        HM_VD_SI_free_data(rec_.get());
        HostTest::TearDown();
    }
    static void fill_tire(si_data_s& rec) {
        rec.tire_diameter = kD;
        rec.tread_width = kW;
        rec.lateral_base = kA;
        rec.launch_offset = kR * std::cos(kLaunchDeg * kRad);
        rec.launch_height = kR - kR * std::cos(kLaunchDeg * kRad);
        rec.wheel_centre[0] = 0.0;
        rec.wheel_centre[2] = kR;
    }
    // A horizontal sheet's face at height z over x in [x0, x1], y in [y0, y1],
    // its normal up (or down when `down`).
    static tag_t horizontal_face(double z, double x0, double x1, double y0, double y1, bool down = false) {
        const double corner[3] = {x0, y0, z};
        const double u[3] = {x1 - x0, 0, 0}, v[3] = {0, y1 - y0, 0};
        const tag_t sheet = down ? host_testing::make_planar_sheet(corner, v, u)
                                 : host_testing::make_planar_sheet(corner, u, v);
        return faces_of(sheet).at(0);
    }
    // A vertical sheet's face at x over y in [y0, y1], z in [z0, z1], its
    // normal along +x (or -x when `reversed`).
    static tag_t vertical_face(double x, double y0, double y1, double z0, double z1, bool reversed = false) {
        const double corner[3] = {x, y0, z0};
        const double u[3] = {0, y1 - y0, 0}, v[3] = {0, 0, z1 - z0};
        const tag_t sheet = reversed ? host_testing::make_planar_sheet(corner, v, u)
                                     : host_testing::make_planar_sheet(corner, u, v);
        return faces_of(sheet).at(0);
    }
    std::unique_ptr<si_data_s> rec_;
};

// The tire model made, and the stones of one of its radial sections thrown
// at a face: count_ stones land at out_points_ with out_angles_.
class ThrownStonesTest : public StoneTest {
protected:
    void SetUp() override {
        StoneTest::SetUp();
        ASSERT_EQ(HM_VD_SI_gen_tire_data(rec_.get(), m_->centre, m_->directions, &m_->step, m_->points, &m_->plane), 0);
        HM_OBJ_delete_object(m_->plane);
    }
    // The stones lo .. hi of the section (the range a run gives the release
    // that uses it).
    int land(int section, tag_t face, int sign, int lo = 0, int hi = SI_STONE_COUNT - 1) {
        return HM_VD_SI_gen_stone_paths(rec_.get(), m_->centre[1], m_->step, lo, hi, m_->points[section],
                                        m_->directions[section], face, sign, &count_, out_points_, out_angles_,
                                        &state_, blocking_counts_.data(), blocking_points_.get());
    }
    std::unique_ptr<TireModel> m_ = std::make_unique<TireModel>();
    int count_ = 0;
    double out_points_[SI_STONE_COUNT][3];
    double out_angles_[SI_STONE_COUNT];
    int state_ = 0;
    std::vector<int> blocking_counts_ = std::vector<int>(SI_MAX_BLOCKING, 0);
    std::unique_ptr<double[][SI_SECTION_COUNT][3]> blocking_points_{new double[4][SI_SECTION_COUNT][3]};
};

// A run over a strip of the floor behind the wheel, with the colour table
// and the stone paths, over so little of the tread that few stones are
// thrown; and what the older releases' run makes there in either mode.
class FloorStripRunTest : public StoneTest {
protected:
    void SetUp() override {
        StoneTest::SetUp();
        rec_->face_tags[0] = horizontal_face(200, 400, 2500, 740, 800);
        rec_->contour_angle_input[0] = 10;
        rec_->contour_angle_input[1] = 30;
        rec_->contour_angle_input[2] = 10;
        rec_->options[SI_OPT_COLOUR_TABLE] = 1;
        rec_->options[SI_OPT_STONE_PATHS] = 1;
        rec_->colour_count = 2;
        rec_->colour_table = static_cast<int*>(SM_alloc(2 * sizeof(int)));
        rec_->colour_table[0] = 101;
        rec_->colour_table[1] = 102;
    }
    // Runs in the mode (with band grids in mode 1) and checks what an older
    // release makes in any mode: two areas, no bands, no labels, and the
    // three contours named by their angles. The face's result record, null
    // when there is none.
    si_face_result_s* run_in_older_form(int mode) {
        rec_->mode = mode;
        rec_->options[SI_OPT_BAND_GRIDS] = mode;
        EXPECT_EQ(HM_VD_SI_main(rec_.get()), 0);
        si_face_result_s* r = rec_->face_results[0];
        if (!r) return nullptr;
        EXPECT_EQ(r->area_count, 2);
        EXPECT_TRUE(list_items(r->band_list).empty());
        EXPECT_TRUE(list_items(r->label_list).empty());
        const std::vector<tag_t> contours = list_items(r->contour_list);
        const std::vector<std::string> names = {"10", "20", "30"};
        std::vector<std::string> got;
        for (tag_t c : contours) {
            char name[16] = {0};
            HM_OBJ_ask_name(c, name, sizeof name);
            got.push_back(name);
        }
        EXPECT_EQ(got, names);
        return r;
    }
};

#endif
