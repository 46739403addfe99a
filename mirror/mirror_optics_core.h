// The optics of a plane or spherical mirror that both certification engines
// use: the reflection point of an eye and a target, the reflected sight ray,
// the aim of a plane mirror and the head turn of the eyes. Plain values in,
// plain values out: no working record, no record type of either release.
// A failure is handed, with its text, to the caller's reporter, which gives
// back the status to return (the current engine logs the text, the 2003
// engine only returns the status).
//
// With c the curvature, n the unit normal and d = X - vertex for a point X:
// F(X) = c |d|^2 + 2 n.d is zero on the surface and positive on the viewing
// side; s(X) = F / (|c d + n| + 1) is the signed distance (|X - centre| - R
// on a sphere, n.d on a plane); m(X) = unit(c d + n) the normal at the
// surface point nearest X.
#ifndef CARVELL_MIRROR_MIRROR_OPTICS_CORE_H
#define CARVELL_MIRROR_MIRROR_OPTICS_CORE_H

namespace carvell::mirror::optics {

// The mirror surface as both engines' records hold it.
struct Surface {
    double curvature;         // 1 / radius; 0 for a plane
    double radius;            // 0 for a plane
    double vertex[3];
    double normal[3];         // unit, towards the viewing side
};

// Receives a failure's text and status and gives the status to return.
using Reporter = int (*)(const char* text, int status);

// Where the foot of a target lying on the mirror is taken along: the
// mirror normal nearest the target (current engine) or nearest the eye
// (2003 engine).
enum class TargetFoot { NormalAtTarget, NormalAtEye };

// The mirror point through which the eye sees the target; tolerances are
// {distance, angle in degrees}. 0 with `out` written; 1 eye not on the
// viewing side; 3 a normal without direction; 4 eye and target coincide
// within the angle tolerance; 5 the eye-target segment crosses the mirror;
// 6 both too close to the mirror; 7 no solution in 25 iterations. A radius
// of 0 is a plane. Inputs are finite and the radius not negative.
int pierce(const double tolerances[2], const Surface& surface, const double eye[3], const double target[3],
           double out[3], Reporter report, TargetFoot foot);

// What a ray that only touches the mirror counts as: a miss (current
// engine), or a hit at the touching point (2003 engine; a ray along a plane
// mirror then points away).
enum class Touching { Misses, Hits };

// The reflection of the ray from the eye through `through`: the mirror point
// and the reflected unit direction, written only with 0; 1 a direction
// without length; 2 eye not on the viewing side; 3 the ray misses; 4 the ray
// points away.
int reflect(const Surface& surface, const double eye[3], const double through[3], double tolerance,
            double point[3], double direction[3], Reporter report, Touching touching);

// How a plane mirror (point, unit normal) must turn about the pivot so that
// the eye sees the target (target kind 0 a point, otherwise a unit
// direction): the twelve-value matrix of the single rotation. 0 aimed; 1 a
// vector without direction or the rotation failed; 2 eye, 3 target closer
// than the distance tolerance; 4 eye and target directions nearly opposite;
// 5 no convergence in 50 iterations.
int aim_plane_mirror(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                     const double mirror_normal[3], int target_kind, const double eye[3], const double target[3],
                     double matrix[12], Reporter report);

// The eye triple in plan view turned about the head pivot when the outer eye
// (entry 2 when the eye reference's y is at least the mirror's reference y,
// else entry 0) would look more than 30 degrees sideways at the target.
// Writes the turned triple, the angle to the target in degrees and whether
// the head turned.
void apply_head_rotation(double eye_reference_y, double mirror_reference_y, const double eyes[3][3],
                         const double pivot[3], const double target[3], double out_eyes[3][3], double* angle,
                         bool* rotated);

}  // namespace carvell::mirror::optics

#endif
