// The geometry kernel's own copies of the curves a benchmark also makes in a
// host part, built from the same data the way the host builds them (a
// trimmed line, a trimmed circle, a cubic interpolated at chord-length
// parameters), so that host calls and kernel calls work on the same curve.
#ifndef CARVELL_BENCH_KERNEL_CURVES_H
#define CARVELL_BENCH_KERNEL_CURVES_H

#include "host_testing.h"

#include <GC_MakeArcOfCircle.hxx>
#include <GC_MakeSegment.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Curve.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <TColStd_HArray1OfReal.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pnt.hxx>

#include <vector>

namespace carvell_bench {

using host_testing::Point3;

constexpr double kPi = 3.14159265358979323846;

inline gp_Pnt to_gp(const Point3& p) { return gp_Pnt(p[0], p[1], p[2]); }

// The segment from a to b.
inline Handle(Geom_Curve) kernel_line(const Point3& a, const Point3& b) {
    Handle(Geom_TrimmedCurve) segment = GC_MakeSegment(to_gp(a), to_gp(b)).Value();
    return segment;
}

// The arc about the centre in the plane of the unit axes x and y, from the
// start angle to the end angle (radians, measured from x towards y).
inline Handle(Geom_Curve) kernel_arc(const Point3& centre, const Point3& x_axis, const Point3& y_axis,
                                     double radius, double start, double end) {
    const gp_Dir x(x_axis[0], x_axis[1], x_axis[2]), y(y_axis[0], y_axis[1], y_axis[2]);
    const gp_Circ circle(gp_Ax2(to_gp(centre), x.Crossed(y), x), radius);
    Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfCircle(circle, start, end, true).Value();
    return arc;
}

// Cubic through the points at chord-length parameters from 0 to 1; null when
// the kernel cannot interpolate them.
inline Handle(Geom_Curve) kernel_spline(const std::vector<Point3>& points) {
    const int n = static_cast<int>(points.size());
    Handle(TColgp_HArray1OfPnt) poles = new TColgp_HArray1OfPnt(1, n);
    Handle(TColStd_HArray1OfReal) params = new TColStd_HArray1OfReal(1, n);
    double length = 0.0;
    std::vector<double> u(n, 0.0);
    for (int i = 0; i < n; ++i) {
        poles->SetValue(i + 1, to_gp(points[i]));
        if (i > 0) u[i] = length += to_gp(points[i - 1]).Distance(to_gp(points[i]));
    }
    for (int i = 0; i < n; ++i) params->SetValue(i + 1, i + 1 == n ? 1.0 : u[i] / length);
    GeomAPI_Interpolate interpolate(poles, params, false, Precision::Confusion());
    interpolate.Perform();
    if (!interpolate.IsDone()) return nullptr;
    Handle(Geom_BSplineCurve) spline = interpolate.Curve();
    return spline;
}

}  // namespace carvell_bench

#endif
