// Fixtures of the mirror-certification tests: an input record as the mirror
// dialog fills it, and a working record released at the end of each test.
#ifndef CARVELL_TESTS_MIRROR_FIXTURES_H
#define CARVELL_TESTS_MIRROR_FIXTURES_H

#include "hm_vd_mc.h"
#include "host_fixture.h"

#include <cstring>

namespace mirror_testing {

// An inside-mirror input of the USA row with the identity vehicle frame.
inline mc_input_data_t dialog_input(int kind = 0, int row = 0) {
    mc_input_data_t in;
    std::memset(static_cast<void*>(&in), 0, sizeof in);
    in.vehicle_orientation[0] = in.vehicle_orientation[4] = in.vehicle_orientation[8] = 1.0;
    in.mirror_kind = kind;
    in.standard_row = row;
    in.eyellipse_rule_name = "eyellipse_95";
    in.eye_reference_point[0] = 1250.0;
    in.eye_reference_point[1] = -370.0;
    in.eye_reference_point[2] = 520.0;
    in.ocular_back_angle_index = 25;
    in.lower_legal_radius = 1200.0;
    in.upper_legal_radius = 2500.0;
    in.standard_distance = 60000.0;
    in.standard_value = 20.0;
    in.positioning = true;
    in.mirror_reference_point[0] = 650.0;
    in.mirror_reference_point[1] = -1000.0;
    in.mirror_reference_point[2] = 1000.0;
    for (int i = 0; i < 7; ++i) in.colours[i] = 10 + i;
    in.result_layer = 200;
    return in;
}

// The plane x = 0, seen from +x.
inline mc_mirror_surface_record plane_mirror() {
    mc_mirror_surface_record m{};
    m.normal[0] = 1.0;
    return m;
}

// Convex glass of radius 1400 with its vertex at (650, -1000, 1000), seen from +x.
inline mc_mirror_surface_record sphere_mirror() {
    mc_mirror_surface_record m{};
    m.radius = 1400.0;
    m.curvature = 1.0 / 1400.0;
    m.centre[0] = 650.0 - 1400.0, m.centre[1] = -1000.0, m.centre[2] = 1000.0;
    m.vertex[0] = 650.0, m.vertex[1] = -1000.0, m.vertex[2] = 1000.0;
    m.normal[0] = 1.0;
    return m;
}

}  // namespace mirror_testing

// A working record that the test initialises; released on tear-down before
// the fixture checks for leaks.
class MirrorRecordTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        std::memset(static_cast<void*>(&data_), 0, sizeof data_);
    }
    void TearDown() override {
        HM_VD_MC_release_data(&data_);
        HostTest::TearDown();
    }
    int Init(mc_input_data_t in) {
        input_ = in;
        return HM_VD_MC_init_data(&input_, &data_);
    }
    mc_input_data_t input_{};
    mc_data_s data_{};
};

class InchMirrorRecordTest : public MirrorRecordTest {
protected:
    InchMirrorRecordTest() { inches_ = true; }
};

#endif
