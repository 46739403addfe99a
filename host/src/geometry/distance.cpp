// Bounding boxes (absolute and aligned to a coordinate system) and the
// minimum distance between two objects.
#include "geometry/bodies.h"

#include "omvra.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <gp_Ax3.hxx>
#include <gp_Trsf.hxx>

#include <limits>

namespace {

// Box of a shape: tight (exact geometry, tolerances left out) or widened by
// the shape's tolerances. False when the shape has no extent at all.
bool shape_box(const TopoDS_Shape& shape, bool expand, double lo[3], double hi[3]) {
    Bnd_Box box;
    if (shape.ShapeType() == TopAbs_VERTEX) {
        box.Add(BRep_Tool::Pnt(TopoDS::Vertex(shape)));
        if (expand) box.Enlarge(BRep_Tool::Tolerance(TopoDS::Vertex(shape)));
    } else if (expand) {
        BRepBndLib::Add(shape, box, false);
    } else {
        BRepBndLib::AddOptimal(shape, box, false, false);
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
    if (!box) return HM_ERR_NULL_POINTER;
    TopoDS_Shape shape;
    if (int r = operand(object, shape)) return r;
    try {
        double lo[3], hi[3];
        if (!shape_box(shape, false, lo, hi)) return HM_ERR_GEOMETRY;
        for (int i = 0; i < 3; ++i) {
            box[i] = lo[i];
            box[i + 3] = hi[i];
        }
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_MODL_ask_bounding_box_aligned(tag_t object, tag_t csys, bool expand, double min_corner[3],
                                     double directions[3][3], double distances[3]) {
    if (!min_corner || !directions || !distances) return HM_ERR_NULL_POINTER;
    TopoDS_Shape shape;
    if (int r = operand(object, shape)) return r;
    host::CsysData frame;
    if (int r = host::frame_of(csys, frame)) return r;
    try {
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
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_MODL_ask_minimum_dist_2(tag_t object1, int guess1_given, const double guess1[3], tag_t object2,
                               int guess2_given, const double guess2[3], double* distance, double point1[3],
                               double point2[3], double* accuracy) {
    if (!distance || !point1 || !point2 || !accuracy) return HM_ERR_NULL_POINTER;
    if ((guess1_given && !guess1) || (guess2_given && !guess2)) return HM_ERR_NULL_POINTER;
    auto shape_for = [](tag_t object, int given, const double* guess, TopoDS_Shape& shape) -> int {
        if (object == 0 && given) {
            shape = BRepBuilderAPI_MakeVertex(gp_Pnt(guess[0], guess[1], guess[2])).Vertex();
            return 0;
        }
        return operand(object, shape);
    };
    try {
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
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_MODL_ask_minimum_dist(tag_t object1, tag_t object2, int guess1_given, const double guess1[3],
                             int guess2_given, const double guess2[3], double* distance, double point1[3],
                             double point2[3]) {
    double accuracy = 0.0;
    return HM_MODL_ask_minimum_dist_2(object1, guess1_given, guess1, object2, guess2_given, guess2, distance, point1,
                                      point2, &accuracy);
}
