// A short-long-arm corner that the template tests of every release build:
// its hard points by the record's point order.
#ifndef CARVELL_TESTS_SUSPENSION_SLA_TRUCK_CORNER_H
#define CARVELL_TESTS_SUSPENSION_SLA_TRUCK_CORNER_H

#include "template_fixture.h"

#include "hm_vd_sla_susp.h"

// A double-wishbone front corner of a light truck (track 1700 mm, wheel
// centre 390 mm above ground); left hard points in millimetres, x rearward,
// y to the left, mirrored through y = 0.
struct TruckCorner {
    int point;
    P3 at;
};
inline const TruckCorner kTruckCorner[] = {
    {SLA_BALL_JOINT_LOWER, {5, 740, 260}},
    {SLA_FRONT_BUSHING_LOWER, {-180, 380, 300}},
    {SLA_REAR_BUSHING_LOWER, {220, 380, 290}},
    {SLA_BALL_JOINT_UPPER, {-10, 700, 570}},
    {SLA_FRONT_BUSHING_UPPER, {-120, 450, 600}},
    {SLA_REAR_BUSHING_UPPER, {160, 450, 590}},
    {SLA_LOWER_SHOCK_CENTER, {40, 640, 300}},
    {SLA_UPPER_SHOCK_CENTER, {50, 600, 720}},
    {SLA_WHEEL_CENTERLINE, {0, 850, 390}},
    {SLA_OUTER_DRIVE_JOINT, {0, 760, 390}},
    {SLA_TIREROD_OUTER, {140, 730, 330}},
    {SLA_TIREROD_INNER, {150, 340, 340}},
    {SLA_INNER_DRIVE_JOINT, {0, 300, 400}},
    {SLA_UPPER_STABILIZER_LINK, {-140, 610, 470}},
    {SLA_LOWER_STABILIZER_LINK, {-120, 620, 290}},
    {SLA_STABILIZER_BUSHING, {-380, 420, 460}},
};

inline P3 design(int point) {
    for (const TruckCorner& c : kTruckCorner)
        if (c.point == point) return c.at;
    return {0, 0, 0};
}

#endif
