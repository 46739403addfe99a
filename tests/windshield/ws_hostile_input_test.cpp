// Hostile input to the windshield exports: null records, arrays and
// outputs, counts of 0, -1, INT_MAX and counts whose arrays could not be
// allocated, numbers that are NaN, infinite or 1e300, deleted and wrong-kind
// tags, and degenerate geometry (a face of no area, a plane without a
// normal, an arm of no length). Every case answers its refusal, builds and
// deletes nothing and leaves no block of the memory manager behind (the
// fixture's tear-down); the process survives and no case takes long.
#include "ws_fixtures.h"

#include "hostile_input.h"
#include "quillon.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

constexpr double kHuge = 1e300;
// A count of faces or curves whose identifiers would not fit in one block.
constexpr int kCountBeyondBlock = 1 << 29;

class WsHostileInputTest : public WindshieldTest {
protected:
    void SetUp() override {
        WindshieldTest::SetUp();
        // The upright glass x = 0, 2000 wide and 1000 high, facing forward.
        const double corner[3] = {0, -1000, 0}, u[3] = {0, 2000, 0}, v[3] = {0, 0, 1000};
        sheet_ = host_testing::make_planar_sheet(corner, u, v);
        face_ = support::faces_of(sheet_)[0];
        line_ = support::new_line(0, -10, 500, 0, 10, 500);
        dead_ = support::new_line(0, 0, 1, 0, 1, 1);
        HM_OBJ_delete_object(dead_);
        frame_ = identity_frame();
    }

    // A record that runs: the glass, no dark band, no offset, the eye in
    // front of the glass, nothing else asked; `change` spoils one field.
    template <typename Change>
    ws_data_t record(Change change) {
        ws_data_t data;
        HM_VD_WS_init_windshield_data(&data);
        data.vehicle_frame = &frame_;
        data.face_count = 1;
        data.faces = faces_ = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
        data.faces[0] = face_;
        const double eye[3] = {500, -300, 400};
        std::memcpy(data.eye_point, eye, sizeof eye);
        data.wiper_mode = 2;
        for (int k = 0; k < 2; ++k) {
            const double pivot[3] = {0, k == 0 ? -300.0 : 300.0, 100};
            std::memcpy(data.pivot[k], pivot, sizeof pivot);
            data.arm_length[k] = 500;
            data.blade_length[k] = 200;
            data.arm_angle[k] = 90;
            data.sweep_angle[k] = 90;
        }
        for (int p = 0; p < 4; ++p) data.zone_planes[0].zone_normals[p][p % 3] = 1.0;
        change(data);
        return data;
    }

    // Runs the record and answers the status `which` picks; the record is
    // released (the faces freed unless the case took them away).
    template <typename Change, typename Which>
    int run(Change change, Which which) {
        ws_data_t data = record(change);
        HM_VD_WS_create_windshield_data(&data);
        const int status = which(data);
        if (data.faces != faces_) SM_free(faces_);
        HM_VD_WS_release_windshield_data(&data);
        return status;
    }
    template <typename Change>
    int offset_status(Change change) {
        return run(change, [](const ws_data_t& d) { return d.offset_result.status; });
    }

    // Objects a run of the record leaves in the part, after the update.
    template <typename Change>
    int objects_left(Change change, int* status) {
        const int before = host_testing::count_objects();
        ws_data_t data = record(change);
        HM_VD_WS_create_windshield_data(&data);
        *status = data.wiped_result.status != 0 ? data.wiped_result.status : data.zone_result[0].status;
        HM_VD_WS_release_windshield_data(&data);
        UPDATE_do_update();
        return host_testing::count_objects() - before;
    }

    tag_t sheet_ = 0, face_ = 0, line_ = 0, dead_ = 0;
    MTX4_t frame_{}, spoilt_{};
    tag_t* faces_ = nullptr;   // the faces of the last record made
};

