// Hostile input to every export of the envelope family: each pointer null,
// counts of 0, -1, INT_MAX and counts whose arrays would not fit, numbers
// that are NaN, infinite or 1e300, text buffers without their terminator,
// boolean bytes that are no bool, tag 0, deleted and wrong-kind tags, and
// the family's degenerate geometry (a flat cloud, a zero spindle). Every row
// answers its refusal, builds and deletes nothing in the part, leaves no
// block of the memory manager behind (the fixture's tear-down) and leaves
// the caller's arrays as they were; the process survives.
#include "eve_fixtures.h"

#include "hostile_input.h"
#include "point_cloud_envelope.h"
#include "tire_envelope.h"
#include "vd_eve.h"
#include "vd_evt.h"

#include "caldwyn.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using host_testing::ArgValue;
using support::Hostile;
using support::kInf;
using support::kNaN;
using carvell::envelope::kScratchFileType;

class EnvelopeHostileInputTest : public eve_test::EveTest {
protected:
    void SetUp() override {
        EveTest::SetUp();
        const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
        box_ = host_testing::make_box(corner, size);
        point_ = host_testing::make_point({1, 2, 3});
        dead_ = host_testing::make_point({4, 5, 6});
        HM_OBJ_delete_object(dead_);
        dataset_ = host_testing::make_clearance_dataset("HOSTILE");
    }
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        support::expect_all_refused(cases);
        ExpectNoLeaks();
        EXPECT_EQ(host_testing::session_depth(), 0);
    }
    // A block of n points of the memory manager (the offsets replace it).
    double* points_block(const std::vector<double>& p) {
        auto* block = static_cast<double*>(SM_alloc(p.size() * sizeof(double)));
        std::memcpy(block, p.data(), p.size() * sizeof(double));
        return block;
    }
    tag_t box_ = 0, point_ = 0, dead_ = 0, dataset_ = 0;
};

// A parameter block as the tool fills it, with no update of the part.
std::unique_ptr<tire_envelope_params_s> tire_block() {
    auto p = std::make_unique<tire_envelope_params_s>();
    std::memset(p.get(), 0, sizeof *p);
    std::snprintf(p->instance_name, sizeof p->instance_name, "%s", "EVT");
    p->csys_matrix[0] = p->csys_matrix[4] = p->csys_matrix[8] = 1.0;
    p->rim_diameter = 457.2;
    p->num_profile_pts = 3;
    const double profile[3][2] = {{0, 0}, {100, 100}, {120, 200}};
    std::memcpy(p->profile_pts, profile, sizeof profile);
    p->radial_start = -30.0;
    p->radial_end = 30.0;
    p->trim_dist = 50.0;
    return p;
}

