// Projection of a point along a direction onto a face: the points where the
// half-line from the point meets the face inside its boundary.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/face_projection.h"

#include "kestrin.h"
#include "quillon.h"

#include <IntCurvesFace_Intersector.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <gp_Lin.hxx>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// The projector's only mode: along the direction, not against it.
constexpr int kAlongDirection = 2;
// Far end of the half-line: beyond any model.
constexpr double kFar = 1.0e10;
}  // namespace

int CPROJ_point_vector_face(const double point[3], tag_t face, const double direction[3], int mode, tag_t set,
                            int* count) {
    return host::guarded(__func__, [&]() -> int {
        if (!point || !direction || !count) return HM_ERR_NULL_POINTER;
        if (!host::find(face) || !host::find(set)) return HM_ERR_INVALID_TAG;
        host::Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        if (mode != kAlongDirection) return HM_ERR_BAD_ARGUMENT;
        const double length = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                        direction[2] * direction[2]);
        if (!(length > 0.0) || !host::finite_value(length)) return HM_ERR_BAD_ARGUMENT;
        std::vector<std::pair<double, gp_Pnt>> hits;
        const gp_Lin line(gp_Pnt(point[0], point[1], point[2]), gp_Dir(direction[0], direction[1], direction[2]));
        IntCurvesFace_Intersector& intersector = host::face_intersector(TopoDS::Face(f->shape));
        intersector.Perform(line, -Precision::Confusion(), kFar);
        if (!intersector.IsDone()) return HM_ERR_GEOMETRY;
        for (int i = 1; i <= intersector.NbPnt(); ++i) {
            const TopAbs_State state = intersector.State(i);
            if (state != TopAbs_IN && state != TopAbs_ON) continue;
            hits.emplace_back(intersector.WParameter(i), intersector.Pnt(i));
        }
        // Nearest first; a hit found twice (on an edge shared by two patches of
        // the face, for example) counts once.
        std::sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        int n = 0;
        for (size_t i = 0; i < hits.size(); ++i) {
            if (i > 0 && hits[i].second.Distance(hits[i - 1].second) <= Precision::Confusion()) continue;
            host::Object& p = host::create(HM_point_type, 0);
            p.point = {hits[i].second.X(), hits[i].second.Y(), hits[i].second.Z()};
            OM_add_to_tag_set(set, p.tag);
            ++n;
        }
        *count = n;
        return 0;
    });
}