TEST_F(WsHostileInputTest, TheRunRefusesARecordItCannotUseBeforeBuildingAnything) {
    tag_t wrong_kind = 0;
    const tag_t band[1] = {0};
    std::vector<tag_t> dead_band = {dead_};
    auto frame_value = [&](double v) {
        spoilt_ = identity_frame();
        spoilt_.m[5] = v;
        return offset_status([&](ws_data_t& d) { d.vehicle_frame = &spoilt_; });
    };
    auto faces = [&](int count) { return offset_status([count](ws_data_t& d) { d.face_count = count; }); };
    auto face = [&](tag_t f) { return offset_status([f](ws_data_t& d) { d.faces[0] = f; }); };
    auto dark_band = [&](int count, const tag_t* curves) {
        return offset_status([count, curves](ws_data_t& d) {
            d.dark_band_count = count;
            d.dark_band_curves = const_cast<tag_t*>(curves);
        });
    };
    auto sampling = [&](int n) { return offset_status([n](ws_data_t& d) { d.points_per_curve = n; }); };
    auto offset = [&](double v) { return offset_status([v](ws_data_t& d) { d.offset_distance = v; }); };
    auto eye = [&](double v) { return offset_status([v](ws_data_t& d) { d.eye_point[1] = v; }); };
    // A face of no area: a sheet whose second side has no length, when the host makes one at all.
    const double corner[3] = {0, 0, 0}, u[3] = {0, 100, 0}, flat[3] = {0, 0, 0};
    const tag_t no_area = host_testing::make_planar_sheet(corner, u, flat);
    const tag_t no_area_face = no_area ? support::faces_of(no_area)[0] : 0;
    wrong_kind = line_;

    const std::vector<Hostile> cases = {
        {"init: null record", [&] { HM_VD_WS_init_windshield_data(nullptr); return 0; }, 0},
        {"create: null record", [&] { HM_VD_WS_create_windshield_data(nullptr); return 0; }, 0},
        {"release: null record", [&] { HM_VD_WS_release_windshield_data(nullptr); return 0; }, 0},
        {"create: null frame", [&] { return offset_status([](ws_data_t& d) { d.vehicle_frame = nullptr; }); }, 1},
        {"create: NaN in the frame", [&] { return frame_value(kNaN); }, 1},
        {"create: infinity in the frame", [&] { return frame_value(kInf); }, 1},
        {"create: 1e300 in the frame", [&] { return frame_value(kHuge); }, 1},
        {"create: null faces",
         [&] { return run([](ws_data_t& d) { d.faces = nullptr; }, [](const ws_data_t& d) { return d.offset_result.status; }); },
         1},
        {"create: face count 0", [&] { return faces(0); }, 1},
        {"create: face count -1", [&] { return faces(-1); }, 1},
        {"create: face count INT_MAX", [&] { return faces(INT_MAX); }, 1},
        {"create: face count beyond a block", [&] { return faces(kCountBeyondBlock); }, 1},
        {"create: tag 0 as face", [&] { return face(0); }, 1},
        {"create: deleted face", [&] { return face(dead_); }, 1},
        {"create: a line as face", [&] { return face(wrong_kind); }, 1},
        {"create: a face of no area", [&] { return face(no_area_face); }, 1},
        {"create: dark-band count -1", [&] { return dark_band(-1, band); }, 2},
        {"create: dark-band count INT_MAX", [&] { return dark_band(INT_MAX, band); }, 2},
        {"create: dark-band count beyond a block", [&] { return dark_band(kCountBeyondBlock, band); }, 2},
        {"create: null dark band", [&] { return dark_band(4, nullptr); }, 2},
        {"create: deleted dark-band curve", [&] { return dark_band(1, dead_band.data()); }, 2},
        {"create: points per curve 0", [&] { return sampling(0); }, 5},
        {"create: points per curve -1", [&] { return sampling(-1); }, 5},
        {"create: points per curve 10^7", [&] { return sampling(10000000); }, 5},
        {"create: points per curve INT_MAX", [&] { return sampling(INT_MAX); }, 5},
        {"create: NaN offset", [&] { return offset(kNaN); }, 5},
        {"create: infinite offset", [&] { return offset(-kInf); }, 5},
        {"create: offset of 1e300", [&] { return offset(kHuge); }, 5},
        {"create: NaN eye point", [&] { return eye(kNaN); }, 6},
        {"create: infinite eye point", [&] { return eye(kInf); }, 6},
        {"create: eye point at 1e300", [&] { return eye(kHuge); }, 6},
    };
    support::expect_all_refused(cases);
    ExpectNoLeaks();
}

