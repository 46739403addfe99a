// Contact of the right shoe with the accelerator pedal and the floor in the
// side view: the residuals that the equation solver drives along the pedal or
// floor curve, and the two solvers.
//
// The shoe is a straight sole of 200 mm. On the pedal, the sole lies along the
// pedal's tangent at the contact point and the heel sits the shoe length
// behind it; on the floor, the ball of foot is the floor point one shoe length
// in front of the heel.
#include "hpd_contact.h"
#include "hpd_primitives.h"
#include "toolbox/detail/owners.h"

#include "morvish.h"
#include "omvra.h"

#include <cmath>
#include <cstdio>

namespace carvell::occupant {

namespace {

constexpr double kHalfPi = kPi / 2.0;

// Solver settings of both contacts: bisection on the curve parameter.
constexpr double kXTolerance = 1e-4;
constexpr double kFTolerance = 1e-8;
// A found heel height this close to the given one keeps the given one; the
// same for the pedal angle (degrees).
constexpr double kKeepHeightTolerance = 0.025;
constexpr double kKeepAngleTolerance = 0.01;
// Below this the tangent has no direction in the side view.
constexpr double kNoDirection = 1e-12;
// Texts printed to standard output hold at most this many characters.
constexpr size_t kTextSize = 134;

// Point and sole angle (radians, in [-pi, pi]) of the pedal at parameter t:
// the angle from the pedal's rearward tangent to +X, counter-clockwise about
// -Y. Answers 0, HPD_RESIDUAL_NO_EVALUATOR or HPD_RESIDUAL_NO_POINT.
int pedal_sole(double t, hpd_pedal_contact_s* record, double point[3], double* theta) {
    HM_EVAL_p_t evaluator = nullptr;
    if (HM_EVAL_initialize(record->pedal, &evaluator) != 0 || !evaluator) return HPD_RESIDUAL_NO_EVALUATOR;
    double tangent[3], normal[3], binormal[3];
    int rc = HM_EVAL_evaluate_unit_vectors(evaluator, t, point, tangent, normal, binormal);
    HM_EVAL_free(evaluator);
    if (rc != 0) return HPD_RESIDUAL_NO_POINT;
    if (record->reversed) {
        tangent[0] = -tangent[0];
        tangent[2] = -tangent[2];
    }
    tangent[1] = 0.0;
    // A pedal running across the car has no sole direction at t.
    if (std::hypot(tangent[0], tangent[2]) <= kNoDirection) return HPD_RESIDUAL_NO_POINT;
    const double x_axis[3] = {1.0, 0.0, 0.0};
    const double minus_y[3] = {0.0, -1.0, 0.0};
    double angle = 0.0;
    if (HM_VEC3_angle_between(tangent, x_axis, minus_y, &angle) != 0) return HPD_RESIDUAL_NO_POINT;
    hpd_wrap_angle_rad(&angle);
    record->sole_angle = angle;
    *theta = angle;
    return 0;
}

// The heel one shoe length behind the pedal point along the sole.
void heel_behind(hpd_pedal_contact_s* record, const double point[3], double theta) {
    record->heel[0] = point[0] + record->shoe_length * std::cos(theta);
    record->heel[1] = point[1];
    record->heel[2] = point[2] - record->shoe_length * std::sin(theta);
}

void format(char* text, const char* pattern, int value) { std::snprintf(text, kTextSize, pattern, value); }

// The pedal point and sole angle at t with the heel one shoe length behind
// the point along the sole (written into the record).
int shoe_on_pedal_at(double t, hpd_pedal_contact_s* record, double* theta) {
    double point[3];
    if (int rc = pedal_sole(t, record, point, theta)) return rc;
    heel_behind(record, point, *theta);
    return 0;
}

// Opens an evaluator on the curve and asks its parameter limits. 0, or
// HPD_CONTACT_FAILED with the host's code in `text`; *evaluator is then
// whatever was opened (free it either way).
int open_curve(tag_t curve, HM_EVAL_p_t* evaluator, double limits[2], char* text) {
    int rc = HM_EVAL_initialize(curve, evaluator);
    if (rc != 0 || !*evaluator) {
        format(text, "Error from HM_EVAL_initialize = %d\n", rc);
        return HPD_CONTACT_FAILED;
    }
    if ((rc = HM_EVAL_ask_limits(*evaluator, limits)) != 0) {
        format(text, "Error from HM_EVAL_ask_limits = %d\n", rc);
        return HPD_CONTACT_FAILED;
    }
    return 0;
}

// Bisection of the residual on the interval. 0, HPD_CONTACT_NO_ROOT when no
// sign change is found, or HPD_CONTACT_FAILED with the solver's code in `text`.
int bisect(const double interval[2], OPT_UTIL_function_t residual, void* record, char* text) {
    double root = 0.0;
    int rc = OPT_UTIL_equation_solver(OPT_UTIL_BISECTION, interval, kXTolerance, kFTolerance, 0, residual, record,
                                      &root);
    if (rc == OPT_UTIL_NO_SIGN_CHANGE) return HPD_CONTACT_NO_ROOT;
    if (rc != 0) {
        format(text, "Error from OPT_UTIL_equation_solver = %d\n", rc);
        return HPD_CONTACT_FAILED;
    }
    return 0;
}

}  // namespace

int hpd_shoe_residual_by_height(double t, void* data, double* f) {
    auto* record = static_cast<hpd_pedal_contact_s*>(data);
    double theta = 0.0;
    if (int rc = shoe_on_pedal_at(t, record, &theta)) return rc;
    *f = record->target - record->heel[2];
    return 0;
}

int hpd_shoe_residual_by_angle(double t, void* data, double* f) {
    auto* record = static_cast<hpd_pedal_contact_s*>(data);
    double theta = 0.0;
    if (int rc = shoe_on_pedal_at(t, record, &theta)) return rc;
    *f = record->target - theta;
    return 0;
}

int hpd_shoe_residual_by_floor(double t, void* data, double* f) {
    auto* record = static_cast<hpd_pedal_contact_s*>(data);
    double point[3], theta = 0.0;
    if (int rc = pedal_sole(t, record, point, &theta)) return rc;

    // The plane that holds the sole line and the lateral axis.
    const double normal[3] = {std::cos(kHalfPi - theta), 0.0, std::sin(kHalfPi - theta)};
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(point, normal, &plane) != 0 || plane == NULL_TAG) return HPD_RESIDUAL_NO_PLANE;
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    int rc = HM_MODL_intersect_objects(plane, record->floor, kSectionTolerance, &count, &entries);
    UPDATE_log_entity_to_delete(plane);