TEST_F(EnvelopeHostileInputTest, TireEngineRefusesUnterminatedTextsAndNumbersThatAreNotFinite) {
    int n = 0;
    tag_t splines[TIRE_ENVELOPE_MAX_SECTIONS], profile = 0, wheel = 0, tire = 0, spindle = 0;
    using Spoil = void (*)(tire_envelope_params_s*);
    auto curves = [&](Spoil spoil) {
        auto p = tire_block();
        spoil(p.get());
        return create_tire_envelope_curves(p.get(), &n, splines, &profile, &wheel, &tire, &spindle);
    };
    auto sheet = [&](Spoil spoil, int count, const tag_t* tags) {
        auto p = tire_block();
        p->create_sheet = 1;
        spoil(p.get());
        gen_tire_envelope(p.get(), count, tags);
        return static_cast<int>(p->sheet_body);
    };
    auto keep = [](tire_envelope_params_s*) {};
    auto p = tire_block();
    std::FILE* file = std::tmpfile();
    double values[6];
    const std::vector<Hostile> cases = {
        {"curves: null block", [&] { return create_tire_envelope_curves(nullptr, &n, splines, &profile, &wheel, &tire, &spindle); }, -1},
        {"curves: null count", [&] { return create_tire_envelope_curves(p.get(), nullptr, splines, &profile, &wheel, &tire, &spindle); }, -1},
        {"curves: null splines", [&] { return create_tire_envelope_curves(p.get(), &n, nullptr, &profile, &wheel, &tire, &spindle); }, -1},
        {"curves: null profile", [&] { return create_tire_envelope_curves(p.get(), &n, splines, nullptr, &wheel, &tire, &spindle); }, -1},
        {"curves: null wheel line", [&] { return create_tire_envelope_curves(p.get(), &n, splines, &profile, nullptr, &tire, &spindle); }, -1},
        {"curves: null tire line", [&] { return create_tire_envelope_curves(p.get(), &n, splines, &profile, &wheel, nullptr, &spindle); }, -1},
        {"curves: null spindle line", [&] { return create_tire_envelope_curves(p.get(), &n, splines, &profile, &wheel, &tire, nullptr); }, -1},
        {"curves: instance name unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->instance_name, 'A', sizeof q->instance_name); }); }, -1},
        {"curves: profile file unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->profile_file, 'A', sizeof q->profile_file); }); }, -1},
        {"curves: rim size unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->rim_size, 'A', sizeof q->rim_size); }); }, -1},
        {"curves: spindle file unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->spindle_file, 'A', sizeof q->spindle_file); }); }, -1},
        {"curves: vehicle program unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->vehicle_program, 'A', sizeof q->vehicle_program); }); }, -1},
        {"curves: suspension unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->suspension, 'A', sizeof q->suspension); }); }, -1},
        {"curves: offset file unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->offset_file, 'A', sizeof q->offset_file); }); }, -1},
        {"curves: notes unterminated", [&] { return curves([](tire_envelope_params_s* q) { std::memset(q->notes, 'A', sizeof q->notes); }); }, -1},
        {"curves: NaN origin", [&] { return curves([](tire_envelope_params_s* q) { q->csys_origin[1] = kNaN; }); }, -1},
        {"curves: infinite matrix", [&] { return curves([](tire_envelope_params_s* q) { q->csys_matrix[4] = kInf; }); }, -1},
        {"curves: rim of 1e300", [&] { return curves([](tire_envelope_params_s* q) { q->rim_diameter = 1e300; }); }, -1},
        {"curves: NaN trim distance", [&] { return curves([](tire_envelope_params_s* q) { q->trim_dist = kNaN; }); }, -1},
        {"curves: NaN radial start", [&] { return curves([](tire_envelope_params_s* q) { q->radial_start = kNaN; }); }, -1},
        {"curves: infinite profile point", [&] { return curves([](tire_envelope_params_s* q) { q->profile_pts[1][1] = kInf; }); }, -1},
        {"curves: NaN offset in use", [&] { return curves([](tire_envelope_params_s* q) { q->num_offset_sections = 1; q->num_offsets[0] = 2; q->offsets[0][1] = kNaN; }); }, -1},
        {"curves: no profile points", [&] { return curves([](tire_envelope_params_s* q) { q->num_profile_pts = 0; }); }, 1},
        {"curves: -1 profile points", [&] { return curves([](tire_envelope_params_s* q) { q->num_profile_pts = -1; }); }, 1},
        {"curves: INT_MAX profile points", [&] { return curves([](tire_envelope_params_s* q) { q->num_profile_pts = INT_MAX; }); }, 1},
        {"curves: INT_MAX offset rows", [&] { return curves([](tire_envelope_params_s* q) { q->num_offset_sections = INT_MAX; q->offset_from_file = 1; }); }, 1},
        {"curves: coincident profile points", [&] { return curves([](tire_envelope_params_s* q) { q->profile_pts[1][0] = 0; q->profile_pts[1][1] = 0; }); }, 1},
        {"sheet: null block", [&] { gen_tire_envelope(nullptr, 2, splines); return 0; }, 0},
        {"sheet: null curves", [&] { return sheet(keep, 3, nullptr); }, 0},
        {"sheet: INT_MAX curves", [&] { return sheet(keep, INT_MAX, &box_); }, 0},
        {"sheet: -1 curves", [&] { return sheet(keep, -1, &box_); }, 0},
        {"sheet: notes unterminated", [&] { return sheet([](tire_envelope_params_s* q) { std::memset(q->notes, 'A', sizeof q->notes); }, 2, splines); }, 0},
        {"values: null file", [&] { return readvalues(nullptr, 6, values, &n); }, -1},
        {"values: null values", [&] { return readvalues(file, 6, nullptr, &n); }, -1},
        {"values: null count", [&] { return readvalues(file, 6, values, nullptr); }, -1},
        {"values: -1 values", [&] { return readvalues(file, -1, values, &n); }, -1},
    };
    ExpectAllRefused(cases);
    std::fclose(file);
}

TEST_F(EnvelopeHostileInputTest, PointCloudRuleFunctionsAndOffsetsRefuseWhatTheyCannotUse) {
    KBL_arg_slot_t slots[8] = {};
    auto sample_with = [&](const std::vector<ArgValue>& objects, const std::vector<ArgValue>& components) {
        slots[1].list = host_testing::make_value_list(objects);
        slots[2].list = host_testing::make_value_list(components);
        int count = 7;
        double* points = nullptr;
        const int rc = hm_vd_eve_sample_points(slots, &count, &points);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(points, nullptr);
        SM_free(points);
        return rc;
    };
    auto envelope_of = [&](const std::vector<ArgValue>& points, int n) {
        slots[3].value = host_testing::make_value(ArgValue::frame(std::array<double, 3>{0, 0, 0}.data(),
                                                                  std::array<double, 3>{1, 0, 0}.data(),
                                                                  std::array<double, 3>{0, 1, 0}.data()));
        slots[4].list = host_testing::make_value_list({});
        slots[5].integer = 0;
        slots[6].list = host_testing::make_value_list({});
        slots[0].tag = 77;
        const int rc = gen_convex_envelope(slots, n, host_testing::make_value_list(points));
        EXPECT_EQ(slots[0].tag, 0u);
        return rc;
    };
    std::vector<ArgValue> cube;
    for (size_t i = 0; i < 24; i += 3) {
        const std::vector<double> c = eve_test::cube_points(100.0);
        cube.push_back(ArgValue::point(c[i], c[i + 1], c[i + 2]));
    }
    auto with = [&](size_t k, double x) {
        std::vector<ArgValue> p = cube;
        p[k] = ArgValue::point(x, 0, 0);
        return p;
    };
    const std::vector<ArgValue> flat = {ArgValue::point(0, 0, 0), ArgValue::point(100, 0, 0),
                                        ArgValue::point(0, 100, 0), ArgValue::point(100, 100, 0)};
    int count = 0;
    const std::string file_path = path("facets.dat");
    int file = 0;
    ASSERT_EQ(CFI_open_file(file_path.c_str(), CFI_OPEN_WRITE, kScratchFileType, 2, &file), 0);
    const double frame[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double nan_frame[16] = {1, 0, 0, kNaN, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double out[16];
    for (double& v : out) v = -7.0;
    const std::vector<Hostile> cases = {
        {"sample: null slots", [&] { int c = 0; double* q = nullptr; return hm_vd_eve_sample_points(nullptr, &c, &q); }, -1},
        {"sample: null count", [&] { double* q = nullptr; return hm_vd_eve_sample_points(slots, nullptr, &q); }, -1},
        {"sample: null points", [&] { int c = 0; return hm_vd_eve_sample_points(slots, &c, nullptr); }, -1},
        {"sample: both lists empty", [&] { return sample_with({}, {}); }, -1},
        {"sample: a dead object", [&] { return sample_with({ArgValue::object(dead_)}, {}); }, -1},
        {"sample: a point object", [&] { return sample_with({ArgValue::object(point_)}, {}); }, -1},
        {"sample: a dead component", [&] { return sample_with({}, {ArgValue::object(dead_)}); }, -1},
        {"sample: a body given as component", [&] { return sample_with({}, {ArgValue::object(box_)}); }, -1},
        {"envelope: null slots", [&] { return gen_convex_envelope(nullptr, 8, nullptr); }, -1},
        {"envelope: NaN point", [&] { return envelope_of(with(3, kNaN), 8); }, -1},
        {"envelope: infinite point", [&] { return envelope_of(with(3, kInf), 8); }, -1},
        {"envelope: point at 1e300", [&] { return envelope_of(with(3, 1e300), 8); }, -1},
        {"envelope: INT_MAX points in a list of eight", [&] { return envelope_of(cube, INT_MAX); }, EVE_ERR_WRONG_VALUE},
        {"envelope: points on one plane", [&] { return envelope_of(flat, 4); }, HM_ERR_GEOMETRY},
        {"object facets: null count", [&] { return ask_obj_facet_vertices(1, &box_, nullptr, file); }, -1},
        {"object facets: null tags", [&] { return ask_obj_facet_vertices(1, nullptr, &count, file); }, -1},
        {"object facets: INT_MAX tags", [&] { return ask_obj_facet_vertices(INT_MAX, &box_, &count, file); }, -1},
        {"assembly facets: null count", [&] { return ask_assembly_facet_vertices(box_, nullptr, file); }, -1},
        {"assembly facets: tag 0", [&] { return ask_assembly_facet_vertices(0, &count, file); }, -1},
        {"assembly facets: dead tag", [&] { return ask_assembly_facet_vertices(dead_, &count, file); }, -1},
        {"assembly facets: a body", [&] { return ask_assembly_facet_vertices(box_, &count, file); }, -1},
        {"transform: null from", [&] { return compute_transform(nullptr, frame, out); }, -1},
        {"transform: null to", [&] { return compute_transform(frame, nullptr, out); }, -1},
        {"transform: null out", [&] { return compute_transform(frame, frame, nullptr); }, -1},
        {"transform: NaN origin", [&] { return compute_transform(frame, nan_frame, out); }, -1},
    };
    ExpectAllRefused(cases);
    CFI_close_file(file);
    for (double v : out) EXPECT_EQ(v, -7.0) << "transform written on failure";
    EXPECT_EQ(files_in_dir(), 1u) << "only the test's own file";
}

TEST_F(EnvelopeHostileInputTest, OffsetsRefuseNumbersThatAreNotFiniteAndLeaveThePointsAsTheyWere) {
    const std::vector<double> cube = eve_test::cube_points(0.1);
    double* block = points_block(cube);
    int count = 8;
    const int positions[1] = {1};
    const double directions[3] = {0, 0, 1}, nan_direction[3] = {kNaN, 0, 1};
    auto enlarge = [&](double offset, double factor, int n = 1, int c = 8) {
        int k = c;
        const double offsets[1] = {offset};
        const int rc = envelope_offset_points_enlarge(&block, &k, 8, positions, offsets, n, factor);
        EXPECT_EQ(k, c) << "count changed on failure";
        return rc;
    };
    auto extend = [&](double distance, const double* direction, double factor, int n = 1, int c = 8) {
        int k = c;
        double distances[1] = {distance};
        const int rc = envelope_offset_points_extend(&block, &k, direction, distances, n, factor);
        EXPECT_EQ(k, c) << "count changed on failure";
        EXPECT_EQ(distances[0], distance) << "distance scaled on failure";
        return rc;
    };
    auto spoiled = [&](double x, const std::function<int()>& call) {
        const double keep = block[5];
        block[5] = x;
        const int rc = call();
        block[5] = keep;
        return rc;
    };
    double* null_block = nullptr;
    const std::vector<Hostile> cases = {
        {"enlarge: offset +inf", [&] { return enlarge(kInf, 0.001); }, -1},
        {"enlarge: offset NaN", [&] { return enlarge(kNaN, 0.001); }, -1},
        {"enlarge: offset 1e300", [&] { return enlarge(1e300, 0.001); }, -1},
        {"enlarge: factor NaN", [&] { return enlarge(5.0, kNaN); }, -1},
        {"enlarge: a NaN point", [&] { return spoiled(kNaN, [&] { return enlarge(5.0, 0.001); }); }, -1},
        {"enlarge: count 0", [&] { return enlarge(5.0, 0.001, 1, 0); }, -1},
        {"enlarge: count -1", [&] { return enlarge(5.0, 0.001, 1, -1); }, -1},
        {"enlarge: count INT_MAX", [&] { return enlarge(5.0, 0.001, 1, INT_MAX); }, -1},
        {"enlarge: -1 pairs", [&] { return enlarge(5.0, 0.001, -1); }, -1},
        {"enlarge: INT_MAX pairs", [&] { return enlarge(5.0, 0.001, INT_MAX); }, -1},
        {"enlarge: null points", [&] { int k = 8; return envelope_offset_points_enlarge(nullptr, &k, 8, positions, directions, 1, 1.0); }, -1},
        {"enlarge: null block", [&] { int k = 8; return envelope_offset_points_enlarge(&null_block, &k, 8, positions, directions, 1, 1.0); }, -1},
        {"enlarge: null count", [&] { return envelope_offset_points_enlarge(&block, nullptr, 8, positions, directions, 1, 1.0); }, -1},
        {"enlarge: null positions", [&] { int k = 8; return envelope_offset_points_enlarge(&block, &k, 8, nullptr, directions, 1, 1.0); }, -1},
        {"extend: distance +inf", [&] { return extend(kInf, directions, 0.001); }, -1},
        {"extend: distance 1e300", [&] { return extend(1e300, directions, 0.001); }, -1},
        {"extend: NaN direction", [&] { return extend(5.0, nan_direction, 0.001); }, -1},
        {"extend: factor inf", [&] { return extend(5.0, directions, kInf); }, -1},
        {"extend: a point at 1e300", [&] { return spoiled(1e300, [&] { return extend(5.0, directions, 0.001); }); }, -1},
        {"extend: count INT_MAX", [&] { return extend(5.0, directions, 0.001, 1, INT_MAX); }, -1},
        {"extend: INT_MAX directions", [&] { return extend(5.0, directions, 0.001, INT_MAX); }, -1},
        {"extend: null directions", [&] { return extend(5.0, nullptr, 0.001); }, -1},
        {"extend: a flat cloud", [&] {
             for (int i = 0; i < 8; ++i) block[3 * i + 2] = 0.0;
             const int rc = extend(5.0, std::array<double, 3>{1, 0, 0}.data(), 0.001);
             std::memcpy(block, cube.data(), cube.size() * sizeof(double));
             return rc;
         }, HM_ERR_GEOMETRY},
    };
    support::expect_all_refused(cases);
    EXPECT_EQ(std::vector<double>(block, block + 24), cube) << "the caller's points changed";
    SM_free(block);
    ExpectNoLeaks();
}

TEST_F(EnvelopeHostileInputTest, PointListFilesRefuseNullEntriesHugeCountsAndMissingFiles) {
    double a[3] = {1, 2, 3}, nan_point[3] = {kNaN, 0, 0};
    double* with_null[2] = {a, nullptr};
    double* with_nan[2] = {a, nan_point};
    GQ_VECTOR_t flat[2] = {{1, 2, 3}, {4, 5, 6}}, flat_inf[1] = {{kInf, 0, 0}};
    char name[VD_EVE_NAME_SIZE];
    char path_buffer[VD_EVE_PATH_SIZE];
    int rows = 7, n = 7;
    double** table = nullptr;
    GQ_VECTOR_t* vectors = nullptr;
    tag_t body = 0;
    const std::string missing = path("missing.txt");
    const std::string nan_file = path("nan.dat");
    write_file(nan_file, "nan 0 0\n1 0 0\n0 1 0\n0 0 1\n");
    const std::string points_file = path("four.dat");
    write_file(points_file, "0 0 0\n1 0 0\n0 1 0\n0 0 1\n");
    const std::string long_name(200, 'N');
    auto read_table = [&](const char* file, int columns) {
        const int rc = VD_EVE_read_points_list_file(file, columns, &rows, &table);
        EXPECT_EQ(rows, 0);
        EXPECT_EQ(table, nullptr);
        return rc;
    };
    auto read_vectors = [&](const char* file) {
        const int rc = VD_EVE_read_points_vector_file(file, &n, &vectors);
        EXPECT_EQ(n, 0);
        EXPECT_EQ(vectors, nullptr);
        return rc;
    };
    auto saved = [&](int count, int use_pointers, GQ_VECTOR_t* f, double** pointers) {
        const int rc = VD_EVE_save_sampling_points(count, use_pointers, f, pointers);
        char remembered[VD_EVE_PATH_SIZE] = "?";
        VD_EVE_ask_points_list_filename(remembered);
        EXPECT_STREQ(remembered, "") << "a refused save remembers no path";
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"save: a null entry among the pointers", [&] { return saved(2, 1, nullptr, with_null); }, -1},
        {"save: a NaN point among the pointers", [&] { return saved(2, 1, nullptr, with_nan); }, -1},
        {"save: INT_MAX pointers", [&] { return saved(INT_MAX, 1, nullptr, with_null); }, -1},
        {"save: INT_MAX flat points", [&] { return saved(INT_MAX, 0, flat, nullptr); }, -1},
        {"save: an infinite flat point", [&] { return saved(1, 0, flat_inf, nullptr); }, -1},
        {"save: -1 points", [&] { return saved(-1, 0, flat, nullptr); }, -1},
        {"save: null flat points", [&] { return saved(2, 0, nullptr, nullptr); }, -1},
        {"save wrapper: null points", [&] { return hm_vd_eve_save_points(2, nullptr); }, -1},
        {"save wrapper: INT_MAX points", [&] { return hm_vd_eve_save_points(INT_MAX, flat); }, -1},
        {"ask path: null buffer", [&] { VD_EVE_ask_points_list_filename(nullptr); hm_vd_eve_ask_points_filename(nullptr); return 0; }, 0},
        {"table: null path", [&] { return read_table(nullptr, 3); }, -1},
        {"table: missing file", [&] { return read_table(missing.c_str(), 3); }, 1},
        {"table: 0 columns", [&] { return read_table(points_file.c_str(), 0); }, -1},
        {"table: -1 columns", [&] { return read_table(points_file.c_str(), -1); }, -1},
        {"table: INT_MAX columns", [&] { return read_table(points_file.c_str(), INT_MAX); }, -1},
        {"table: null rows", [&] { return VD_EVE_read_points_list_file(points_file.c_str(), 3, nullptr, &table); }, -1},
        {"table: null table", [&] { return VD_EVE_read_points_list_file(points_file.c_str(), 3, &rows, nullptr); }, -1},
        {"vectors: null path", [&] { return read_vectors(nullptr); }, -1},
        {"vectors: missing file", [&] { return read_vectors(missing.c_str()); }, 1},
        {"vectors: null count", [&] { return VD_EVE_read_points_vector_file(points_file.c_str(), nullptr, &vectors); }, -1},
        {"vectors: null points", [&] { return VD_EVE_read_points_vector_file(points_file.c_str(), &n, nullptr); }, -1},
        {"vectors wrapper: missing file", [&] { int c = 7; const int rc = hm_vd_eve_read_points_vector_file(missing.c_str(), &c, &vectors); EXPECT_EQ(c, 0); return rc; }, 1},
        {"store: null path", [&] { return VD_EVE_store_points_list_into_rq(nullptr, "pts", name); }, -1},
        {"store: null out name", [&] { return VD_EVE_store_points_list_into_rq(points_file.c_str(), "pts", nullptr); }, -1},
        {"store: empty name", [&] { return VD_EVE_store_points_list_into_rq(points_file.c_str(), "", name); }, -1},
        {"store: a 200-character name", [&] { return VD_EVE_store_points_list_into_rq(points_file.c_str(), long_name.c_str(), name); }, -1},
        {"store: missing file", [&] { return VD_EVE_store_points_list_into_rq(missing.c_str(), "pts", name); }, -1},
        {"lists to file: null owner", [&] { return VD_EVEWIZ_save_points_list_file_from_rq(nullptr, 1, VD_EVE_MODE_TXT, name); }, -1},
        {"lists to file: null out path", [&] { return VD_EVEWIZ_save_points_list_file_from_rq("Root:", 1, VD_EVE_MODE_TXT, nullptr); }, -1},
        {"lists to file: INT_MAX lists", [&] { return VD_EVEWIZ_save_points_list_file_from_rq("Root:", INT_MAX, VD_EVE_MODE_TXT, name); }, -1},
        {"lists to file: -1 lists", [&] { return VD_EVEWIZ_save_points_list_file_from_rq("Root:", -1, VD_EVE_MODE_PTS, name); }, -1},
        {"lists to file: another mode", [&] { return VD_EVEWIZ_save_points_list_file_from_rq("Root:", 1, 5, name); }, -1},
        {"lists wrapper: INT_MAX lists", [&] { return hm_vd_eve_save_points_list_file_from_rq("Root:", INT_MAX, VD_EVE_MODE_TXT, path_buffer); }, -1},
        {"solid: null path", [&] { return VD_EVE_create_bv_body_from_points(nullptr, 4, &body); }, -1},
        {"solid: null body", [&] { return VD_EVE_create_bv_body_from_points(points_file.c_str(), 4, nullptr); }, -1},
        {"solid: 3 points", [&] { return VD_EVE_create_bv_body_from_points(points_file.c_str(), 3, &body); }, -1},
        {"solid: -1 points", [&] { return VD_EVE_create_bv_body_from_points(points_file.c_str(), -1, &body); }, -1},
        {"solid: INT_MAX points", [&] { return VD_EVE_create_bv_body_from_points(points_file.c_str(), INT_MAX, &body); }, -1},
        {"solid: more points than the file holds", [&] { return VD_EVE_create_bv_body_from_points(points_file.c_str(), 5, &body); }, -2},
        {"solid: missing file", [&] { return VD_EVE_create_bv_body_from_points(missing.c_str(), 4, &body); }, -1},
        {"solid: a NaN point", [&] { return VD_EVE_create_bv_body_from_points(nan_file.c_str(), 4, &body); }, HM_ERR_BAD_ARGUMENT},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(body, 0u);
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", "pts"));
}

TEST_F(EnvelopeHostileInputTest, ToolRecordsRefuseBooleansThatAreNoBoolNumbersThatAreNotFiniteAndHugeCounts) {
    // A 132-character string with no terminator in its 133 bytes.
    char* unterminated = static_cast<char*>(SM_alloc(VD_EVT_STRING_SIZE));
    std::memset(unterminated, 'S', VD_EVT_STRING_SIZE);
    auto record = [](int type, int count) {
        VD_EVT_object_t r{};
        r.type = type;
        r.count = count;
        return r;
    };
    auto build = [&](VD_EVT_object_t r) { return VD_EVTWIZ_build_EVT_Object(&r, 1, "HOSTILE_GROUP"); };
    double numbers[2] = {1.0, kNaN};
    int integers[2] = {1, 2};
    unsigned char bytes[2] = {1, 0x7F};
    char* strings[2] = {unterminated, nullptr};
    VD_EVT_object_t two[2] = {record(VD_EVT_TYPE_INTEGER, 1), record(VD_EVT_TYPE_INTEGER, 1)};
    VD_EVT_object_t* read = nullptr;
    int n = 7;
    char* rq = reinterpret_cast<char*>(&n);
    const std::vector<Hostile> cases = {
        {"build: null records", [&] { return VD_EVTWIZ_build_EVT_Object(nullptr, 1, "G"); }, -1},
        {"build: null name", [&] { return VD_EVTWIZ_build_EVT_Object(two, 2, nullptr); }, -1},
        {"build: 0 records", [&] { return VD_EVTWIZ_build_EVT_Object(two, 0, "G"); }, -1},
        {"build: -1 records", [&] { return VD_EVTWIZ_build_EVT_Object(two, -1, "G"); }, -1},
        {"build: INT_MAX records", [&] { return VD_EVTWIZ_build_EVT_Object(two, INT_MAX, "G"); }, -1},
        {"build: a boolean byte 0x7F", [&] { auto r = record(VD_EVT_TYPE_BOOLEAN, 1); r.value.raw = 0x7F; return build(r); }, -1},
        {"build: a boolean byte 0x7F in a list", [&] { auto r = record(VD_EVT_TYPE_BOOLEAN_LIST, 2); r.value.booleans = reinterpret_cast<bool*>(bytes); return build(r); }, -1},
        {"build: a NaN number", [&] { auto r = record(VD_EVT_TYPE_NUMBER, 1); r.value.number = kNaN; return build(r); }, -1},
        {"build: an infinite number", [&] { auto r = record(VD_EVT_TYPE_NUMBER, 1); r.value.number = kInf; return build(r); }, -1},
        {"build: a NaN in a number list", [&] { auto r = record(VD_EVT_TYPE_NUMBER_LIST, 2); r.value.numbers = numbers; return build(r); }, -1},
        {"build: a list of 0 items", [&] { auto r = record(VD_EVT_TYPE_INTEGER_LIST, 0); r.value.integers = integers; return build(r); }, -1},
        {"build: a list of -1 items", [&] { auto r = record(VD_EVT_TYPE_INTEGER_LIST, -1); r.value.integers = integers; return build(r); }, -1},
        {"build: a list of INT_MAX items", [&] { auto r = record(VD_EVT_TYPE_INTEGER_LIST, INT_MAX); r.value.integers = integers; return build(r); }, -1},
        {"build: a list without its block", [&] { return build(record(VD_EVT_TYPE_NUMBER_LIST, 2)); }, -1},
        {"build: a dead object", [&] { auto r = record(VD_EVT_TYPE_OBJECT, 1); r.value.tag = dead_; return build(r); }, -1},
        {"ask: null name", [&] { return VD_EVTWIZ_ask_EVT_Object(nullptr, &n, &read); }, -1},
        {"ask: null count", [&] { return VD_EVTWIZ_ask_EVT_Object("G", nullptr, &read); }, -1},
        {"ask: null records", [&] { return VD_EVTWIZ_ask_EVT_Object("G", &n, nullptr); }, -1},
        {"ask: no such rule", [&] { const int rc = VD_EVTWIZ_ask_EVT_Object("NO_SUCH_GROUP", &n, &read); EXPECT_EQ(read, nullptr); return rc; }, -1},
        {"free: null records", [&] { return VD_EVTWIZ_free_EVT_Object(3, nullptr); }, 0},
        {"free: INT_MAX records", [&] { return VD_EVTWIZ_free_EVT_Object(INT_MAX, two); }, -1},
        {"init: null record", [&] { return VD_EVTWIZ_init_EVT_Object(nullptr); }, 0},
        {"is null: null record", [&] { return VD_EVTWIZ_is_EVT_Object_null(nullptr) ? 1 : 0; }, 1},
        {"group: null name", [&] { return VD_EVTWIZ_is_group_available(nullptr) ? 1 : 0; }, 0},
        {"rq string: null text", [&] { const int rc = VD_EVT_convert_c_string_to_rq_string(nullptr, &rq); EXPECT_EQ(rq, nullptr); return rc; }, -1},
        {"rq string: null result", [&] { return VD_EVT_convert_c_string_to_rq_string("a\"b", nullptr); }, -1},
        {"rq string: empty text", [&] { rq = reinterpret_cast<char*>(&n); const int rc = VD_EVT_convert_c_string_to_rq_string("", &rq); EXPECT_EQ(rq, nullptr); return rc; }, -2},
    };
    support::expect_all_refused(cases);
    EXPECT_FALSE(VD_EVTWIZ_is_group_available("HOSTILE_GROUP")) << "no rule made";
    EXPECT_FALSE(VD_EVTWIZ_is_group_available("G"));

    // A string filling its 133 bytes without a terminator is written as the
    // 132 characters a record holds, alone and in a list.
    for (int type : {VD_EVT_TYPE_STRING, VD_EVT_TYPE_STRING_LIST}) {
        SCOPED_TRACE(type);
        auto r = record(type, type == VD_EVT_TYPE_STRING ? 1 : 2);
        if (type == VD_EVT_TYPE_STRING) r.value.string = unterminated;
        else r.value.strings = strings;
        ASSERT_EQ(VD_EVTWIZ_build_EVT_Object(&r, 1, "EVT_LONG"), 0);
        ASSERT_EQ(VD_EVTWIZ_ask_EVT_Object("EVT_LONG", &n, &read), 0);
        ASSERT_EQ(n, 1);
        const char* back = type == VD_EVT_TYPE_STRING ? read[0].value.string : read[0].value.strings[0];
        EXPECT_EQ(std::string(back), std::string(VD_EVT_STRING_SIZE - 1, 'S'));
        VD_EVTWIZ_free_EVT_Object(n, read);
        read = nullptr;
    }
    SM_free(unterminated);
    ExpectNoLeaks();
}

TEST_F(EnvelopeHostileInputTest, SpindleFilesClearanceAndAssemblyStepsRefuseWhatTheyCannotUse) {
    const std::string missing = path("missing.pts");
    const std::string zero = path("zero.pts");
    write_file(zero, "######\n1000, 790, 350, 1000, 790, 350\n1000, 790, 430, 1000, 790, 430\n");
    const std::string good = path("good.pts");
    write_file(good, "######\n1000, 790, 350, 1000, 690, 350\n1000, 790, 430, 1000, 690, 430\n");
    const std::string five = path("five.pts");
    write_file(five, "######\n1000, 790, 350, 1000, 690\n");
    bool header = true;
    long records = 7;
    int count = 7, n = 7;
    double** first = nullptr;
    double** second = nullptr;
    double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, nan_origin[3] = {0, kNaN, 0};
    tag_t array[4] = {0, 0, 0, 0};
    tag_t* tags = nullptr;
    tag_t* objects = nullptr;
    tag_t* expressions = nullptr;
    int n_expressions = 7;
    double values[1] = {2.5}, nan_values[1] = {kNaN};
    double placement[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    double nan_placement[4][4] = {{1, 0, 0, kNaN}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    tag_t instance = 0, component = 0;
    char name[VD_EVE_NAME_SIZE];
    char* components_text = nullptr;
    char* objects_text = nullptr;
    int n_components = 7, n_objects = 7;
    tag_t* components = nullptr;
    Korvath::Math::Point3 axes[3] = {{1, 0, 0}, {0, kNaN, 0}, {0, 0, 1}};
    double reference_matrix[9];
    for (double& v : reference_matrix) v = -7.0;
    double orientation[9], transform[12], to_absolute[16], to_sketch[16], limits[4];
    double** crossings = nullptr;
    tag_t sketch = 7;
    tag_t* free_tags = nullptr;
    int n_free = 7;
    const std::string long_instance(300, 'I');
    auto spindle = [&](const char* file) {
        const int rc = VD_EVTWIZ_read_spindle_file(file, 1, &count, &first, &second);
        EXPECT_EQ(first, nullptr);
        EXPECT_EQ(second, nullptr);
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"count: null path", [&] { return VD_EVT_count_spindle_pts(nullptr, &header, &records); }, -1},
        {"count: null header flag", [&] { return VD_EVT_count_spindle_pts(zero.c_str(), nullptr, &records); }, -1},
        {"count: null count", [&] { return VD_EVT_count_spindle_pts(zero.c_str(), &header, nullptr); }, -1},
        {"count: missing file", [&] { return VD_EVT_count_spindle_pts(missing.c_str(), &header, &records); }, -1},
        {"read: null path", [&] { return spindle(nullptr); }, -1},
        {"read: null count", [&] { return VD_EVTWIZ_read_spindle_file(zero.c_str(), 1, nullptr, &first, &second); }, -1},
        {"read: null first", [&] { return VD_EVTWIZ_read_spindle_file(zero.c_str(), 1, &count, nullptr, &second); }, -1},
        {"read: null second", [&] { return VD_EVTWIZ_read_spindle_file(zero.c_str(), 1, &count, &first, nullptr); }, -1},
        {"read: a record of five numbers", [&] { return spindle(five.c_str()); }, -2},
        {"store: null path", [&] { return VD_EVT_store_data_file_into_rq(nullptr, "Root:", 0); }, -1},
        {"store: null owner", [&] { return VD_EVT_store_data_file_into_rq(zero.c_str(), nullptr, 0); }, -1},
        {"store: kind 2", [&] { return VD_EVT_store_data_file_into_rq(zero.c_str(), "Root:", 2); }, -1},
        {"store: kind -1", [&] { return VD_EVT_store_data_file_into_rq(zero.c_str(), "Root:", -1); }, -1},
        {"store: missing file", [&] { return VD_EVT_store_data_file_into_rq(missing.c_str(), "Root:", 0); }, -1},
        {"configurations: null path", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, nullptr, origin, matrix); }, -1},
        {"configurations: null origin", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, zero.c_str(), nullptr, matrix); }, -1},
        {"configurations: null matrix", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, zero.c_str(), origin, nullptr); }, -1},
        {"configurations: NaN origin", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, zero.c_str(), nan_origin, matrix); }, -1},
        {"configurations: missing file", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, missing.c_str(), origin, matrix); }, -1},
        {"configurations: five numbers", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, five.c_str(), origin, matrix); }, -2},
        {"configurations: a zero-length spindle", [&] { return VD_EVTWIZ_build_clear_configurations(dataset_, zero.c_str(), origin, matrix); }, HM_ERR_BAD_ARGUMENT},
        {"configurations: a dead data set", [&] { return VD_EVTWIZ_build_clear_configurations(dead_, good.c_str(), origin, matrix); }, HM_ERR_INVALID_TAG},
        {"configurations: a body for a data set", [&] { return VD_EVTWIZ_build_clear_configurations(box_, good.c_str(), origin, matrix); }, HM_ERR_INVALID_TAG},
        {"zones: a dead data set", [&] { return VD_EVTWIZ_add_objs_zone(dead_, 1, &box_, &box_); }, HM_ERR_INVALID_TAG},
        {"roll list: a dead data set", [&] { return VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(dead_, 1, 1, &box_); }, HM_ERR_INVALID_TAG},
        {"XY plane: dead tag", [&] { return VD_EVT_check_curve_in_XOY_plane(dead_); }, HM_ERR_INVALID_TAG},
        {"XY plane: a body", [&] { return VD_EVT_check_curve_in_XOY_plane(box_); }, HM_ERR_WRONG_TYPE},
        {"Y axis: dead tag", [&] { int c = 7; const int rc = VD_EVT_check_curve_intersect_Y_axis(dead_, &c, &crossings); EXPECT_EQ(c, 0); return rc; }, HM_ERR_INVALID_TAG},
        {"sketch matrices: a body", [&] { return VD_EVT_ask_sketch_matrix_information(box_, orientation, transform, to_absolute, to_sketch); }, HM_ERR_WRONG_TYPE},
        {"joint limits: dead tag", [&] { return VD_EVT_ask_joint_limits_from_sketch(dead_, limits); }, HM_ERR_INVALID_TAG},
        {"begins on Y axis: dead tag", [&] { return VD_EVT_check_curve_begin_Y_axis(dead_); }, HM_ERR_INVALID_TAG},
        {"zones: null zones", [&] { return VD_EVTWIZ_add_objs_zone(dataset_, 1, nullptr, &box_); }, -1},
        {"zones: INT_MAX objects", [&] { return VD_EVTWIZ_add_objs_zone(dataset_, INT_MAX, &box_, &box_); }, -1},
        {"objects of: null count", [&] { return VD_EVTWIZ_ask_objs_tag_of_component(box_, nullptr, &tags); }, -1},
        {"objects of: null tags", [&] { return VD_EVTWIZ_ask_objs_tag_of_component(box_, &n, nullptr); }, -1},
        {"objects of: dead tag", [&] { const int rc = VD_EVTWIZ_ask_objs_tag_of_component(dead_, &n, &tags); EXPECT_EQ(tags, nullptr); return rc; }, -1},
        {"objects of: a point", [&] { return VD_EVTWIZ_ask_objs_tag_of_component(point_, &n, &tags); }, -1},
        {"subtree: null count", [&] { return VD_EVTWIZ_ask_child_part_tags(box_, nullptr, array); }, -1},
        {"subtree: null array", [&] { int c = 0; return VD_EVTWIZ_ask_child_part_tags(box_, &c, nullptr); }, -1},
        {"subtree: count -1", [&] { int c = -1; return VD_EVTWIZ_ask_child_part_tags(box_, &c, array); }, -1},
        {"subtree: count INT_MAX", [&] { int c = INT_MAX; return VD_EVTWIZ_ask_child_part_tags(box_, &c, array); }, -1},
        {"add component: null placement", [&] { return VD_EVTWIZ_add_component_to_assy(part_, "/parts/none.prt", "", "X", nullptr, &instance); }, -1},
        {"add component: NaN placement", [&] { return VD_EVTWIZ_add_component_to_assy(part_, "/parts/none.prt", "", "X", nan_placement, &instance); }, -1},
        {"add part: NaN placement", [&] { return VD_EVEWIZ_add_part_to_assy(part_, "/parts/none.prt", "", "X", nan_placement, &instance); }, -1},
        {"clearance lists: null objects", [&] { return VD_EVT_ask_clr_list_objs(0, values, 0, nullptr, 0, nullptr, &n, nullptr, &n_expressions, &expressions); }, -1},
        {"clearance lists: -1 extras", [&] { return VD_EVT_ask_clr_list_objs(0, values, -1, &box_, 0, nullptr, &n, &objects, &n_expressions, &expressions); }, -1},
        {"clearance lists: INT_MAX components", [&] { return VD_EVT_ask_clr_list_objs(0, values, 0, nullptr, INT_MAX, &box_, &n, &objects, &n_expressions, &expressions); }, -1},
        {"clearance lists: a NaN value", [&] { return VD_EVT_ask_clr_list_objs(0, nan_values, 0, nullptr, 1, &box_, &n, &objects, &n_expressions, &expressions); }, -1},
        {"load fully: null occurrences", [&] { return VD_EVT_load_fixing_components_fully(nullptr, 2); }, -1},
        {"load fully: -1 occurrences", [&] { return VD_EVT_load_fixing_components_fully(array, -1); }, -1},
        {"load fully: INT_MAX occurrences", [&] { return VD_EVT_load_fixing_components_fully(array, INT_MAX); }, -1},
        {"roll list: null objects", [&] { return VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(dataset_, 1, 2, nullptr); }, -1},
        {"roll list: INT_MAX objects", [&] { return VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(dataset_, 1, INT_MAX, array); }, -1},
        {"roll copy: null moving", [&] { return VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(part_, dataset_, nullptr, 1); }, -1},
        {"roll copy: INT_MAX moving", [&] { return VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(part_, dataset_, array, INT_MAX); }, -1},
        {"object of component: null out", [&] { return VD_EVEWIZ_ask_obj_tag_of_component(box_, nullptr); }, -1},
        {"object of component: dead tag", [&] { tag_t o = 9; const int rc = VD_EVEWIZ_ask_obj_tag_of_component(dead_, &o); EXPECT_EQ(o, 0u); return rc; }, -1},
        {"component of object: null outputs", [&] { return VD_EVEWIZ_ask_comp_tag_name_of_obj(box_, nullptr, nullptr); }, -1},
        {"component of object: dead tag", [&] { return VD_EVEWIZ_ask_comp_tag_name_of_obj(dead_, &component, name); }, -1},
        {"reposition: csys 0", [&] { return VD_EVEWIZ_reposition_csys_to_csys(0, 0, 1, &box_, 1, 1, array); }, -1},
        {"reposition: INT_MAX objects", [&] { return VD_EVEWIZ_reposition_csys_to_csys(box_, box_, INT_MAX, &box_, 1, 1, array); }, -1},
        {"reposition: null copies", [&] { return VD_EVEWIZ_reposition_csys_to_csys(box_, box_, 1, &box_, 2, 1, nullptr); }, -1},
        {"reference csys: null axes", [&] { return VD_EVEWIZ_create_reference_csys(nullptr, reference_matrix); }, -1},
        {"reference csys: a NaN axis", [&] { return VD_EVEWIZ_create_reference_csys(axes, reference_matrix); }, -1},
        {"wizard subtree: null count", [&] { return VD_EVEWIZ_ask_child_part_tags(box_, nullptr, &tags); }, -1},
        {"wizard subtree: a body", [&] { int c = 0; return VD_EVEWIZ_ask_child_part_tags(box_, &c, &tags); }, -1},
        {"chain: -1 tags", [&] { return VD_EVEWIZ_generate_envelope_obj_chain(-1, &box_, &components_text, &objects_text); }, -1},
        {"chain: INT_MAX tags", [&] { return VD_EVEWIZ_generate_envelope_obj_chain(INT_MAX, &box_, &components_text, &objects_text); }, -1},
        {"chain: null texts", [&] { return VD_EVEWIZ_generate_envelope_obj_chain(1, &box_, nullptr, &objects_text); }, -1},
        {"study tags: INT_MAX tags", [&] { return VD_EVEWIZ_get_eveobj_tags(INT_MAX, &box_, &n_components, &components, &n_objects, &objects); }, -1},
        {"study tags: null tags", [&] { return VD_EVEWIZ_get_eveobj_tags(2, nullptr, &n_components, &components, &n_objects, &objects); }, -1},
        {"find data set: null name", [&] { return static_cast<int>(VD_EVEWIZ_find_dataset(nullptr)); }, 0},
        {"view and static position: dead tags", [&] { VD_EVEWIZ_adjust_view(dead_); VD_EVEWIZ_recover_static_position(dead_); return 0; }, 0},
        {"in sketch: tag 0", [&] { const bool in = VD_EVT_is_curve_in_sketch(0, &sketch); EXPECT_EQ(sketch, 0u); return in ? 1 : 0; }, 0},
        {"in sketch: null sketch", [&] { return VD_EVT_is_curve_in_sketch(box_, nullptr) ? 1 : 0; }, 0},
        {"XY plane: tag 0", [&] { return VD_EVT_check_curve_in_XOY_plane(0); }, -1},
        {"Y axis: null count", [&] { return VD_EVT_check_curve_intersect_Y_axis(point_, nullptr, &crossings); }, -1},
        {"Y axis: null points", [&] { return VD_EVT_check_curve_intersect_Y_axis(point_, &n, nullptr); }, -1},
        {"begins on Y axis: tag 0", [&] { return VD_EVT_check_curve_begin_Y_axis(0); }, -1},
        {"sketch matrices: tag 0", [&] { return VD_EVT_ask_sketch_matrix_information(0, orientation, transform, to_absolute, to_sketch); }, -1},
        {"sketch matrices: null orientation", [&] { return VD_EVT_ask_sketch_matrix_information(box_, nullptr, transform, to_absolute, to_sketch); }, -1},
        {"joint limits: tag 0", [&] { return VD_EVT_ask_joint_limits_from_sketch(0, limits); }, -1},
        {"joint limits: null limits", [&] { return VD_EVT_ask_joint_limits_from_sketch(box_, nullptr); }, -1},
        {"used geometry: null output", [&] { return VD_EVT_check_geometry_used_by_rules(nullptr, &box_, 1, nullptr, &n_free); }, -1},
        {"used geometry: -1 tags", [&] { return VD_EVT_check_geometry_used_by_rules(nullptr, &box_, -1, &free_tags, &n_free); }, -1},
        {"used geometry: INT_MAX tags", [&] { return VD_EVT_check_geometry_used_by_rules(nullptr, &box_, INT_MAX, &free_tags, &n_free); }, -1},
        {"used geometry: a 300-character instance", [&] { return VD_EVT_check_geometry_used_by_rules(long_instance.c_str(), &box_, 1, &free_tags, &n_free); }, -1},
    };
    ExpectAllRefused(cases);
    for (double v : reference_matrix) EXPECT_EQ(v, -7.0) << "matrix written on failure";
    EXPECT_EQ(array[0], 0u) << "nothing written into the caller's array";
    EXPECT_EQ(host_testing::open_text_files(), 0);
}

}  // namespace