TEST_F(WsHostileInputTest, AZoneOrWiperItCannotUseFailsItsStepAndBuildsNothingOfItsOwn) {
    // What a run that asks for neither zones nor wipers leaves in the part.
    int status = -1;
    const int baseline = objects_left([](ws_data_t&) {}, &status);
    ASSERT_EQ(status, 0);
    struct Case {
        const char* what;
        void (*change)(ws_data_t&);
        int code;
    };
    const Case cases[] = {
        {"zone: NaN origin", [](ws_data_t& d) { d.want_zone1 = true; d.zone_planes[0].zone_origins[2][1] = kNaN; }, 2},
        {"zone: infinite normal", [](ws_data_t& d) { d.want_zone1 = true; d.zone_planes[0].zone_normals[1][0] = kInf; }, 2},
        {"zone: origin at 1e300", [](ws_data_t& d) { d.want_zone1 = true; d.zone_planes[0].zone_origins[0][2] = kHuge; }, 2},
        {"zone: a plane without a normal",
         [](ws_data_t& d) { d.want_zone1 = true; for (double& c : d.zone_planes[0].zone_normals[3]) c = 0.0; }, 2},
        {"one wiper: NaN pivot", [](ws_data_t& d) { d.want_wiped_area = true; d.pivot[0][2] = kNaN; }, 5},
        {"one wiper: infinite arm", [](ws_data_t& d) { d.want_wiped_area = true; d.arm_length[0] = kInf; }, 5},
        {"one wiper: blade of 1e300", [](ws_data_t& d) { d.want_wiped_area = true; d.blade_length[0] = kHuge; }, 5},
        {"one wiper: arm of no length", [](ws_data_t& d) { d.want_wiped_area = true; d.arm_length[0] = 0.0; }, 5},
        {"one wiper: NaN sweep", [](ws_data_t& d) { d.want_wiped_area = true; d.sweep_angle[0] = kNaN; }, 5},
        {"one wiper: step of 1e-300", [](ws_data_t& d) { d.want_wiped_area = true; d.angle_step = 1e-300; }, 5},
        {"two wipers: NaN pivot of wiper 2",
         [](ws_data_t& d) { d.want_wiped_area = true; d.wiper_mode = 0; d.pivot[1][0] = kNaN; }, 4},
        {"two wipers: infinite blade angle of wiper 2",
         [](ws_data_t& d) { d.want_wiped_area = true; d.wiper_mode = 1; d.blade_angle[1] = -kInf; }, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(objects_left(c.change, &status), baseline) << "the failed step left something in the part";
        EXPECT_EQ(status, c.code);
    }
    ExpectNoLeaks();
}

TEST_F(WsHostileInputTest, TheTrimRefusesWhatTheHostCannotUse) {
    const std::vector<tag_t> square = {support::new_line(0, -100, 200, 0, 100, 200),
                                       support::new_line(0, 100, 200, 0, 100, 400),
                                       support::new_line(0, 100, 400, 0, -100, 400),
                                       support::new_line(0, -100, 400, 0, -100, 200)};
    const std::vector<HM_MODL_trim_object_t> bounds = bounds_of(square);
    const HM_MODL_trim_object_t dead_bound[1] = {{dead_, 1}};
    HM_MODL_proj_method_t normals{};
    double point[3] = {0, 0, 300};
    int gaps = -5;
    double* gap_points = nullptr;
    auto trim = [&](tag_t sheet, int n, const HM_MODL_trim_object_t* b, const HM_MODL_proj_method_t* proj, int keep,
                    int count, const double* p, double tolerance) {
        const int r = HM_VD_WS_trim_sheet(sheet, n, b, proj, keep, count, p, tolerance, &gaps, &gap_points);
        EXPECT_EQ(gap_points, nullptr);
        SM_free(gap_points);
        gap_points = nullptr;
        return r;
    };
    auto at = [&](int axis, double v) {
        double p[3] = {point[0], point[1], point[2]};
        p[axis] = v;
        return trim(sheet_, 4, bounds.data(), &normals, 1, 1, p, 0.01);
    };
    auto along = [&](double x, double y, double z) {
        HM_MODL_proj_method_t method{2, {x, y, z}};
        return trim(sheet_, 4, bounds.data(), &method, 1, 1, point, 0.01);
    };
    auto tolerance = [&](double t) { return trim(sheet_, 4, bounds.data(), &normals, 1, 1, point, t); };
    auto count = [&](int n) { return trim(sheet_, n, bounds.data(), &normals, 1, 1, point, 0.01); };
    const HM_MODL_trim_object_t* b = bounds.data();
    const std::vector<Hostile> cases = {
        {"sheet 0", [&] { return trim(0, 4, b, &normals, 1, 1, point, 0.01); }, HM_ERR_INVALID_TAG},
        {"deleted sheet", [&] { return trim(dead_, 4, b, &normals, 1, 1, point, 0.01); }, HM_ERR_INVALID_TAG},
        {"a line as sheet", [&] { return trim(line_, 4, b, &normals, 1, 1, point, 0.01); }, HM_ERR_WRONG_TYPE},
        {"null bounds", [&] { return trim(sheet_, 4, nullptr, &normals, 1, 1, point, 0.01); }, HM_ERR_NULL_POINTER},
        {"null points", [&] { return trim(sheet_, 4, b, &normals, 1, 1, nullptr, 0.01); }, HM_ERR_NULL_POINTER},
        {"null gap count",
         [&] { return HM_VD_WS_trim_sheet(sheet_, 4, b, &normals, 1, 1, point, 0.01, nullptr, &gap_points); },
         HM_ERR_NULL_POINTER},
        {"null gap points",
         [&] { return HM_VD_WS_trim_sheet(sheet_, 4, b, &normals, 1, 1, point, 0.01, &gaps, nullptr); },
         HM_ERR_NULL_POINTER},
        {"bound count 0", [&] { return count(0); }, HM_ERR_BAD_ARGUMENT},
        {"bound count -1", [&] { return count(-1); }, HM_ERR_BAD_ARGUMENT},
        {"bound count INT_MAX", [&] { return count(INT_MAX); }, HM_ERR_BAD_ARGUMENT},
        {"bound count beyond a block", [&] { return count(kCountBeyondBlock); }, HM_ERR_BAD_ARGUMENT},
        {"keep count 0", [&] { return trim(sheet_, 4, b, &normals, 0, 1, point, 0.01); }, HM_ERR_BAD_ARGUMENT},
        {"keep count -1", [&] { return trim(sheet_, 4, b, &normals, -1, 1, point, 0.01); }, HM_ERR_BAD_ARGUMENT},
        {"point count INT_MAX", [&] { return trim(sheet_, 4, b, &normals, 1, INT_MAX, point, 0.01); },
         HM_ERR_BAD_ARGUMENT},
        {"NaN point", [&] { return at(0, kNaN); }, HM_ERR_BAD_ARGUMENT},
        {"infinite point", [&] { return at(1, -kInf); }, HM_ERR_BAD_ARGUMENT},
        {"point at 1e300", [&] { return at(2, kHuge); }, HM_ERR_BAD_ARGUMENT},
        {"NaN tolerance", [&] { return tolerance(kNaN); }, HM_ERR_BAD_ARGUMENT},
        {"infinite tolerance", [&] { return tolerance(kInf); }, HM_ERR_BAD_ARGUMENT},
        {"tolerance of 1e300", [&] { return tolerance(kHuge); }, HM_ERR_BAD_ARGUMENT},
        {"tolerance 0", [&] { return tolerance(0.0); }, HM_ERR_BAD_ARGUMENT},
        {"along a NaN direction", [&] { return along(kNaN, 0, 0); }, HM_ERR_BAD_ARGUMENT},
        {"along an infinite direction", [&] { return along(0, kInf, 0); }, HM_ERR_BAD_ARGUMENT},
        {"along a direction of 1e300", [&] { return along(kHuge, 0, 0); }, HM_ERR_BAD_ARGUMENT},
        {"along no direction", [&] { return along(0, 0, 0); }, HM_ERR_BAD_ARGUMENT},
        {"a deleted bound", [&] { return trim(sheet_, 1, dead_bound, &normals, 1, 1, point, 0.01); },
         HM_ERR_INVALID_TAG},
    };
    support::expect_all_refused(cases);
    EXPECT_EQ(gaps, 0);
    ExpectNoLeaks();
}

TEST_F(WsHostileInputTest, TheDarkBandCheckAndTheWipedSheetsRefuseWhatTheyCannotUse) {
    const tag_t faces[1] = {face_};
    const tag_t band[4] = {support::new_line(0, -100, 200, 0, 100, 200), support::new_line(0, 100, 200, 0, 100, 400),
                           support::new_line(0, 100, 400, 0, -100, 400), support::new_line(0, -100, 400, 0, -100, 200)};
    const tag_t dead[1] = {dead_}, wrong[1] = {line_};
    auto check = [&](int nf, const tag_t* f, int nc, const tag_t* c, double offset) {
        return HM_VD_WS_check_serigrafia_status(nf, f, nc, c, offset);
    };
    bool connected = false;
    hm_list_p_t l1 = nullptr, l2 = nullptr;
    tag_t w1 = 0, w2 = 0;
    double tip[3] = {0, 0, 300}, nan_tip[3] = {0, kNaN, 300}, inf_tip[3] = {kInf, 0, 300},
           huge_tip[3] = {0, 0, kHuge};
    auto wiped = [&](tag_t sheet, int mode, int n, int first, const tag_t* c, const double* t1, const double* t2) {
        const int r = HM_VD_WS_ask_combined_wiped_area(sheet, mode, n, first, c, t1, t2, &connected, &l1, &l2, &w1, &w2);
        EXPECT_TRUE(l1 == nullptr && l2 == nullptr && w1 == 0 && w2 == 0) << "outputs made on failure";
        return r;
    };
    const std::vector<Hostile> cases = {
        {"check: null faces", [&] { return check(1, nullptr, 4, band, 10.0); }, 2},
        {"check: face count 0", [&] { return check(0, faces, 4, band, 10.0); }, 2},
        {"check: face count -1", [&] { return check(-1, faces, 4, band, 10.0); }, 2},
        {"check: face count INT_MAX", [&] { return check(INT_MAX, faces, 4, band, 10.0); }, 2},
        {"check: deleted face", [&] { return check(1, dead, 4, band, 10.0); }, 2},
        {"check: a line as face", [&] { return check(1, wrong, 4, band, 10.0); }, 2},
        {"check: null curves", [&] { return check(1, faces, 4, nullptr, 10.0); }, 1},
        {"check: curve count -1", [&] { return check(1, faces, -1, band, 10.0); }, 1},
        {"check: curve count INT_MAX", [&] { return check(1, faces, INT_MAX, band, 10.0); }, 1},
        {"check: curve count beyond a block", [&] { return check(1, faces, kCountBeyondBlock, band, 10.0); }, 1},
        {"check: deleted curve", [&] { return check(1, faces, 1, dead, 10.0); }, 1},
        {"check: NaN offset", [&] { return check(1, faces, 4, band, kNaN); }, 5},
        {"check: infinite offset", [&] { return check(1, faces, 4, band, kInf); }, 5},
        {"check: offset of 1e300", [&] { return check(1, faces, 4, band, kHuge); }, 5},
        {"wiped: null curves", [&] { return wiped(sheet_, 2, 4, 4, nullptr, tip, tip); }, HM_ERR_NULL_POINTER},
        {"wiped: null tip", [&] { return wiped(sheet_, 2, 4, 4, band, nullptr, tip); }, HM_ERR_NULL_POINTER},
        {"wiped: null second tip, two wipers", [&] { return wiped(sheet_, 0, 4, 2, band, tip, nullptr); },
         HM_ERR_NULL_POINTER},
        {"wiped: null outputs",
         [&] { return HM_VD_WS_ask_combined_wiped_area(sheet_, 2, 4, 4, band, tip, tip, nullptr, &l1, &l2, &w1, &w2); },
         HM_ERR_NULL_POINTER},
        {"wiped: sheet 0", [&] { return wiped(0, 2, 4, 4, band, tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: count 0", [&] { return wiped(sheet_, 2, 0, 0, band, tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: count -1", [&] { return wiped(sheet_, 2, -1, 0, band, tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: count INT_MAX", [&] { return wiped(sheet_, 2, INT_MAX, 4, band, tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: first count -1", [&] { return wiped(sheet_, 0, 4, -1, band, tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: first count INT_MAX", [&] { return wiped(sheet_, 0, 4, INT_MAX, band, tip, tip); },
         HM_ERR_BAD_ARGUMENT},
        {"wiped: NaN tip", [&] { return wiped(sheet_, 2, 4, 4, band, nan_tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: infinite second tip", [&] { return wiped(sheet_, 0, 4, 2, band, tip, inf_tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: tip at 1e300", [&] { return wiped(sheet_, 2, 4, 4, band, huge_tip, tip); }, HM_ERR_BAD_ARGUMENT},
        {"wiped: deleted sheet", [&] { return wiped(dead_, 2, 4, 4, band, tip, tip); }, 1},
        {"wiped: a line as sheet", [&] { return wiped(line_, 2, 4, 4, band, tip, tip); }, 1},
        {"wiped: deleted curve", [&] { return wiped(sheet_, 2, 1, 1, dead, tip, tip); }, 1},
    };
    support::expect_all_refused(cases);
    EXPECT_EQ(HM_OBJ_ask_status(face_), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(band[0]), HM_OBJ_ALIVE);
    ExpectNoLeaks();
}

}  // namespace
