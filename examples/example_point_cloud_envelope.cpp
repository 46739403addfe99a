// The roll envelope of a transverse engine as a powertrain packaging engineer
// builds it for under-hood clearance: the engine block (440 x 520 x 420 mm)
// and the flywheel housing (a 360 mm disc, 60 mm thick) are sampled to the
// vertices of their convex hull, joined by a seeded cloud of 4,000 points
// that stands for the dressing (manifolds, pumps, harness) inside the
// 700 x 560 x 620 mm engine space, and the whole set is rolled on its mounts
// about the crank axis from -6 to +6 degrees in five positions, each
// position's hull enlarged by the usual 10 mm clearance. The example prints
// the counts the engineer checks, the envelope's volume and box beside the
// un-offset hull's, keeps the sampled points as a point-list file and as
// list rules of the part, and writes the geometry as a STEP file. Beside
// the engine, the front right wheel's travel (the tire-envelope example's
// spindle file) becomes the clearance configurations "LOAD 1", "LOAD 2", ...
// of a clearance data set, which the example lists.
//
// Vehicle frame: x rearward, y lateral, z up; millimetres and degrees. The
// crank axis runs along y through (0, 0, 400).
//
// Usage: example_point_cloud_envelope [output-folder]   (default: point-cloud-envelope-output)
#include "caldwyn.h"
#include "front_wheel_spindle.h"
#include "host_testing.h"
#include "istrane.h"
#include "jorvale.h"
#include "omvra.h"
#include "point_cloud_envelope.h"
#include "quillon.h"
#include "vd_eve.h"
#include "vd_evt.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using host_testing::ArgValue;

constexpr double kPi = 3.14159265358979323846;
constexpr double kCrankZ = 400.0;
constexpr double kClearance = 10.0;   // mm
constexpr int kCloudPoints = 4000;
// The engine space: 560 mm along x, 700 mm along y, 620 mm up from z = 150.
constexpr double kSpaceLo[3] = {-280.0, -350.0, 150.0};
constexpr double kSpaceSize[3] = {560.0, 700.0, 620.0};

// A frame rolled by `degrees` about the crank axis.
ArgValue roll_frame(double degrees) {
    const double a = degrees * kPi / 180.0;
    // Rotation about y through (0, 0, kCrankZ): x' = (cos a, 0, -sin a), y' = y.
    const double x_axis[3] = {std::cos(a), 0.0, -std::sin(a)};
    const double y_axis[3] = {0.0, 1.0, 0.0};
    const double origin[3] = {kCrankZ * std::sin(a), 0.0, kCrankZ - kCrankZ * std::cos(a)};
    return ArgValue::frame(origin, x_axis, y_axis);
}

std::vector<double> sample_engine(tag_t block, tag_t housing) {
    KBL_arg_slot_t slots[4] = {};
    slots[1].list = host_testing::make_value_list({ArgValue::object(block), ArgValue::object(housing)});
    slots[2].list = host_testing::make_value_list({});
    int count = 0;
    double* points = nullptr;
    const int result = hm_vd_eve_sample_points(slots, &count, &points);
    std::printf("hm_vd_eve_sample_points: %d, %d hull vertices of the block and the housing\n", result, count);
    std::vector<double> out(points, points + 3 * count);
    SM_free(points);
    return out;
}

std::vector<double> dressing_cloud() {
    std::mt19937 random(1908);
    std::vector<double> out;
    for (int i = 0; i < kCloudPoints; ++i)
        for (int k = 0; k < 3; ++k)
            out.push_back(kSpaceLo[k] + kSpaceSize[k] * std::uniform_real_distribution<double>(0.0, 1.0)(random));
    return out;
}