    int result = 0;
    double hit[3] = {0.0, 0.0, 0.0};
    if (rc != 0 || count != 1 || !entries || !entries[0])
        result = HPD_RESIDUAL_NOT_ONE_HIT;
    else if (entries[0]->kind != HM_INTERSECTION_POINT)
        result = HPD_RESIDUAL_HIT_NOT_POINT;
    else {
        hit[0] = entries[0]->point[0], hit[1] = entries[0]->point[1], hit[2] = entries[0]->point[2];
        if (!(hit[0] > point[0])) result = HPD_RESIDUAL_HIT_IN_FRONT;
    }
    detail::discard_intersection_entries(rc == 0 ? count : 0, entries);
    if (result != 0) return result;

    *f = record->shoe_length - std::hypot(hit[0] - point[0], hit[2] - point[2]);
    record->heel[0] = hit[0];
    record->heel[1] = point[1];
    record->heel[2] = hit[2];
    return 0;
}

int hpd_floor_residual(double t, void* data, double* f) {
    auto* record = static_cast<hpd_floor_contact_s*>(data);
    HM_EVAL_p_t evaluator = nullptr;
    if (HM_EVAL_initialize(record->floor_curve, &evaluator) != 0 || !evaluator) return HPD_RESIDUAL_FLOOR_NO_EVALUATOR;
    double c[3];
    int rc = HM_EVAL_evaluate(evaluator, 0, t, c, nullptr);
    HM_EVAL_free(evaluator);
    if (rc != 0) return HPD_RESIDUAL_FLOOR_NO_POINT;

    const double dx = c[0] - record->heel[0], dz = c[2] - record->heel[2];
    *f = record->shoe_length - std::hypot(dx, dz);
    const double to_ball[3] = {dx, 0.0, dz};
    const double forward[3] = {-1.0, 0.0, 0.0};
    const double minus_y[3] = {0.0, -1.0, 0.0};
    double angle = 0.0;
    if (HM_VEC3_angle_between(to_ball, forward, minus_y, &angle) != 0) return HPD_RESIDUAL_FLOOR_NO_POINT;
    hpd_wrap_angle_rad(&angle);
    record->floor_angle = angle;
    return 0;
}

