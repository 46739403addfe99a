// Bounding boxes (absolute and aligned to a coordinate system) and the
// minimum distance between two objects.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"

#include "omvra.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Ax3.hxx>
#include <gp_Pln.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Disagreement between the kernel's two boxes, relative to the extent,
// below which the optimal box's side stands.
constexpr double kBoxResolution = 1.0e-7;

// The least (sense -1) or greatest (sense +1) value of one coordinate over
// the shape: the minimum distance from a plane across that axis, placed
// outside a box known to contain the shape. False when the kernel finds no
// distance.
bool extreme_by_distance(const TopoDS_Shape& shape, const double lo[3], const double hi[3], int axis, int sense,
                         double& value) {
    double span = 0.0;
    for (int i = 0; i < 3; ++i) span = std::max(span, hi[i] - lo[i]);
    span = std::max(span, 1.0);
    double centre[3];
    for (int i = 0; i < 3; ++i) centre[i] = 0.5 * (lo[i] + hi[i]);
    const double at = sense > 0 ? hi[axis] + span : lo[axis] - span;
    centre[axis] = at;
    const gp_Dir normal(axis == 0 ? 1 : 0, axis == 1 ? 1 : 0, axis == 2 ? 1 : 0);
    const gp_Pln plane(gp_Pnt(centre[0], centre[1], centre[2]), normal);
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(plane, -2.0 * span, 2.0 * span, -2.0 * span, 2.0 * span).Face();
    BRepExtrema_DistShapeShape distance(shape, face);
    if (!distance.IsDone() || distance.NbSolution() < 1) return false;
    value = at - sense * distance.Value();
    return std::isfinite(value);
}

// Box of a shape: tight (exact geometry, tolerances left out) or widened by
// the shape's tolerances. False when the shape has no extent at all.
//
// The kernel's optimal box searches each surface for its extremes and can
// stop short of one on a freeform surface (an ellipsoid scaled from a sphere
// lost 0.03 of its 3 mm reach), while its plain box, taken from the exact
// curves and the surfaces' control nets, always contains the shape but may
// stand off it. Where the two disagree by more than the resolution, the side
// is settled by the minimum distance from a plane outside it, never beyond
// the containing box.
bool shape_box(const TopoDS_Shape& shape, bool expand, double lo[3], double hi[3]) {
    Bnd_Box box;
    if (shape.ShapeType() == TopAbs_VERTEX) {
        box.Add(BRep_Tool::Pnt(TopoDS::Vertex(shape)));
        if (expand) box.Enlarge(BRep_Tool::Tolerance(TopoDS::Vertex(shape)));
    } else if (expand) {
        BRepBndLib::Add(shape, box, false);
    } else {
        Bnd_Box container;
        BRepBndLib::Add(shape, container, false);
        BRepBndLib::AddOptimal(shape, box, false, false);
        if (container.IsVoid() || box.IsVoid()) return false;
        double outer_lo[3], outer_hi[3];
        container.Get(outer_lo[0], outer_lo[1], outer_lo[2], outer_hi[0], outer_hi[1], outer_hi[2]);
        box.Get(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
        for (int i = 0; i < 3; ++i) {
            const double resolution = kBoxResolution * std::max(1.0, outer_hi[i] - outer_lo[i]);
            double v = 0.0;
            if (lo[i] - outer_lo[i] > resolution && extreme_by_distance(shape, outer_lo, outer_hi, i, -1, v))
                lo[i] = std::clamp(std::min(lo[i], v), outer_lo[i], lo[i]);
            if (outer_hi[i] - hi[i] > resolution && extreme_by_distance(shape, outer_lo, outer_hi, i, +1, v))
                hi[i] = std::clamp(std::max(hi[i], v), hi[i], outer_hi[i]);
        }
        return true;
    }
    if (box.IsVoid()) return false;
    box.Get(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
    return true;
}

// The object's shape, or the codes of a missing or shapeless object.
int operand(tag_t object, TopoDS_Shape& shape) {
    if (!host::find(object)) return HM_ERR_INVALID_TAG;
    shape = host::operand_shape(object);
    return shape.IsNull() ? HM_ERR_WRONG_TYPE : 0;
}

}  // namespace

int HM_MODL_ask_bounding_box(tag_t object, double box[6]) {
    return host::guarded(__func__, [&]() -> int {
        if (!box) return HM_ERR_NULL_POINTER;
        TopoDS_Shape shape;
        if (int r = operand(object, shape)) return r;
        double lo[3], hi[3];
        if (!shape_box(shape, false, lo, hi)) return HM_ERR_GEOMETRY;
        for (int i = 0; i < 3; ++i) {
            box[i] = lo[i];
            box[i + 3] = hi[i];
        }
        return 0;
    });
}

int HM_MODL_ask_bounding_box_aligned(tag_t object, tag_t csys, bool expand, double min_corner[3],
                                     double directions[3][3], double distances[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!min_corner || !directions || !distances) return HM_ERR_NULL_POINTER;
        TopoDS_Shape shape;
        if (int r = operand(object, shape)) return r;
        host::CsysData frame;
        if (int r = host::frame_of(csys, frame)) return r;
        const gp_Pnt origin(frame.origin[0], frame.origin[1], frame.origin[2]);
        const gp_Dir x(frame.matrix[0], frame.matrix[1], frame.matrix[2]);
        const gp_Dir y(frame.matrix[3], frame.matrix[4], frame.matrix[5]);
        const gp_Dir z(frame.matrix[6], frame.matrix[7], frame.matrix[8]);
        // Coordinates in the right-handed system (x, z ^ x, z); a left-handed
        // matrix has its y measured the other way.
        const gp_Ax3 axes(origin, z, x);
        const double y_sense = axes.YDirection().Dot(y) < 0.0 ? -1.0 : 1.0;
        gp_Trsf to_local;
        to_local.SetTransformation(axes);
        TopoDS_Shape local = BRepBuilderAPI_Transform(shape, to_local, true).Shape();
        double lo[3], hi[3];
        if (!shape_box(local, expand, lo, hi)) return HM_ERR_GEOMETRY;
        if (y_sense < 0.0) {
            double t = lo[1];
            lo[1] = -hi[1];
            hi[1] = -t;
        }
        const gp_XYZ corner = origin.XYZ() + x.XYZ() * lo[0] + y.XYZ() * lo[1] + z.XYZ() * lo[2];
        const gp_Dir axis[3] = {x, y, z};
        for (int i = 0; i < 3; ++i) {
            min_corner[i] = corner.Coord(i + 1);
            directions[i][0] = axis[i].X();
            directions[i][1] = axis[i].Y();
            directions[i][2] = axis[i].Z();
            distances[i] = hi[i] - lo[i];
        }
        return 0;
    });
}

