// The 2003 mirror-certification engine's vision-triangle judgement with 0, 2
// and 8 restrictions seen in the mirror, beside the geometry kernel's own
// Booleans of the same restriction images, views and triangle.
//
// A flat mirror in the plane x = 0 facing +x (glass |y|, |z| <= 100), the
// outer eyes at (1000, -/+32.5, 0), the target plane x = 3000: a point (x, y,
// z) in front of the mirror is seen on the target plane at (3000, ye + k (y -
// ye), k z), k = 4000 / (x + 1000). The triangle is the rectangle |y| <= 300,
// |z| <= 200 on the target plane, inside both eyes' views. The restrictions
// are 30 x 12 boards at x = 2000 (k = 4/3) in two columns (y = -/+60) and up
// to four rows; each eye sees a 40 x 16 image of each, the two eyes' images
// of one board overlap in 18.333 x 16, which the triangle loses. Set-up
// checks the obstruction of a whole run, and the kernel's area left, against
// those overlaps before anything is timed.
//
//   mirror2003/judge/<n>   mc_judge_vision_triangle (through the release's
//                          static archive: it is the engine's internal), its
//                          triangle and images deleted within each timed run:
//                          the triangle cut to the union of the views, each
//                          board carried through the mirror for each eye and
//                          its image subtracted from that eye's view, the two
//                          views united and the triangle cut to them;
//   mirror2003/kernel/<n>  the same Booleans on the same faces (the library's
//                          images read back pole for pole): for each eye one
//                          BRepAlgoAPI_Cut per board from that eye's view,
//                          the two fused, the triangle's common part with
//                          them, its area measured (the baseline).
// Baseline: for each eye one BRepAlgoAPI_Cut per restriction of the same image faces from the same view face, then BRepAlgoAPI_Fuse of the two and BRepAlgoAPI_Common with the same triangle face.
#include "hm_vd.h"
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "kernel_booleans.h"
#include "omvra.h"
#include "r2003_mirror.h"
#include "ratio_report.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace carvell::r2003;

const int kCounts[] = {0, 2, 8};
const double kEyes[3][3] = {{1000, -32.5, 0}, {1000, 0, 0}, {1000, 32.5, 0}};
constexpr double kTargetX = 3000.0, kBoardX = 2000.0;
constexpr double kBoardHalfY = 15.0, kBoardHalfZ = 6.0;
const double kColumns[2] = {-60.0, 60.0};
const double kRows[4] = {-54.0, -18.0, 18.0, 54.0};
constexpr double kTriangleArea = 600.0 * 400.0;
// The overlap of one board's two images: 40 - 65 / 3 wide (the eyes' images
// lie 2 * 32.5 / 3 apart), 16 high.
constexpr double kOverlapArea = (40.0 - 65.0 / 3.0) * 16.0;
constexpr double kImageArea = 40.0 * 16.0;
// The images are closed splines through 128 outline points; their bulging
// corners make the areas good to this share.
constexpr double kSplineShare = 5e-3;

struct Rect {
    double x, y0, y1, z0, z1;
};

tag_t host_sheet(const Rect& r) {
    const double corner[3] = {r.x, r.y0, r.z0}, u[3] = {0, r.y1 - r.y0, 0}, v[3] = {0, 0, r.z1 - r.z0};
    return host_testing::make_planar_sheet(corner, u, v);
}

const Rect kTriangle{kTargetX, -300, 300, -200, 200};
const Rect kEye0View{kTargetX, -302.5, 497.5, -400, 400};
const Rect kEye2View{kTargetX, -497.5, 302.5, -400, 400};

TopoDS_Face kernel_face(const Rect& r) {
    BRepBuilderAPI_MakePolygon outline(gp_Pnt(r.x, r.y0, r.z0), gp_Pnt(r.x, r.y1, r.z0), gp_Pnt(r.x, r.y1, r.z1),
                                       gp_Pnt(r.x, r.y0, r.z1), Standard_True);
    return BRepBuilderAPI_MakeFace(outline.Wire(), Standard_True).Face();
}

std::vector<Rect> boards(int n) {
    std::vector<Rect> out;
    for (int i = 0; i < n; ++i) {
        const double cy = kColumns[i % 2], cz = kRows[i / 2];
        out.push_back({kBoardX, cy - kBoardHalfY, cy + kBoardHalfY, cz - kBoardHalfZ, cz + kBoardHalfZ});
    }
    return out;
}

