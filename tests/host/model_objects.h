// Objects of the work part that the host tests of parts and part files make
// and read straight in the stand-in's model, so that these tests need
// nothing of the curve functions: a box with its feature, points and lines.
#ifndef CARVELL_TESTS_HOST_MODEL_OBJECTS_H
#define CARVELL_TESTS_HOST_MODEL_OBJECTS_H

#include "core/model.h"
#include "host_testing.h"
#include "omvra.h"
#include "test_helpers.h"

#include <GC_MakeSegment.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <gp_Pnt.hxx>

#include <array>
#include <cmath>
#include <vector>

namespace host_tests {

// A 10 x 20 x 30 box at (x, 0, 0) with its "BLOCK" feature.
inline tag_t box(double x = 0.0) {
    const double corner[3] = {x, 0, 0};
    const double size[3] = {10, 20, 30};
    return host_testing::make_box(corner, size);
}

// The first feature of a body (the one that made it); 0 when it has none.
inline tag_t first_feature(tag_t body) {
    const std::vector<tag_t> f = support::asked_list(HM_MODL_ask_body_feats, body);
    return f.empty() ? 0 : f.front();
}

// Points and lines made and read straight in the model.
inline tag_t point_at(double x, double y, double z) {
    host::Object& o = host::create(HM_point_type, 0);
    o.point = {x, y, z};
    return o.tag;
}

inline std::array<double, 3> point_of(tag_t point) {
    const host::Object* o = host::find(point, HM_point_type);
    return o ? o->point : std::array<double, 3>{NAN, NAN, NAN};
}

inline tag_t line_between(const gp_Pnt& a, const gp_Pnt& b) {
    host::Object& o = host::create(HM_line_type, 0);
    o.curve = GC_MakeSegment(a, b).Value();
    return o.tag;
}

}  // namespace host_tests

#endif
