// Fixtures of the windshield tests: the host reset of the sheet-trim hooks,
// planar and cylindrical windshield sheets, rectangles of lines and the
// vehicle frame.
#ifndef CARVELL_TESTS_WINDSHIELD_FIXTURES_H
#define CARVELL_TESTS_WINDSHIELD_FIXTURES_H

#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_ws.h"
#include "omvra.h"

#include <array>
#include <vector>

class WindshieldTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        host_testing::reset_trim_hooks();
    }
    void TearDown() override {
        host_testing::reset_trim_hooks();
        HostTest::TearDown();
    }

    // Square sheet in z = 0: x from 0 to 100, y from -50 to 50.
    static tag_t flat_square() {
        const double corner[3] = {0, -50, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
        return host_testing::make_planar_sheet(corner, u, v);
    }
    // Rectangle of four lines in z = 0.
    static std::vector<tag_t> rectangle(double x0, double y0, double x1, double y1, double z = 0.0) {
        return {support::new_line(x0, y0, z, x1, y0, z), support::new_line(x1, y0, z, x1, y1, z),
                support::new_line(x1, y1, z, x0, y1, z), support::new_line(x0, y1, z, x0, y0, z)};
    }
    static std::vector<HM_MODL_trim_object_t> bounds_of(const std::vector<tag_t>& curves) {
        std::vector<HM_MODL_trim_object_t> bounds;
        for (tag_t c : curves) bounds.push_back({c, 1});
        return bounds;
    }
    static int count_bodies(tag_t part) {
        int n = 0;
        for (tag_t t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, 0); t;
             t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, t)) {
            int type = 0, subtype = 0;
            HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
            if (subtype == HM_solid_body_subtype) ++n;
        }
        return n;
    }
};

// The identity vehicle frame as a transform.
inline MTX4_t identity_frame() {
    MTX4_t m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0;
    return m;
}

#endif