// The envelope over the five roll positions; offset by the clearance when asked.
tag_t envelope(const std::vector<double>& points, bool enlarged) {
    std::vector<ArgValue> values, frames, offsets;
    for (size_t i = 0; i < points.size(); i += 3) values.push_back(ArgValue::point(points[i], points[i + 1], points[i + 2]));
    for (double roll : {-6.0, -3.0, 0.0, 3.0, 6.0}) frames.push_back(roll_frame(roll));
    if (enlarged)
        for (int position = 1; position <= 5; ++position)
            offsets.insert(offsets.end(), {ArgValue::integer(position), ArgValue::number(kClearance)});
    KBL_arg_slot_t slots[8] = {};
    slots[3].value = host_testing::make_value(roll_frame(0.0));
    slots[4].list = host_testing::make_value_list(frames);
    slots[5].integer = 1;   // enlarge
    slots[6].list = host_testing::make_value_list(offsets);
    const int result = gen_convex_envelope(slots, static_cast<int>(values.size()), host_testing::make_value_list(values));
    std::printf("gen_convex_envelope (%s): %d, body %u\n", enlarged ? "10 mm enlarge" : "no offset", result,
                slots[0].tag);
    return slots[0].tag;
}

void print_body(const char* what, tag_t body) {
    double box[6] = {};
    HM_MODL_ask_bounding_box(body, box);
    std::printf("  %-18s volume %8.4f m^3, box x %7.1f..%6.1f  y %7.1f..%6.1f  z %6.1f..%6.1f mm\n", what,
                host_testing::volume(body) * 1e-9, box[0], box[3], box[1], box[4], box[2], box[5]);
}

