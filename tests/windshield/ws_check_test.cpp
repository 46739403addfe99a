// The dark-band check: its statuses, and the part left as it was whatever
// the answer, also after the kernel threw.
#include "ws_fixtures.h"

#include <vector>

namespace {

class WsCheckTest : public WindshieldTest {
protected:
    int objects_in_part() const {
        int n = 0;
        for (int type : {HM_solid_type, HM_line_type, HM_spline_type, HM_plane_type, HM_feature_type})
            for (tag_t t = HM_OBJ_cycle_objs_in_part(part_, type, 0); t; t = HM_OBJ_cycle_objs_in_part(part_, type, t))
                ++n;
        return n;
    }
};

TEST_F(WsCheckTest, AnswersEachStatusAndLeavesThePartAsItWas) {
    const tag_t sheet = flat_square();   // x 0..100, y -50..50, z 0
    const std::vector<tag_t> faces = support::faces_of(sheet);
    const double far_corner[3] = {0, 500, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    std::vector<tag_t> apart = faces;
    apart.push_back(support::faces_of(host_testing::make_planar_sheet(far_corner, u, v))[0]);
    const std::vector<tag_t> band = rectangle(20, -30, 80, 30);
    std::vector<tag_t> two_loops = band;
    for (tag_t c : rectangle(85, -45, 95, -35)) two_loops.push_back(c);
    std::vector<tag_t> open_chain(band.begin(), band.end() - 1);
    struct Case {
        const char* name;
        const std::vector<tag_t>* faces;
        const std::vector<tag_t>* curves;
        double offset;
        int expected;
    } cases[] = {
        {"band without offset", &faces, &band, 0.0, 0},
        {"no band, no offset", &faces, nullptr, 0.0, 0},
        {"two loops", &faces, &two_loops, 0.0, 1},
        {"faces apart", &apart, &band, 0.0, 2},
        {"open chain", &faces, &open_chain, 0.0, 4},
        {"band with offset", &faces, &band, 10.0, 0},
    };
    const int before = objects_in_part();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n_curves = c.curves ? int(c.curves->size()) : 0;
        EXPECT_EQ(HM_VD_WS_check_serigrafia_status(int(c.faces->size()), c.faces->data(), n_curves,
                                                   c.curves ? c.curves->data() : nullptr, c.offset),
                  c.expected);
        EXPECT_EQ(objects_in_part(), before);
        EXPECT_EQ(host_testing::surface_area(sheet), 10000.0);
    }
}

TEST_F(WsCheckTest, AnOffsetThatCannotBeMadeAnswers5) {
    const double start[3] = {0, -100, -3000}, axis[3] = {0, 1, 0}, x_dir[3] = {0, 0, 1};
    const tag_t sheet = host_testing::make_cylindrical_sheet(start, axis, x_dir, 3000.0, 0.1, 200.0);
    const std::vector<tag_t> faces = support::faces_of(sheet);
    const int before = objects_in_part();
    // Tubes of radius 1000 about the edges hold the whole 300 x 200 sheet: no offset is left.
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, faces.data(), 0, nullptr, 1000.0), 5);
    EXPECT_EQ(objects_in_part(), before);
}

TEST_F(WsCheckTest, ACurvedSheetIsOffsetByTubesAndTheTrialIsUndone) {
    const double start[3] = {0, -100, -3000}, axis[3] = {0, 1, 0}, x_dir[3] = {0, 0, 1};
    const tag_t sheet = host_testing::make_cylindrical_sheet(start, axis, x_dir, 3000.0, 0.1, 200.0);
    const std::vector<tag_t> faces = support::faces_of(sheet);
    const int before = objects_in_part();
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, faces.data(), 0, nullptr, 25.4), 0);
    EXPECT_EQ(objects_in_part(), before);
}

TEST_F(WsCheckTest, BadInputAnswersItsCodeWithNothingBuilt) {
    const tag_t sheet = flat_square();
    const std::vector<tag_t> faces = support::faces_of(sheet);
    const std::vector<tag_t> band = rectangle(20, -30, 80, 30);
    const int before = objects_in_part();
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, faces.data(), 4, nullptr, 0.0), 1);
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, faces.data(), -1, band.data(), 0.0), 1);
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(0, faces.data(), 4, band.data(), 0.0), 2);
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, nullptr, 4, band.data(), 0.0), 2);
    EXPECT_EQ(objects_in_part(), before);
}

TEST_F(WsCheckTest, AThrowingTrimIsAFailedCheckAndThePartIsUndone) {
    const tag_t sheet = flat_square();
    const std::vector<tag_t> faces = support::faces_of(sheet);
    const std::vector<tag_t> band = rectangle(20, -30, 80, 30);
    const int before = objects_in_part();
    host_testing::force_trim_exception(4711);
    EXPECT_EQ(HM_VD_WS_check_serigrafia_status(1, faces.data(), 4, band.data(), 0.0), 4);
    EXPECT_EQ(objects_in_part(), before);
}

}  // namespace