// A part holding one scene: the triangle, the eyes' views and the boards in
// the record's restrictions seen in the mirror.
struct Scene {
    mc_data_2003_s data{};
    mc_mirror_surface_s mirror{{0, 0, 0}, 0.0, 0.0, {0, 0, 0}, {1, 0, 0}};
    tag_t triangle = 0, eye0 = 0, eye2 = 0;
};

bool make_scene(int n, Scene* scene) {
    host_testing::reset();
    host_testing::make_part("bench_mirror_2003");
    scene->triangle = host_sheet(kTriangle);
    scene->eye0 = host_sheet(kEye0View);
    scene->eye2 = host_sheet(kEye2View);
    std::vector<tag_t> restrictions;
    for (const Rect& b : boards(n)) restrictions.push_back(host_sheet(b));
    mc_input_data_2003_t in{};
    in.mirror_kind = 1;
    in.standard = 1;
    in.mt_restriction_count = n;
    in.mt_restrictions = restrictions.data();
    return HM_VD_MC_init_data(&in, &scene->data) == 0;
}

// One judgement; its triangle and images are deleted, and its messages
// dropped, unless the images are asked for. The obstruction, -1 when the
// judgement failed.
double judge_once(Scene& scene, std::vector<tag_t>* images = nullptr) {
    hm_list_p_t results = nullptr;
    HM_MODL_create_list(&results);
    double obstruction = 0.0;
    tag_t triangle = 0;
    const double target_x = kTargetX;
    const int status = mc_judge_vision_triangle(scene.triangle, scene.eye0, scene.eye2, 0, 0, 6, 7, &scene.mirror,
                                                &scene.data, kEyes, &target_x, 0, results, &obstruction, &triangle);
    for (hm_list_p_t node = results ? results->next : nullptr; node; node = node->next) {
        if (images)
            images->push_back(node->eid);
        else
            HM_OBJ_delete_object(node->eid);
    }
    HM_MODL_delete_list(&results);
    if (triangle) HM_OBJ_delete_object(triangle);
    scene.data.message_count = 0;
    return status == 0 && triangle != 0 ? obstruction : -1.0;
}

// The host's image read back as a kernel face: the B-spline of its outline,
// pole for pole.
bool kernel_image(tag_t image, TopoDS_Face* face) {
    mc_geometry_set_s set{};
    int n = 0, order = 0;
    double *knots = nullptr, *poles = nullptr;
    bool ok = mc_build_geometry_set(image, nullptr, 0, &set) == 0 &&
              HM_CURVE_ask_spline_data(set.outline, &n, &order, &knots, &poles) == 0 && n > 1 && order > 1;
    if (ok) {
        TColgp_Array1OfPnt points(1, n);
        TColStd_Array1OfReal weights(1, n);
        for (int i = 0; i < n; ++i) {
            const double* p = poles + 4 * i;
            points.SetValue(i + 1, gp_Pnt(p[0] / p[3], p[1] / p[3], p[2] / p[3]));
            weights.SetValue(i + 1, p[3]);
        }
        std::vector<double> values;
        std::vector<int> counts;
        for (int j = 0; j < n + order; ++j) {
            if (values.empty() || knots[j] - values.back() > 1e-12) {
                values.push_back(knots[j]);
                counts.push_back(1);
            } else {
                ++counts.back();
            }
        }
        TColStd_Array1OfReal distinct(1, static_cast<int>(values.size()));
        TColStd_Array1OfInteger multiplicities(1, static_cast<int>(values.size()));
        for (size_t j = 0; j < values.size(); ++j) {
            distinct.SetValue(static_cast<int>(j) + 1, values[j]);
            multiplicities.SetValue(static_cast<int>(j) + 1, counts[j]);
        }
        Handle(Geom_BSplineCurve) curve = new Geom_BSplineCurve(points, weights, distinct, multiplicities, order - 1);
        BRepBuilderAPI_MakeWire wire(BRepBuilderAPI_MakeEdge(curve).Edge());
        BRepBuilderAPI_MakeFace made(wire.Wire(), Standard_True);
        ok = made.IsDone();
        if (ok) *face = made.Face();
    }
    HM_free(knots);
    HM_free(poles);
    mc_free_geometry_set(&set);
    return ok;
}

