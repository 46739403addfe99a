// Hostile input to the stone-impingement exports: null records, outputs and
// lists, counts of 0, -1 and INT_MAX and counts raised past the arrays a
// record holds, numbers that are not finite, tag 0, deleted and wrong-kind
// tags, a tire of no width. Every case answers its refusal, builds nothing,
// deletes nothing of the caller's and leaves no block of the memory manager
// behind (checked after the table and on tear-down); the process survives.
#include "stone_fixtures.h"

#include "hostile_input.h"
#include "si_internal.h"

#include "hm_vd.h"
#include "morvish.h"
#include "quillon.h"

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

class StoneHostileInputTest : public StoneTest {
protected:
    // A floor behind the wheel, a line over the tread (no face) and a deleted line.
    void SetUp() override {
        StoneTest::SetUp();
        face_ = horizontal_face(200, 400, 2500, 500, 1000);
        line_ = host_testing::make_line({500, 700, 200}, {600, 800, 200});
        gone_ = host_testing::make_line({1, 1, 1}, {2, 2, 2});
        HM_OBJ_delete_object(gone_);
    }
    tag_t face_ = 0, line_ = 0, gone_ = 0;
    // The table's calls leave the memory manager as they found it (the
    // fixture's record and the test's own lists stay).
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        const size_t blocks = host_testing::live_allocations();
        support::expect_all_refused(cases);
        EXPECT_EQ(host_testing::live_allocations(), blocks) << "a refused call left blocks behind";
        ExpectNoBadFrees();
    }
    // A record of one face ready to run, spoilt by `spoil`, run, and freed:
    // the run's answer.
    int run_spoilt(tag_t face, const std::function<void(si_data_s&)>& spoil) {
        auto rec = std::make_unique<si_data_s>();
        if (HM_VD_SI_initialize_data(rec.get(), 1, 0) != 0) return 999;
        fill_tire(*rec);
        rec->face_tags[0] = face;
        rec->contour_angle_input[0] = rec->contour_angle_input[1] = rec->contour_angle_input[2] = 10;
        spoil(*rec);
        const int status = HM_VD_SI_main(rec.get());
        HM_VD_SI_delete_geometry(rec.get());
        HM_VD_SI_free_data(rec.get());
        UPDATE_do_update();   // what the tire model logged for deletion goes
        return status;
    }
};

}  // namespace

