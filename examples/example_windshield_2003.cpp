// The 2003 release's windshield functions on the passenger car of the
// windshield-data example, as its dialog calls them: the FMVSS 104 / SAE J903
// test areas A, B and C sampled on the glass, the area a tandem pair of
// wipers sweeps, and the wiped share of each test area beside the minimums
// of FMVSS 104 (80 % of A, 94 % of B, 99 % of C).
//
// The 2003 wiper model: a wiper of arm A and blade B sweeps the band between
// the circles of radius A - B/2 and A + B/2 about its pivot on the glass,
// above the horizontal plane through the driver's pivot. Here both arms are
// 530 mm with 600 mm blades, their pivots 80 mm up the glass at y = -560 and
// y = +80 (mode 0: tandem).
//
// Usage: example_windshield_2003 [output folder]
// (WS_TRACE=1 in the environment also prints the tool's trace lines.)
#include "release2003/windshield.h"

#include "eyellipse_2003.h"
#include "host_testing.h"
#include "morvish.h"
#include "omvra.h"
#include "passenger_windshield.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace passenger_windshield;

constexpr int kPointsPerCurve = 30;
constexpr double kArm = 530.0, kBlade = 600.0;
constexpr int kTandem = 0;

struct TestArea {
    const char* name;
    double left, right, up, down;   // degrees from the eye
    double required;                 // FMVSS 104 minimum wiped share, percent
};
const TestArea kAreas[3] = {
    {"A", 18, 56, 10, 5, 80.0},
    {"B", 14, 53, 5, 3, 94.0},
    {"C", 10, 15, 5, 1, 99.0},
};

// Point lists as the exports hand them over, freed as the host frees them.
struct Lists {
    int count = 0;
    int* point_counts = nullptr;
    double*** points = nullptr;
    ~Lists() {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; points && points[i] && j < point_counts[i]; ++j) SM_free(points[i][j]);
            if (points) SM_free(points[i]);
        }
        SM_free(point_counts);
        SM_free(points);
    }
};

// A point of the glass inside the test area: the glass point nearest the
// middle of its four sides' middle points.
bool point_inside(tag_t face, const Lists& sides, double keep[3]) {
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int k = 0; k < sides.count; ++k) {
        if (sides.point_counts[k] == 0) continue;
        const double* mid = sides.points[k][sides.point_counts[k] / 2];
        for (int i = 0; i < 3; ++i) sum[i] += mid[i];
        ++n;
    }
    if (n == 0) return false;
    for (double& s : sum) s /= n;
    double parm[2];
    return HM_MODL_ask_face_parm(face, sum, parm, keep) == 0;
}

