// The eyellipse class's ellipsoid from its design parameters (SAE J941,
// class A vehicles): the centroids from the accelerator-pedal reference
// point, the seat height and the steering-wheel position, the axes of the
// 95th or 99th percentile, the x axis tipped 12 degrees nose down.
#include "vehicle/eyellipse_class.h"

#include "quillon.h"
#include "tessik.h"

#include <cmath>

namespace host::vehicle {
namespace {

// The parameters the ellipsoid rests on.
enum Parameter { kPrpX, kChairHeight, kPrpSwcLength, kHeelZ, kHipY, kTransmission, kPercentile, kParameters };
const char* const kParameterNames[kParameters] = {"PRP_X",        "Chair_Height",      "PRP_SWC_Length",
                                                  "Heel_Point_Z", "Hip_Point_Y",       "Transmission_Type",
                                                  "Population_Percentile"};

// Centroid of the cyclops eye: x behind the pedal reference point, z above
// the heel point (mm).
constexpr double kCentroidX = 664.0;
constexpr double kSwcFactor = 0.587;
constexpr double kSeatHeightFactor = -0.176;
constexpr double kManualShift = -12.5;   // vehicles with a clutch pedal
constexpr double kCentroidZ = 638.0;
constexpr double kEyeSpread = 32.5;      // each eye to the side of the cyclops eye
constexpr double kTiltDegrees = 12.0;    // the x axis, front end down
// Full axis lengths x, y, z (mm).
constexpr double kLengths95[3] = {206.4, 60.3, 93.4};
constexpr double kLengths99[3] = {287.1, 85.3, 132.1};

bool number_of(const RuleValue& v, double* out) {
    if (v.kind == RuleValue::Number) *out = v.number;
    else if (v.kind == RuleValue::Integer) *out = v.integer;
    else return false;
    return std::isfinite(*out);
}

bool integer_of(const RuleValue& v, int* out) {
    if (v.kind == RuleValue::Integer) *out = v.integer;
    else if (v.kind == RuleValue::Number && v.number == std::floor(v.number) && std::fabs(v.number) < 1e9)
        *out = static_cast<int>(v.number);
    else return false;
    return true;
}

RuleValue triple(RuleValue::Kind kind, double x, double y, double z) {
    RuleValue v;
    v.kind = kind;
    v.xyz = {x, y, z};
    return v;
}

RuleValue list(std::vector<RuleValue> items) {
    RuleValue v;
    v.kind = RuleValue::List;
    v.list = std::move(items);
    return v;
}

RuleValue number(double value) {
    RuleValue v;
    v.kind = RuleValue::Number;
    v.number = value;
    return v;
}

RuleValue lengths(const double l[3]) { return list({number(l[0]), number(l[1]), number(l[2])}); }

}  // namespace

int eyellipse_class_rules(const NamedValues& given, NamedValues* made) {
    made->clear();
    const RuleValue* found[kParameters] = {};
    int count = 0;
    for (int p = 0; p < kParameters; ++p) {
        // The last rule of a name is the one the instance keeps.
        for (const auto& [name, value] : given)
            if (name == kParameterNames[p]) found[p] = &value;
        if (found[p]) ++count;
    }
    if (count == 0) return 0;
    if (count < kParameters) return HM_ERR_BAD_ARGUMENT;

    double v[kTransmission];
    for (int p = 0; p < kTransmission; ++p)
        if (!number_of(*found[p], &v[p])) return HM_ERR_BAD_ARGUMENT;
    int transmission, percentile;
    if (!integer_of(*found[kTransmission], &transmission) || !integer_of(*found[kPercentile], &percentile))
        return HM_ERR_BAD_ARGUMENT;
    if (transmission != VD_EYELLIPSE_AUTOMATIC && transmission != VD_EYELLIPSE_MANUAL) return HM_ERR_BAD_ARGUMENT;
    if (percentile != 95 && percentile != 99) return HM_ERR_BAD_ARGUMENT;

    const double x = v[kPrpX] + kCentroidX + kSwcFactor * v[kPrpSwcLength] + kSeatHeightFactor * v[kChairHeight] +
                     (transmission == VD_EYELLIPSE_MANUAL ? kManualShift : 0.0);
    const double z = v[kHeelZ] + kCentroidZ + v[kChairHeight];
    const double y = v[kHipY];
    const double tilt = kTiltDegrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(tilt), s = std::sin(tilt);
    *made = {
        {"Centroid_coords", list({triple(RuleValue::Point, x, y - kEyeSpread, z), triple(RuleValue::Point, x, y, z),
                                  triple(RuleValue::Point, x, y + kEyeSpread, z)})},
        {"Axis_dir", list({triple(RuleValue::Vector, c, 0.0, s), triple(RuleValue::Vector, 0.0, 1.0, 0.0),
                           triple(RuleValue::Vector, -s, 0.0, c)})},
        {"Axis_Length", lengths(percentile == 99 ? kLengths99 : kLengths95)},
        {"Axis_Length_95", lengths(kLengths95)},
        {"Axis_Length_99", lengths(kLengths99)},
        {"Side_value", number(y)},
    };
    return 0;
}

}  // namespace host::vehicle
