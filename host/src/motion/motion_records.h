// The records the motion area keeps in its objects' data: mechanisms,
// links, joints, markers, springs, dampers, forces, function objects and the
// parameter objects. Values, so that an undo snapshot copies them.
// Internal to the stand-in.
#ifndef CARVELL_HOST_MOTION_RECORDS_H
#define CARVELL_HOST_MOTION_RECORDS_H

#include "core/model.h"
#include "omvra.h"
#include "tolvric.h"

#include <array>
#include <string>
#include <vector>

namespace host::motion {

struct MechanismData {};

struct LinkData {
    tag_t mechanism = 0;
    std::vector<tag_t> geometry;
    tag_t cog = 0;       // parameter point of three scalars
    tag_t marker = 0;    // inertia marker
    double mass = 0.0;
    bool has_mass = false;
    std::array<double, 6> inertias{};
    bool has_inertias = false;
};

struct JointData {
    tag_t mechanism = 0;
    HM_MOTION_joint_t record{};
    HM_MOTION_joint_motion_input_t input{};
    KMC_motion_driver_t driver{};
};

struct MarkerData {
    std::array<double, 3> location{};
    tag_t matrix = 0;
};

struct SpringData {
    tag_t mechanism = 0;
    KMC_spring_t record{};
};
struct DamperData {
    tag_t mechanism = 0;
    KMC_damper_t record{};
};
struct ForceData {
    tag_t mechanism = 0;
    KMC_force_t record{};   // label always null here
};
struct FunctionData {
    std::vector<std::string> lines;
};

struct ScalarData {
    double value = 0.0;
};
struct PointData {
    std::array<tag_t, 3> scalars{};
};

// The record of a live object of the type, or null.
template <class T>
T* record(tag_t tag, int type) {
    Object* o = find(tag, type);
    return o ? std::any_cast<T>(&o->data) : nullptr;
}

// The work part's current mechanism, 0 when none.
tag_t current_mechanism();
// A new parameter point at the coordinates (three new scalars) of the part.
tag_t new_parameter_point(tag_t part, const double coords[3]);
// Coordinates of a parameter point; false when it is none.
bool point_coordinates(tag_t point, double coords[3]);
// Vector of a direction object; false when it is none.
bool direction_vector(tag_t direction, double vector[3]);

}  // namespace host::motion

#endif