void print_point(const double* p) { std::printf("(%7.1f, %7.1f, %7.1f)", p[0], p[1], p[2]); }

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "windshield-2003-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("windshield_2003", false);
    if (std::getenv("WS_TRACE")) {   // the tool's trace lines on the terminal
        host_testing::set_checking_level(1);
        host_testing::set_debug_key("VD_WS", true);
    }
    const tag_t windshield = make_windshield();
    hm_list_p_t face_list = nullptr;
    HM_MODL_ask_body_faces(windshield, &face_list);
    tag_t face = 0;
    HM_MODL_ask_list_item(face_list, 0, &face);
    HM_MODL_delete_list(&face_list);

    std::printf("Windshield: raked %.0f deg, %.0f mm wide and %.0f mm high along the glass, radius %.0f mm across "
                "and %.0f mm top to bottom\n",
                kRake / kDeg, kWidth, kSlopeLength, kRadiusAcross, kRadiusUp);
    std::printf("Eye (SAE J941 cyclops point): (%.0f, %.0f, %.0f)\n\n", kEye[0], kEye[1], kEye[2]);

    // The driver's SAE J941 eyellipse about that eye, as this release's two
    // eyellipse initialisers read it: full axis lengths, and semi-axes. The
    // test areas below are taken from the eye itself.
    if (eyellipse_2003::make_and_report("EYE_2003") != 0) std::printf("The eyellipse could not be read.\n");
    std::printf("\n");

    std::printf("Test areas (planes through the eye: left, right, up, down in degrees), points a side:\n");
    Lists sides[3];
    double origins[3][4][3], normals[3][4][3];
    for (int a = 0; a < 3; ++a) {
        const TestArea& t = kAreas[a];
        test_area_planes(t.left, t.right, t.up, t.down, origins[a], normals[a]);
        HM_VD_WS_create_test_area(1, &face, origins[a], normals[a], kPointsPerCurve, &sides[a].point_counts,
                                  &sides[a].points);
        sides[a].count = sides[a].point_counts ? 4 : 0;
        std::printf("  area %s (%2.0f, %2.0f, %2.0f, %.0f): sides", t.name, t.left, t.right, t.up, t.down);
        for (int k = 0; k < sides[a].count; ++k) std::printf(" %d", sides[a].point_counts[k]);
        std::printf("\n");
    }

    const Point3 pivot1 = glass(-560.0, 80.0), pivot2 = glass(80.0, 80.0);
    std::printf("\nTandem wipers: arm %.0f mm, blade %.0f mm, pivots ", kArm, kBlade);
    print_point(pivot1.data());
    std::printf(" and ");
    print_point(pivot2.data());
    std::printf("\n  swept band: radius %.0f to %.0f mm about each pivot\n", kArm - kBlade / 2, kArm + kBlade / 2);
    Lists wiped;
    HM_VD_WS_create_wiped_area(1, &face, kTandem, kArm, kBlade, pivot1.data(), pivot2.data(), kPointsPerCurve,
                               &wiped.count, &wiped.point_counts, &wiped.points);
    std::printf("Wiped outline: %d curves\n", wiped.count);
    const char* roles[8] = {"outer circle 1",  "outer circle 2",           "down to inner circle 2",
                            "inner circle 2",  "outer circle 1 (inside)",  "along the base",
                            "inner circle 1",  "back to the start"};
    std::vector<tag_t> curves;
    for (int i = 0; i < wiped.count; ++i) {
        const double* first = wiped.points[i][0];
        const double* last = wiped.points[i][wiped.point_counts[i] - 1];
        std::printf("  %d %-24s %2d points ", i + 1, wiped.count == 8 ? roles[i] : "", wiped.point_counts[i]);
        print_point(first);
        std::printf(" to ");
        print_point(last);
        std::printf("\n");
        // The dialog's spline through each list.
        std::vector<Point3> row;
        for (int j = 0; j < wiped.point_counts[i]; ++j)
            row.push_back({wiped.points[i][j][0], wiped.points[i][j][1], wiped.points[i][j][2]});
        curves.push_back(host_testing::make_spline(row));
    }

    std::printf("\nWiped share of the test areas:\n");
    for (int a = 0; a < 3; ++a) {
        double keep[3], percentage = 0.0;
        if (point_inside(face, sides[a], keep))
            HM_VD_WS_calculate_percent(1, &face, keep, origins[a], normals[a], int(curves.size()), curves.data(),
                                       kArm, kBlade, pivot1.data(), pivot2.data(), &percentage);
        std::printf("  area %s: %6.2f %%   required at least %.0f %%   %s\n", kAreas[a].name, percentage,
                    kAreas[a].required, percentage >= kAreas[a].required ? "met" : "NOT met");
    }

    std::printf("\nStatus area:\n");
    for (const std::string& text : host_testing::status_texts()) std::printf("  %s\n", text.c_str());
    UPDATE_do_update();   // the exports' temporary curves and bodies go
    const std::string step = folder + "/windshield_2003.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects: the glass and the wiped outline; open it in any CAD "
                "viewer)\n",
                step.c_str(), count);
    host_testing::reset();
    return 0;
}