TEST_F(StoneHostileInputTest, TheRecordAndTheRunRefuseCountsBeyondTheirArraysAndNumbersThatAreNotFinite) {
    const tag_t face = face_, line = line_, gone = gone_;
    auto fresh = std::make_unique<si_data_s>();
    si_data_s* r = fresh.get();
    const std::vector<Hostile> cases = {
        {"initialise: null record", [&] { return HM_VD_SI_initialize_data(nullptr, 1, 0); }, -1},
        {"initialise: face count 0", [&] { return HM_VD_SI_initialize_data(r, 0, 0); }, -1},
        {"initialise: face count -1", [&] { return HM_VD_SI_initialize_data(r, -1, 0); }, -1},
        {"initialise: face count INT_MAX", [&] { return HM_VD_SI_initialize_data(r, INT_MAX, 0); }, -1},
        {"initialise: face count past the limit",
         [&] { return HM_VD_SI_initialize_data(r, SI_MAX_FACES + 1, 0); }, -1},
        {"initialise: blocking count -1", [&] { return HM_VD_SI_initialize_data(r, 1, -1); }, -1},
        {"initialise: blocking count INT_MAX", [&] { return HM_VD_SI_initialize_data(r, 1, INT_MAX); }, -2},
        {"run: null record", [&] { return HM_VD_SI_main(nullptr); }, -1},
        {"run: record never initialised",
         [&] {
             auto zero = std::make_unique<si_data_s>();
             return HM_VD_SI_main(zero.get());
         },
         -1},
        {"run: face count raised past its arrays", [&] { return run_spoilt(face, [](si_data_s& s) { s.face_count = 2; }); }, -1},
        {"run: face count INT_MAX", [&] { return run_spoilt(face, [](si_data_s& s) { s.face_count = INT_MAX; }); }, -1},
        {"run: face count -1", [&] { return run_spoilt(face, [](si_data_s& s) { s.face_count = -1; }); }, -1},
        {"run: blocking count INT_MAX",
         [&] { return run_spoilt(face, [](si_data_s& s) { s.blocking_count = INT_MAX; }); }, -1},
        {"run: colour count -3 over a table (the table freed with the record)",
         [&] {
             return run_spoilt(face, [](si_data_s& s) {
                 s.colour_count = -3;
                 s.colour_table = static_cast<int*>(SM_alloc(3 * sizeof(int)));
             });
         },
         -1},
        {"run: colour count past its table",
         [&] {
             return run_spoilt(face, [](si_data_s& s) {
                 s.options[SI_OPT_COLOUR_TABLE] = 1;
                 s.colour_count = 5;
                 s.colour_table = static_cast<int*>(SM_calloc(2, sizeof(int)));
             });
         },
         -1},
        {"run: colour count INT_MAX without a table",
         [&] { return run_spoilt(face, [](si_data_s& s) { s.colour_count = INT_MAX; }); }, -1},
        {"run: NaN angle threshold",
         [&] {
             return run_spoilt(face, [](si_data_s& s) {
                 s.options[SI_OPT_THRESHOLD_CURVES] = 1;
                 s.angle_threshold = kNaN;
             });
         },
         -1},
        {"run: infinite x limit", [&] { return run_spoilt(face, [](si_data_s& s) { s.x_limit = -kInf; }); }, -1},
        {"run: NaN contour-angle input",
         [&] { return run_spoilt(face, [](si_data_s& s) { s.contour_angle_input[2] = kNaN; }); }, -1},
        {"run: NaN tire diameter", [&] { return run_spoilt(face, [](si_data_s& s) { s.tire_diameter = kNaN; }); }, 110},
        {"run: infinite tread width", [&] { return run_spoilt(face, [](si_data_s& s) { s.tread_width = kInf; }); }, 110},
        {"run: a tire of no width", [&] { return run_spoilt(face, [](si_data_s& s) { s.tread_width = 0.0; }); }, 110},
        {"run: a launch offset of 1e300", [&] { return run_spoilt(face, [](si_data_s& s) { s.launch_offset = 1e300; }); },
         103},
        {"run: NaN wheel centre", [&] { return run_spoilt(face, [](si_data_s& s) { s.wheel_centre[2] = kNaN; }); }, 102},
        {"run: a deleted face", [&] { return run_spoilt(gone, [](si_data_s&) {}); }, SI_FACE_BOX_FAILED},
        {"run: a line for a face", [&] { return run_spoilt(line, [](si_data_s&) {}); }, SI_FACE_PROPS_FAILED},
        {"delete geometry: null record", [&] { return HM_VD_SI_delete_geometry(nullptr); }, -1},
        {"free: null record", [&] { return HM_VD_SI_free_data(nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(r->face_tags, nullptr) << "a refused initialise allocates nothing";
    EXPECT_EQ(HM_OBJ_ask_status(face), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);

    // A face count raised past the arrays after a run: the delete and free
    // steps read no further than the arrays hold.
    rec_->face_tags[0] = face;
    rec_->contour_angle_input[0] = rec_->contour_angle_input[1] = rec_->contour_angle_input[2] = 10;
    ASSERT_EQ(HM_VD_SI_main(rec_.get()), 0);
    rec_->face_count = 1000;
    EXPECT_EQ(HM_VD_SI_delete_geometry(rec_.get()), 0);
    EXPECT_EQ(HM_VD_SI_free_data(rec_.get()), 0);
}

TEST_F(StoneHostileInputTest, TheSteppingExportsRefuseWhatNoRunWouldPassThem) {
    const tag_t face = face_, line = line_, gone = gone_;
    auto m = std::make_unique<TireModel>();
    ASSERT_EQ(HM_VD_SI_gen_tire_data(rec_.get(), m->centre, m->directions, &m->step, m->points, &m->plane), 0);
    HM_OBJ_delete_object(m->plane);
    UPDATE_do_update();   // the tire model's matrix goes
    const double o[3] = {0, 0, 0}, id[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, 0, kInf}, zero3[3] = {0, 0, 0}, up[3] = {0, 0, 1};
    const double nan_matrix[9] = {1, 0, 0, 0, kNaN, 0, 0, 0, 1};
    double out[3] = {-7, -7, -7};
    bool left = true;
    int count = -5, state = 0;
    static double out_points[SI_STONE_COUNT][3], out_angles[SI_STONE_COUNT];
    std::vector<int> blocking_counts(SI_MAX_BLOCKING, 0);
    auto blocking_points = std::make_unique<double[][SI_SECTION_COUNT][3]>(1);
    double section[SI_STONE_COUNT][3], nan_section[SI_STONE_COUNT][3];
    std::memcpy(section, m->points[45], sizeof section);
    std::memcpy(nan_section, m->points[45], sizeof nan_section);
    nan_section[17][1] = kNaN;
    auto throw_section = [&](double (*points)[3], const double* d, tag_t target) {
        return HM_VD_SI_gen_stone_paths(rec_.get(), 0, 0, 0, 49, points, d, target, -1, &count, out_points,
                                        out_angles, &state, blocking_counts.data(), blocking_points.get());
    };
    tag_t plane = 0;
    double step = 0;
    auto tire_with = [&](const std::function<void(si_data_s&)>& spoil) {
        si_data_s& s = *rec_;
        spoil(s);
        const int status = HM_VD_SI_gen_tire_data(&s, m->centre, m->directions, &step, m->points, &plane);
        fill_tire(s);
        return status;
    };
    const std::vector<Hostile> cases = {
        {"side: tag 0", [&] { return HM_VD_SI_is_data_on_left(0, o, id, &left); }, -1},
        {"side: null output", [&] { return HM_VD_SI_is_data_on_left(face, o, id, nullptr); }, -1},
        {"side: null origin", [&] { return HM_VD_SI_is_data_on_left(face, nullptr, id, &left); }, -1},
        {"side: deleted object", [&] { return HM_VD_SI_is_data_on_left(gone, o, id, &left); }, HM_ERR_INVALID_TAG},
        {"side: NaN origin", [&] { return HM_VD_SI_is_data_on_left(face, nan3, id, &left); }, HM_ERR_BAD_ARGUMENT},
        {"side: NaN matrix", [&] { return HM_VD_SI_is_data_on_left(face, o, nan_matrix, &left); }, HM_ERR_BAD_ARGUMENT},
        {"tire: null record", [&] { return HM_VD_SI_gen_tire_data(nullptr, m->centre, m->directions, &step, m->points, &plane); }, -1},
        {"tire: null plane", [&] { return HM_VD_SI_gen_tire_data(rec_.get(), m->centre, m->directions, &step, m->points, nullptr); }, -1},
        {"tire: NaN diameter", [&] { return tire_with([](si_data_s& s) { s.tire_diameter = kNaN; }); }, 110},
        {"tire: negative width", [&] { return tire_with([](si_data_s& s) { s.tread_width = -1; }); }, 110},
        {"tire: infinite launch height", [&] { return tire_with([](si_data_s& s) { s.launch_height = kInf; }); }, 110},
        {"stones: null record", [&] { return HM_VD_SI_gen_stone_paths(nullptr, 0, 0, 0, 49, section, up, face, -1, &count, out_points, out_angles, &state, blocking_counts.data(), blocking_points.get()); }, -1},
        {"stones: NaN direction", [&] { return throw_section(section, nan3, face); }, -1},
        {"stones: infinite direction", [&] { return throw_section(section, inf3, face); }, -1},
        {"stones: a NaN start point", [&] { return throw_section(nan_section, m->directions[45], face); }, -1},
        {"stones: a deleted face", [&] { return throw_section(section, m->directions[45], gone); }, -1},
        {"stones: a line for a face", [&] { return throw_section(section, m->directions[45], line); }, -1},
        {"point projection: null output", [&] { return HM_VD_SI_project_point_along_vector(o, up, face, nullptr); }, -1},
        {"point projection: zero direction", [&] { return HM_VD_SI_project_point_along_vector(o, zero3, face, out); }, -1},
        {"point projection: NaN direction", [&] { return HM_VD_SI_project_point_along_vector(o, nan3, face, out); }, -1},
        {"point projection: NaN point", [&] { return HM_VD_SI_project_point_along_vector(nan3, up, face, out); }, -1},
        {"point projection: deleted target", [&] { return HM_VD_SI_project_point_along_vector(o, up, gone, out); }, HM_ERR_WRONG_OBJECT},
        {"point projection: a line for a target", [&] { return HM_VD_SI_project_point_along_vector(o, up, line, out); }, HM_ERR_WRONG_OBJECT},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(count, 0) << "a refused section lands no stone";
    for (double v : out) EXPECT_EQ(v, -7.0) << "a refused projection writes no point";
    EXPECT_EQ(HM_OBJ_ask_status(face), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
}

TEST_F(StoneHostileInputTest, TheContourAndUtilityExportsRefuseCountsAndNumbersOutsideTheirArrays) {
    const tag_t face = face_, line = line_, gone = gone_;
    HM_OBJ_set_name(line, "20");
    // Stones of two sections, rising across the tread.
    struct Stones {
        int counts[SI_SECTION_COUNT] = {};
        double points[SI_SECTION_COUNT][SI_STONE_COUNT][3] = {};
        double angles[SI_SECTION_COUNT][SI_STONE_COUNT] = {};
    };
    auto st = std::make_unique<Stones>();
    for (int r = 10; r <= 11; ++r) {
        st->counts[r] = SI_STONE_COUNT;
        for (int j = 0; j < SI_STONE_COUNT; ++j) {
            st->points[r][j][0] = 1000 + 10.0 * r;
            st->points[r][j][1] = 600 + 4.0 * j;
            st->points[r][j][2] = 200;
            st->angles[r][j] = j;
        }
    }
    double contour_angles[2] = {10.5, 20.5}, nan_angles[2] = {10.5, kNaN};
    hm_list_p_t contours = nullptr, labels = nullptr;
    HM_MODL_create_list(&labels);
    bool single = false;
    si_contour_record* records = nullptr;
    int record_count = 0;
    auto contours_of = [&](const double* angles) {
        const int status = HM_VD_SI_gen_contours(face, false, 0, nullptr, st->counts, st->points, st->angles, angles,
                                                 2, 42, &contours, &labels, &single, &records, &record_count);
        EXPECT_EQ(contours, nullptr) << "a refused call makes no list";
        EXPECT_EQ(record_count, 0);
        return status;
    };
    auto with_counts = [&](int r, int n) {
        const int kept = st->counts[r];
        st->counts[r] = n;
        const int status = contours_of(contour_angles);
        st->counts[r] = kept;
        return status;
    };
    auto with_angle = [&](int r, int j, double a) {
        const double kept = st->angles[r][j];
        st->angles[r][j] = a;
        const int status = contours_of(contour_angles);
        st->angles[r][j] = kept;
        return status;
    };
    double two[2][3] = {{0, 0, 0}, {100, 0, 0}}, nan_two[2][3] = {{0, 0, 0}, {kNaN, 0, 0}},
           same[2][3] = {{5, 5, 5}, {5, 5, 5}};
    tag_t curve = 77;
    const double range[2] = {0, 90}, nan_range[2] = {kNaN, 90};
    int angle = -5, n = -5;
    double** points = nullptr;
    int* counts = nullptr;
    double*** areas = nullptr;
    const int sizes[1] = {1}, negative[1] = {-1};
    hm_list_p_t one = support::make_list({line});
    hm_list_p_t sub = nullptr;
    auto sublist = [&](hm_list_p_t list, int groups, const int* s, int index) {
        HM_VD_SI_ask_sublist(list, groups, s, index, &sub);
        return sub ? 1 : 0;
    };
    const std::vector<Hostile> cases = {
        {"contours: null record output",
         [&] { return HM_VD_SI_gen_contours(face, false, 0, nullptr, st->counts, st->points, st->angles, contour_angles, 2, 42, &contours, &labels, &single, nullptr, &record_count); }, -1},
        {"contours: a section count of 51", [&] { return with_counts(10, SI_STONE_COUNT + 1); }, -1},
        {"contours: a section count of INT_MAX", [&] { return with_counts(11, INT_MAX); }, -1},
        {"contours: a section count of -1", [&] { return with_counts(10, -1); }, -1},
        {"contours: a NaN stone angle", [&] { return with_angle(10, 3, kNaN); }, -1},
        {"contours: an infinite stone angle", [&] { return with_angle(11, 49, kInf); }, -1},
        {"contours: a NaN contour angle", [&] { return contours_of(nan_angles); }, -1},
        {"linear curve: null output", [&] { return VD_CURVE_create_linear(two, 2, 1, nullptr); }, -1},
        {"linear curve: null points", [&] { return VD_CURVE_create_linear(nullptr, 2, 1, &curve); }, -1},
        {"linear curve: count 0", [&] { return VD_CURVE_create_linear(two, 0, 1, &curve); }, -1},
        {"linear curve: count -1", [&] { return VD_CURVE_create_linear(two, -1, 1, &curve); }, -1},
        {"linear curve: count INT_MAX", [&] { return VD_CURVE_create_linear(two, INT_MAX, 1, &curve); }, -1},
        {"linear curve: a NaN point", [&] { return VD_CURVE_create_linear(nan_two, 2, 1, &curve); }, HM_ERR_BAD_ARGUMENT},
        {"linear curve: coincident points", [&] { return VD_CURVE_create_linear(same, 2, 1, &curve); }, HM_ERR_BAD_ARGUMENT},
        {"contour angle: tag 0", [&] { return HM_VD_SI_ask_angle_of_contour_line(0, range, &angle); }, -1},
        {"contour angle: deleted curve", [&] { return HM_VD_SI_ask_angle_of_contour_line(gone, range, &angle); }, -1},
        {"contour angle: null range", [&] { return HM_VD_SI_ask_angle_of_contour_line(line, nullptr, &angle); }, -1},
        {"contour angle: NaN range", [&] { return HM_VD_SI_ask_angle_of_contour_line(line, nan_range, &angle); }, -1},
        {"grid: tag 0", [&] { return HM_VD_SI_set_grid(0, 6, 12); }, -1},
        {"grid: deleted object", [&] { return HM_VD_SI_set_grid(gone, 6, 12); }, -1},
        {"grid: a line", [&] { return HM_VD_SI_set_grid(line, 6, 12); }, -2},
        {"grid: count -1", [&] { return HM_VD_SI_set_grid(face, -1, 12); }, HM_ERR_BAD_ARGUMENT},
        {"grid: count INT_MAX", [&] { return HM_VD_SI_set_grid(face, 6, INT_MAX); }, HM_ERR_BAD_ARGUMENT},
        {"disperse: null output", [&] { return HM_VD_SI_disperse_curve(line, false, 5, nullptr); }, -1},
        {"disperse: count 2", [&] { return HM_VD_SI_disperse_curve(line, false, 2, &points); }, -1},
        {"disperse: count 0", [&] { return HM_VD_SI_disperse_curve(line, false, 0, &points); }, -1},
        {"disperse: count -1", [&] { return HM_VD_SI_disperse_curve(line, false, -1, &points); }, -1},
        {"disperse: count INT_MAX", [&] { return HM_VD_SI_disperse_curve(line, false, INT_MAX, &points); }, -1},
        {"disperse: count 5e7", [&] { return HM_VD_SI_disperse_curve(line, true, 50000000, &points); }, -1},
        {"disperse: deleted curve", [&] { return HM_VD_SI_disperse_curve(gone, false, 5, &points); }, -1},
        {"disperse: a face", [&] { return HM_VD_SI_disperse_curve(face, false, 5, &points); }, -1},
        {"spline points: null output", [&] { return HM_VD_SI_ask_spline_thru_point_data(line, nullptr, &points); }, -1},
        {"spline points: deleted curve", [&] { return HM_VD_SI_ask_spline_thru_point_data(gone, &n, &points); }, HM_ERR_INVALID_TAG},
        {"spline points: a line", [&] { return HM_VD_SI_ask_spline_thru_point_data(line, &n, &points); }, HM_ERR_NOT_FOUND},
        {"sublist: null output", [&] { HM_VD_SI_ask_sublist(one, 1, sizes, 0, nullptr); return 0; }, 0},
        {"sublist: index -1", [&] { return sublist(one, 1, sizes, -1); }, 0},
        {"sublist: index past the groups", [&] { return sublist(one, 1, sizes, 1); }, 0},
        {"sublist: INT_MAX groups over one size", [&] { return sublist(one, INT_MAX, sizes, 7); }, 0},
        {"sublist: a negative size", [&] { return sublist(one, 1, negative, 0); }, 0},
        {"sublist: null sizes", [&] { return sublist(one, 1, nullptr, 0); }, 0},
        {"interval points: null output", [&] { return HM_VD_SI_ask_points_of_interval_area(one, &n, &counts, nullptr); }, -1},
        {"interval points: null count", [&] { return HM_VD_SI_ask_points_of_interval_area(one, nullptr, &counts, &areas); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(curve, 0u) << "a refused curve is 0";
    EXPECT_EQ(points, nullptr);
    EXPECT_EQ(angle, -5);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
    EXPECT_EQ(host_testing::grid_counts(face), (std::array<int, 2>{0, 0})) << "a refused grid leaves the face";
    HM_MODL_delete_list(&one);
    HM_MODL_delete_list(&labels);
}