// An outline of one spline edge of many spans needs the adaptive
// integration (to 1e-9 relative) to be measured right.
double kernel_area(const TopoDS_Shape& shape) {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(shape, props, 1e-9);
    return props.Mass();
}

// The kernel's: each eye's view less that eye's images, one Cut per image,
// the two fused, and the triangle's part within them; its area.
double kernel_judge(const TopoDS_Face& triangle, const TopoDS_Face views[2],
                    const std::vector<std::vector<TopoDS_Face>>& per_eye) {
    TopoDS_Shape visible[2] = {views[0], views[1]};
    for (int eye = 0; eye < 2; ++eye)
        for (const TopoDS_Face& image : per_eye[eye])
            visible[eye] = bench_kernel::boolean<BRepAlgoAPI_Cut>(visible[eye], image);
    const TopoDS_Shape united = bench_kernel::boolean<BRepAlgoAPI_Fuse>(visible[0], visible[1]);
    return kernel_area(bench_kernel::boolean<BRepAlgoAPI_Common>(triangle, united));
}

bool near(double value, double expected, double tolerance) { return std::fabs(value - expected) <= tolerance; }

}  // namespace

int main(int argc, char** argv) {
    static const TopoDS_Face kernel_triangle = kernel_face(kTriangle);
    static const TopoDS_Face kernel_views[2] = {kernel_face(kEye0View), kernel_face(kEye2View)};
    // The kernel's images of each count: eye 0's, then eye 2's.
    static std::vector<std::vector<std::vector<TopoDS_Face>>> kernel_images;
    for (int n : kCounts) {
        Scene scene;
        if (!make_scene(n, &scene)) {
            std::fprintf(stderr, "the scene of %d boards was not made\n", n);
            return 1;
        }
        std::vector<tag_t> images;
        const double obstruction = judge_once(scene, &images);
        const double expected = n * kOverlapArea / kTriangleArea * 100.0;
        // The list holds, per eye and board, the image on the mirror and the
        // one on the target plane.
        std::vector<std::vector<TopoDS_Face>> per_eye(2);
        bool read = images.size() == static_cast<size_t>(4 * n);
        for (size_t i = 1; read && i < images.size(); i += 2) {
            TopoDS_Face face;
            read = kernel_image(images[i], &face) &&
                   near(kernel_area(face), host_testing::surface_area(images[i]), 1e-6 * kImageArea);
            per_eye[i < images.size() / 2 ? 0 : 1].push_back(face);
        }
        const double left = read ? kernel_judge(kernel_triangle, kernel_views, per_eye) : -1.0;
        const double by_hand = kTriangleArea - n * kOverlapArea;
        std::printf("%d boards: obstruction %.4f %% (overlaps by hand %.4f %%); kernel area left %.2f (by hand "
                    "%.2f)\n",
                    n, obstruction, expected, left, by_hand);
        const bool ok = read && near(obstruction, expected, kSplineShare * expected + 1e-9) &&
                        near(left, by_hand, kSplineShare * n * kOverlapArea + 1e-6);
        HM_VD_MC_release_data(&scene.data);
        if (!ok) {
            std::fprintf(stderr, "the judgement of %d boards is wrong\n", n);
            return 1;
        }
        kernel_images.push_back(per_eye);
    }
    host_testing::reset();

    std::vector<carvell_bench::Ratio> ratios;
    for (size_t i = 0; i < std::size(kCounts); ++i) {
        const int n = kCounts[i];
        const std::string judge = "mirror2003/judge/" + std::to_string(n),
                          kernel = "mirror2003/kernel/" + std::to_string(n);
        benchmark::RegisterBenchmark(judge.c_str(), [n](benchmark::State& state) {
            Scene scene;
            if (!make_scene(n, &scene)) state.SkipWithError("no scene");
            for (auto _ : state) benchmark::DoNotOptimize(judge_once(scene));
            HM_VD_MC_release_data(&scene.data);
            host_testing::reset();
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [i](benchmark::State& state) {
            for (auto _ : state)
                benchmark::DoNotOptimize(kernel_judge(kernel_triangle, kernel_views, kernel_images[i]));
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"judge/kernel " + std::to_string(n) + " boards", judge, kernel});
    }
    return carvell_bench::run_with_ratios(argc, argv, ratios);
}
