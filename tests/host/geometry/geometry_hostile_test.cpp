// Host geometry entry points under hostile counts and numbers: string lists
// whose arrays cannot be had, face properties at parameters that are not
// finite, conics whose points leave the model space. Each fails at once
// with HM_ERR_BAD_ARGUMENT, writes nothing, builds nothing and leaves no
// block of the memory manager behind.
#include "host_fixture.h"
#include "hostile_input.h"
#include "omvra.h"

#include <climits>
#include <cmath>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

class GeometryHostileInputTest : public HostTest {};

TEST_F(GeometryHostileInputTest, CountsParametersAndConicsTheHostCannotHonourFailAtOnce) {
    // String lists: every field stays as the caller initialised it.
    HM_STRING_LIST_t list;
    auto strings = [&](int string_count, int curve_total) {
        HM_MODL_init_string_list(&list);
        const int status = HM_MODL_create_string_list(string_count, curve_total, &list);
        EXPECT_TRUE(list.string_count == 0 && !list.curve_counts && !list.directions && !list.curves)
            << "the list was filled on failure";
        return status;
    };
    // Face properties of the unit square's face at (u, v).
    const double corner[3] = {0, 0, 0}, u[3] = {1, 0, 0}, v[3] = {0, 1, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    ASSERT_EQ(HM_MODL_ask_body_faces(sheet, &faces), 0);
    ASSERT_EQ(HM_MODL_ask_list_item(faces, 0, &face), 0);
    HM_MODL_delete_list(&faces);
    auto props = [&](double pu, double pv) {
        const double parm[2] = {pu, pv};
        double out[7][3];
        double radii[2] = {-7, -7};
        for (auto& row : out) row[0] = row[1] = row[2] = -7;
        const int status = HM_MODL_ask_face_props(face, parm, out[0], out[1], out[2], out[3], out[4], out[5], radii);
        for (auto& row : out) EXPECT_TRUE(row[0] == -7 && row[1] == -7 && row[2] == -7) << "written on failure";
        EXPECT_TRUE(radii[0] == -7 && radii[1] == -7);
        return status;
    };
    // Conics in the absolute XY plane: parabola x = t^2 / k1, y = t.
    tag_t made = 0;
    auto conic = [&](int type, double k1, double k2, double t0, double t1) {
        const HM_CURVE_conic_t c = {0, type, 0.0, t0, t1, {0, 0, 0}, k1, k2};
        made = 0;
        const int status = HM_CURVE_create_conic(&c, &made);
        EXPECT_EQ(made, 0u) << "a conic was made";
        return status;
    };
    const std::vector<Hostile> cases = {
        {"string list: -1 strings", [&] { return strings(-1, 1); }, HM_ERR_BAD_ARGUMENT},
        {"string list: INT_MIN curves", [&] { return strings(1, INT_MIN); }, HM_ERR_BAD_ARGUMENT},
        {"string list: INT_MAX strings", [&] { return strings(INT_MAX, 1); }, HM_ERR_BAD_ARGUMENT},
        {"string list: INT_MAX curves", [&] { return strings(1, INT_MAX); }, HM_ERR_BAD_ARGUMENT},
        // 2^28 tags are the 1 GiB limit itself; one more is refused.
        {"string list: curves one past the largest block", [&] { return strings(1, (1 << 28) + 1); },
         HM_ERR_BAD_ARGUMENT},
        {"face props: NaN u", [&] { return props(kNaN, 0.5); }, HM_ERR_BAD_ARGUMENT},
        {"face props: infinite v", [&] { return props(0.5, kInf); }, HM_ERR_BAD_ARGUMENT},
        {"face props: v of 1e300", [&] { return props(0.5, 1e300); }, HM_ERR_BAD_ARGUMENT},
        {"conic: parabola of k1 = 1e-300", [&] { return conic(HM_CONIC_parabola, 1e-300, 0.0, -1.0, 1.0); },
         HM_ERR_BAD_ARGUMENT},
        {"conic: parabola run out to t = 1e7", [&] { return conic(HM_CONIC_parabola, 1.0, 0.0, 0.0, 1e7); },
         HM_ERR_BAD_ARGUMENT},
        {"conic: hyperbola run out to t = 100", [&] { return conic(HM_CONIC_hyperbola, 1.0, 1.0, 0.0, 100.0); },
         HM_ERR_BAD_ARGUMENT},
    };
    support::expect_all_refused(cases);
    ExpectNoLeaks();

    // Inside the model space both still work: the parabola of k1 = 1e-6 up to
    // t = 1 reaches x = 1e6.
    const HM_CURVE_conic_t narrow = {0, HM_CONIC_parabola, 0.0, 0.0, 1.0, {0, 0, 0}, 1e-6, 0.0};
    ASSERT_EQ(HM_CURVE_create_conic(&narrow, &made), 0);
    double p[3], t[3], pn[3], bn[3], torsion = 0, radius = 0;
    ASSERT_EQ(HM_MODL_ask_curve_props(made, 1.0, p, t, pn, bn, &torsion, &radius), 0);
    EXPECT_NEAR(p[0], 1e6, 1e-3);
    EXPECT_NEAR(p[1], 1.0, 1e-9);
    ASSERT_EQ(HM_MODL_create_string_list(2, 5, &list), 0);
    EXPECT_EQ(list.string_count, 2);
    HM_MODL_free_string_list(&list);
}

}  // namespace