int hpd_solve_shoe_on_pedal(int mode, tag_t pedal, double* heel, double* pedal_angle, tag_t floor, double pv_angle) {
    if (mode < 0 || mode > 2 || pedal == NULL_TAG || (mode == 2 && floor == NULL_TAG) || !heel || !pedal_angle)
        return HPD_CONTACT_BAD_INPUT;

    char text[kTextSize] = "";
    HM_EVAL_p_t evaluator = nullptr;
    double limits[2] = {0.0, 1.0};
    double start[3], end[3];
    hpd_pedal_contact_s record{};

    int result = open_curve(pedal, &evaluator, limits, text);
    if (result == 0 && HM_EVAL_evaluate(evaluator, 0, limits[0], start, nullptr) != 0)
        result = HPD_CONTACT_NO_START;
    else if (result == 0 && HM_EVAL_evaluate(evaluator, 0, limits[1], end, nullptr) != 0)
        result = HPD_CONTACT_NO_END;

    if (result == 0) {
        record.shoe_length = hpd_mm(kShoeLengthMm);
        record.pedal = pedal;
        record.pv_angle = pv_angle;
        record.reversed = end[0] <= start[0];
        record.floor = floor;
        OPT_UTIL_function_t residual = hpd_shoe_residual_by_height;
        if (mode == 0) {
            record.target = heel[2];
        } else if (mode == 1) {
            record.target = *pedal_angle * kRadiansPerDegreeAsUsed;
            residual = hpd_shoe_residual_by_angle;
        } else {
            residual = hpd_shoe_residual_by_floor;
        }

        result = bisect(limits, residual, &record, text);
        if (result == 0) {
            // The last evaluation of the bisection was at the root: the record
            // holds the heel and sole angle of the contact.
            const double found_angle = record.sole_angle * kDegreesPerRadianAsUsed;
            heel[0] = record.heel[0];
            heel[1] = record.heel[1];
            if (mode == 0) {
                *pedal_angle = found_angle;
                if (std::fabs(heel[2] - record.heel[2]) > kKeepHeightTolerance) heel[2] = record.heel[2];
            } else if (mode == 1) {
                heel[2] = record.heel[2];
                if (std::fabs(*pedal_angle - found_angle) > kKeepAngleTolerance) *pedal_angle = found_angle;
            } else {
                heel[2] = record.heel[2];
                *pedal_angle = found_angle;
            }
        }
    }

    if (text[0] != '\0') std::fputs(text, stdout);
    HM_EVAL_free(evaluator);
    return result;
}

int hpd_solve_shoe_on_floor(tag_t floor_curve, const double* heel, double* floor_angle) {
    if (floor_curve == NULL_TAG || !heel || !floor_angle) return HPD_CONTACT_BAD_INPUT;

    char text[kTextSize] = "";
    HM_EVAL_p_t evaluator = nullptr;
    double limits[2] = {0.0, 1.0};
    double closest_parm = 0.0, closest[3], start[3], end[3];

    int rc = 0;
    int result = open_curve(floor_curve, &evaluator, limits, text);
    if (result == 0 && (rc = HM_EVAL_evaluate_closest_point(evaluator, heel, &closest_parm, closest)) != 0) {
        format(text, "Error from HM_EVAL_evaluate_closest_point = %d\n", rc);
        result = HPD_CONTACT_FAILED;
    } else if (result == 0 && ((rc = HM_EVAL_evaluate(evaluator, 0, limits[0], start, nullptr)) != 0 ||
                               (rc = HM_EVAL_evaluate(evaluator, 0, limits[1], end, nullptr)) != 0)) {
        format(text, "Error from HM_EVAL_evaluate = %d\n", rc);
        result = HPD_CONTACT_FAILED;
    }

    // Only the part of the curve in front of the heel is searched.
    double interval[2] = {limits[0], limits[1]};
    if (result == 0) {
        if (start[0] <= heel[0]) {
            if (heel[0] < end[0]) interval[1] = closest_parm;
        } else if (end[0] <= heel[0]) {
            interval[0] = closest_parm;
        } else {
            std::snprintf(text, kTextSize, "Floor curve is behind heel point\n");
            result = HPD_CONTACT_NO_ROOT;
        }
    }

    if (result == 0) {
        const double shoe = hpd_mm(kShoeLengthMm);
        hpd_floor_contact_s record{shoe, shoe, floor_curve, {heel[0], closest[1], heel[2]}, 0.0};
        result = bisect(interval, hpd_floor_residual, &record, text);
        if (result == 0) *floor_angle = record.floor_angle * kDegreesPerRadianAsUsed;
    }

    if (text[0] != '\0') std::fputs(text, stdout);
    HM_EVAL_free(evaluator);
    return result;
}

}  // namespace carvell::occupant