int HM_MODL_ask_minimum_dist_2(tag_t object1, int guess1_given, const double guess1[3], tag_t object2,
                               int guess2_given, const double guess2[3], double* distance, double point1[3],
                               double point2[3], double* accuracy) {
    return host::guarded(__func__, [&]() -> int {
        if (!distance || !point1 || !point2 || !accuracy) return HM_ERR_NULL_POINTER;
        if ((guess1_given && !guess1) || (guess2_given && !guess2)) return HM_ERR_NULL_POINTER;
        auto shape_for = [](tag_t object, int given, const double* guess, TopoDS_Shape& shape) -> int {
            if (object == 0 && given) {
                shape = BRepBuilderAPI_MakeVertex(gp_Pnt(guess[0], guess[1], guess[2])).Vertex();
                return 0;
            }
            return operand(object, shape);
        };
        TopoDS_Shape s1, s2;
        if (int r = shape_for(object1, guess1_given, guess1, s1)) return r;
        if (int r = shape_for(object2, guess2_given, guess2, s2)) return r;
        BRepExtrema_DistShapeShape dist(s1, s2, Extrema_ExtFlag_MIN);
        if (!dist.IsDone() || dist.NbSolution() < 1) return HM_ERR_GEOMETRY;
        // Among equally near solutions, the one nearest to the guesses.
        int best = 1;
        double best_off = std::numeric_limits<double>::max();
        for (int i = 1; i <= dist.NbSolution(); ++i) {
            double off = 0.0;
            if (guess1_given) off += dist.PointOnShape1(i).Distance(gp_Pnt(guess1[0], guess1[1], guess1[2]));
            if (guess2_given) off += dist.PointOnShape2(i).Distance(gp_Pnt(guess2[0], guess2[1], guess2[2]));
            if (off < best_off) {
                best_off = off;
                best = i;
            }
        }
        const gp_Pnt p1 = dist.PointOnShape1(best), p2 = dist.PointOnShape2(best);
        *distance = dist.Value();
        for (int i = 0; i < 3; ++i) {
            point1[i] = p1.Coord(i + 1);
            point2[i] = p2.Coord(i + 1);
        }
        *accuracy = Precision::Confusion();
        return 0;
    });
}

int HM_MODL_ask_minimum_dist(tag_t object1, tag_t object2, int guess1_given, const double guess1[3],
                             int guess2_given, const double guess2[3], double* distance, double point1[3],
                             double point2[3]) {
    return host::guarded(__func__, [&]() -> int {
        double accuracy = 0.0;
        return HM_MODL_ask_minimum_dist_2(object1, guess1_given, guess1, object2, guess2_given, guess2, distance, point1,
                                          point2, &accuracy);
    });
}