// The wheel travel as clearance configurations: the spindle file written
// into the output folder, one configuration a record; each configuration's
// transform must carry the design spindle onto its record's. 0 when
// every record gave its configuration.
int list_wheel_travel_configurations(const std::string& folder) {
    const std::string file = folder + "/fr_spindle_displace.pts";
    const std::vector<std::string> lines = front_wheel::spindle_file();
    {
        std::ofstream out(file);
        for (const std::string& line : lines) out << line << "\n";
    }
    const tag_t dataset = host_testing::make_clearance_dataset("FR_WHEEL_TRAVEL");
    double origin[3] = {0, 0, 0};
    double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const int built = VD_EVTWIZ_build_clear_configurations(dataset, file.c_str(), origin, axes);
    int n = 0;
    CLEAR_ask_num_configurations(dataset, &n);
    const int records = static_cast<int>(lines.size()) - front_wheel::kHeaderLines;
    std::printf("\nVD_EVTWIZ_build_clear_configurations: %d, %d configurations from %s (%d records)\n", built, n,
                file.c_str(), records);
    double design[6] = {}, worst = 0.0;
    for (int c = 0; c < n; ++c) {
        char name[CLEAR_NAME_BUFSIZE] = "";
        MTX4_t m{};
        int count = 0;
        tag_t* moving = nullptr;
        CLEAR_ask_configuration_name(dataset, c, name);
        CLEAR_ask_configuration_position_data(dataset, c, 0, &m, nullptr, &count, &moving);
        SM_free(moving);
        double p[6] = {};
        std::sscanf(lines[front_wheel::kHeaderLines + c].c_str(), "%lf, %lf, %lf, %lf, %lf, %lf", &p[0], &p[1],
                    &p[2], &p[3], &p[4], &p[5]);
        if (c == 0) std::copy(p, p + 6, design);
        // The design centre and axis point carried by the configuration.
        double centre[3] = {}, axis_point[3] = {};
        HM_MTX4_vec3_multiply(design, m.m, centre);
        HM_MTX4_vec3_multiply(design + 3, m.m, axis_point);
        for (int k = 0; k < 3; ++k)
            worst = std::max({worst, std::fabs(centre[k] - p[k]), std::fabs(axis_point[k] - p[3 + k])});
        // Steer: the turn of the outboard spindle direction about the vertical.
        const double steer = std::atan2(centre[1] - axis_point[1], centre[0] - axis_point[0]) -
                             std::atan2(design[1] - design[4], design[0] - design[3]);
        std::printf("  %-8s wheel centre (%5.1f, %5.1f, %5.1f), lift %+5.1f mm, steer %+5.1f deg\n", name, centre[0],
                    centre[1], centre[2], centre[2] - design[2], steer * 180.0 / front_wheel::kPi);
    }
    std::printf("  every configuration carries the design spindle (centre and axis point) onto its record's: "
                "largest miss %.2e mm\n",
                worst);
    // The file holds three decimals, so an axis point may miss by a few microns.
    constexpr double kFileResolution = 0.01;   // mm
    return built == 0 && n == records && worst < kFileResolution ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "point-cloud-envelope-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("engine_bay", false);
    host_testing::set_env("KWII_TMP_DIR", folder.c_str());

    const double block_corner[3] = {-220.0, -300.0, 250.0}, block_size[3] = {440.0, 520.0, 420.0};
    const tag_t block = host_testing::make_box(block_corner, block_size);
    const double housing_base[3] = {0.0, -350.0, kCrankZ}, y_axis[3] = {0.0, 1.0, 0.0};
    const tag_t housing = host_testing::make_cylinder(housing_base, y_axis, 360.0, 60.0);
    HM_OBJ_set_name(block, "ENGINE_BLOCK");
    HM_OBJ_set_name(housing, "FLYWHEEL_HOUSING");

    std::vector<double> points = sample_engine(block, housing);
    const std::vector<double> cloud = dressing_cloud();
    points.insert(points.end(), cloud.begin(), cloud.end());
    const int n = static_cast<int>(points.size() / 3);
    std::printf("Points per position: %d (sampled + %d cloud points); 5 positions, %d points placed\n", n,
                kCloudPoints, 5 * n);

    // The hull of the design position, as the host's hull sees it.
    std::vector<double> copy = points;
    CHULL_input_t input{};
    input.option = 2;
    input.count = n;
    input.points = reinterpret_cast<double(*)[3]>(copy.data());
    CHULL_output_t output{};
    if (CHULL_convex_hull(&input, &output) == 0)
        std::printf("Design-position hull: %d vertices, %d facets (Euler: 2 x vertices - 4 = %d)\n", input.count,
                    output.n_facets, 2 * input.count - 4);
    CHULL_free_hull(&input, &output);

    const tag_t plain = envelope(points, false);
    const tag_t enlarged = envelope(points, true);
    HM_OBJ_set_name(plain, "ROLL_HULL");
    HM_OBJ_set_name(enlarged, "ROLL_ENVELOPE_10MM");
    std::printf("Envelope over the roll from -6 to +6 degrees:\n");
    print_body("un-offset hull", plain);
    print_body("10 mm envelope", enlarged);
    double a[6] = {}, b[6] = {};
    HM_MODL_ask_bounding_box(plain, a);
    HM_MODL_ask_bounding_box(enlarged, b);
    std::printf("  box growth: x %.1f, y %.1f, z %.1f mm (at least 20.0 each: 10 mm on both sides; a corner moves along its faces' common normal, a little further along an axis)\n",
                (b[3] - b[0]) - (a[3] - a[0]), (b[4] - b[1]) - (a[4] - a[1]), (b[5] - b[2]) - (a[5] - a[2]));
    // The un-offset hull is kept for comparison but not shown.
    HM_OBJ_set_blank_status(plain, true);

    std::vector<GQ_VECTOR_t> list(n);
    for (int i = 0; i < n; ++i) list[i] = {points[3 * i], points[3 * i + 1], points[3 * i + 2]};
    const int saved = hm_vd_eve_save_points(n, list.data());
    char path[VD_EVE_PATH_SIZE] = "";
    hm_vd_eve_ask_points_filename(path);
    std::printf("hm_vd_eve_save_points: %d, %s\n", saved, path);
    char name[VD_EVE_NAME_SIZE] = "";
    const int stored = VD_EVE_store_points_list_into_rq(path, nullptr, name);
    std::printf("VD_EVE_store_points_list_into_rq: %d, lists \"%s\" (%s lists of at most 2000 lines for %d lines)\n",
                stored, name, host_testing::rule_text((std::string("root:") + name + "_count:").c_str()).c_str(), n);

    const int travel = list_wheel_travel_configurations(folder);

    const std::string step = folder + "/point_cloud_envelope.step";
    const int written = host_testing::write_step(step.c_str());
    std::printf("%d objects written to %s\n", written, step.c_str());
    return saved == 0 && stored == 0 && travel == 0 && plain != 0 && enlarged != 0 && written > 0 ? 0 : 1;
}
