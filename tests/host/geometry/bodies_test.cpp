// Bodies of the stand-in host: tags of faces and edges, topology queries,
// kernel entities, face properties, projection onto faces, boxes and
// minimum distances.
#include "ambrith.h"
#include "geometry/bodies.h"
#include "host_fixture.h"
#include "kestrin.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <cmath>
#include <vector>

namespace {

using support::edges_of;
using support::faces_of;
using support::list_items;
using support::turned_csys;

constexpr double kTight = 1.0e-6;

// The point at the middle of a face's parameter box.
std::vector<double> face_middle(tag_t face) {
    double parm[2] = {0.5, 0.5}, p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
    EXPECT_EQ(HM_MODL_ask_face_props(face, parm, p, u1, v1, u2, v2, n, r), 0);
    return {p[0], p[1], p[2]};
}

const double kOrigin[3] = {0, 0, 0};

class BodyTopologyTest : public HostTest {};

TEST_F(BodyTopologyTest, FacesAndEdgesGetStableTagsOwnedByTheBody) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    tag_t box = host_testing::make_box(corner, size);
    ASSERT_NE(box, 0u);
    std::vector<tag_t> faces = faces_of(box), edges = edges_of(box);
    ASSERT_EQ(faces.size(), 6u);
    ASSERT_EQ(edges.size(), 12u);
    EXPECT_EQ(faces_of(box), faces) << "a second request answers the same tags";
    EXPECT_EQ(edges_of(box), edges);
    for (tag_t f : faces) {
        int type = 0, subtype = 0;
        ASSERT_EQ(HM_OBJ_ask_type_and_subtype(f, &type, &subtype), 0);
        EXPECT_EQ(type, HM_solid_type);
        EXPECT_EQ(subtype, HM_solid_face_subtype);
        tag_t body = 0;
        EXPECT_EQ(HM_MODL_ask_face_body(f, &body), 0);
        EXPECT_EQ(body, box);
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_MODL_ask_face_edges(f, &list), 0);
        EXPECT_EQ(list_items(list).size(), 4u);
        HM_MODL_delete_list(&list);
    }
    for (tag_t e : edges) {
        int type = 0, subtype = 0;
        ASSERT_EQ(HM_OBJ_ask_type_and_subtype(e, &type, &subtype), 0);
        EXPECT_EQ(subtype, HM_solid_edge_subtype);
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_MODL_ask_edge_faces(e, &list), 0);
        EXPECT_EQ(list_items(list).size(), 2u) << "every edge of a solid box joins two faces";
        HM_MODL_delete_list(&list);
    }
    // The same face of the kernel always answers the same tag.
    for (tag_t f : faces) EXPECT_EQ(host::tag_of_subshape(box, host::find(f)->shape), f);

    ASSERT_EQ(HM_OBJ_delete_object(box), 0);
    EXPECT_EQ(HM_OBJ_ask_status(faces[0]), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(edges[0]), HM_OBJ_DELETED);
    EXPECT_EQ(host_testing::count_objects(), 0) << "faces, edges and the feature go with the body";
}

TEST_F(BodyTopologyTest, FaceOrderIsTheSameForEqualBodies) {
    const double size[3] = {1, 2, 3};
    const double c1[3] = {0, 0, 0}, c2[3] = {100, 0, 0};
    std::vector<tag_t> f1 = faces_of(host_testing::make_box(c1, size));
    std::vector<tag_t> f2 = faces_of(host_testing::make_box(c2, size));
    ASSERT_EQ(f1.size(), f2.size());
    for (size_t i = 0; i < f1.size(); ++i) {
        std::vector<double> a = face_middle(f1[i]), b = face_middle(f2[i]);
        EXPECT_NEAR(a[0] + 100, b[0], kTight);
        EXPECT_NEAR(a[1], b[1], kTight);
        EXPECT_NEAR(a[2], b[2], kTight);
    }
}

TEST_F(BodyTopologyTest, OpenSheetEdgesHaveOneFaceAndEdgeVerticesAreItsEnds) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 5, 0};
    tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    ASSERT_NE(sheet, 0u);
    std::vector<tag_t> edges = edges_of(sheet);
    ASSERT_EQ(edges.size(), 4u);
    double length_sum = 0;
    for (tag_t e : edges) {
        hm_list_p_t list = nullptr;
        ASSERT_EQ(HM_MODL_ask_edge_faces(e, &list), 0);
        EXPECT_EQ(list_items(list).size(), 1u);
        HM_MODL_delete_list(&list);
        double p1[3], p2[3];
        int n = 0;
        ASSERT_EQ(HM_MODL_ask_edge_verts(e, p1, p2, &n), 0);
        EXPECT_EQ(n, 2);
        length_sum += std::hypot(p2[0] - p1[0], p2[1] - p1[1]);
    }
    EXPECT_NEAR(length_sum, 30.0, kTight);

    // The full circle of a cylinder's cap is one closed edge: one vertex.
    const double base[3] = {0, 0, 0}, axis[3] = {0, 0, 1};
    tag_t cylinder = host_testing::make_cylinder(base, axis, 4, 10);
    int closed = 0;
    for (tag_t e : edges_of(cylinder)) {
        double p1[3], p2[3];
        int n = 0;
        ASSERT_EQ(HM_MODL_ask_edge_verts(e, p1, p2, &n), 0);
        if (n == 1) ++closed;
    }
    EXPECT_EQ(closed, 2);
}

TEST_F(BodyTopologyTest, KernelEntitiesAndTypes) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1}, u[3] = {1, 0, 0}, v[3] = {0, 1, 0};
    tag_t box = host_testing::make_box(corner, size);
    tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    for (tag_t body : {box, sheet}) {
        tag_t entity = es7010_occ(body);
        ASSERT_NE(entity, 0u);
        int type = 0;
        ASSERT_EQ(GQ_BODY_ask_type(entity, &type), 0);
        EXPECT_EQ(type, GQ_BODY_type_solid) << "solid and sheet bodies are the same kernel kind";
        int n = 0;
        tag_t* faces = nullptr;
        ASSERT_EQ(GQ_BODY_ask_faces(entity, &n, &faces), 0);
        EXPECT_EQ(std::vector<tag_t>(faces, faces + n), faces_of(body)) << "kernel order is the host's order";
        SM_free(faces);
    }
    tag_t face = faces_of(box)[0];
    EXPECT_EQ(PX_ask_ptag_of_kw_eid(face), face);
    EXPECT_EQ(es7010_occ(face), 0u);
    EXPECT_EQ(PX_ask_ptag_of_kw_eid(box), 0u);

    // A section of two bodies is a wire body, another kernel kind.
    const double c2[3] = {0.5, 0.5, 0.5};
    tag_t other = host_testing::make_box(c2, size);
    int count = 0;
    tag_t* wires = nullptr;
    ASSERT_EQ(HM_MODL_intersect_bodies(box, other, &count, &wires), 0);
    ASSERT_GE(count, 1);
    int type = 0;
    ASSERT_EQ(GQ_BODY_ask_type(wires[0], &type), 0);
    EXPECT_EQ(type, GQ_BODY_type_wire);
    EXPECT_TRUE(faces_of(wires[0]).empty());
    HM_free(wires);
}

TEST_F(BodyTopologyTest, QueriesRefuseBadArguments) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t box = host_testing::make_box(corner, size);
    tag_t face = faces_of(box)[0];
    tag_t edge = edges_of(box)[0];
    hm_list_p_t list = nullptr;
    EXPECT_EQ(HM_MODL_ask_body_faces(0, &list), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_body_faces(face, &list), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_body_faces(box, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_ask_face_edges(box, &list), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_edge_faces(face, &list), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(list, nullptr) << "failures create no list";
    int type = 0;
    EXPECT_EQ(GQ_BODY_ask_type(edge, &type), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(GQ_BODY_ask_type(box, nullptr), HM_ERR_NULL_POINTER);
    double p[3], q[3], box6[6];
    int n;
    EXPECT_EQ(HM_MODL_ask_edge_verts(face, p, q, &n), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_bounding_box(0, box6), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_bounding_box(part_, box6), HM_ERR_WRONG_TYPE);
    ExpectNoLeaks();
}

/* ---- face properties ---- */

class FacePropsTest : public HostTest {};

TEST_F(FacePropsTest, SphereNormalPointsOutAndRadiusLeadsToTheCentre) {
    const double centre[3] = {1, 2, 3};
    tag_t sphere = host_testing::make_sphere(centre, 10);
    std::vector<tag_t> faces = faces_of(sphere);
    ASSERT_EQ(faces.size(), 1u);
    for (double s : {0.2, 0.5, 0.9}) {
        double parm[2] = {s, 0.3}, p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        ASSERT_EQ(HM_MODL_ask_face_props(faces[0], parm, p, u1, v1, u2, v2, n, r), 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR((p[i] - centre[i]) / 5.0, n[i], kTight) << "unit normal points outwards";
            EXPECT_NEAR(p[i] + r[0] * n[i], centre[i], kTight) << "point + r * normal is the centre";
        }
        EXPECT_NEAR(r[0], -5.0, kTight);
        EXPECT_NEAR(r[1], -5.0, kTight);
    }
}

// A mirror-like spherical patch (radius 500 about (0, 0, 0), around the
// point (500, 0, 0)) seen from outside (convex: normal away from the centre,
// r = -500) and from inside (its normal reversed: concave, r = +500): in
// both, the face point plus r times the normal is the sphere's centre.
TEST_F(FacePropsTest, SignedRadiusLeadsFromTheFacePointToTheSphereCentre) {
    const double centre[3] = {0, 0, 0}, direction[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const struct {
        const char* name;
        bool reversed;
        double radius;
        double normal_x;  // at the patch's middle (500, 0, 0)
    } cases[] = {{"seen from outside", false, -500.0, 1.0}, {"seen from inside", true, 500.0, -1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t patch = host_testing::make_spherical_patch(centre, 500.0, direction, up, 0.4, 0.3);
        ASSERT_NE(patch, 0u);
        if (c.reversed) {
            tag_t feature = 0;
            ASSERT_EQ(HM_MODL_create_reverse_normal(patch, &feature), 0);
        }
        const std::vector<tag_t> faces = faces_of(patch);
        ASSERT_EQ(faces.size(), 1u);
        const double probe[3] = {600, 0, 0};
        double parm[2], foot[3], p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        ASSERT_EQ(HM_MODL_ask_face_parm(faces[0], probe, parm, foot), 0);
        ASSERT_EQ(HM_MODL_ask_face_props(faces[0], parm, p, u1, v1, u2, v2, n, r), 0);
        EXPECT_NEAR(p[0], 500.0, 1e-6);
        EXPECT_NEAR(n[0], c.normal_x, 1e-9);
        EXPECT_NEAR(r[0], c.radius, 1e-6);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i] + r[0] * n[i], centre[i], 1e-6);
        // Off the middle too.
        const double corner_parm[2] = {0.1, 0.8};
        ASSERT_EQ(HM_MODL_ask_face_props(faces[0], corner_parm, p, u1, v1, u2, v2, n, r), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i] + r[0] * n[i], centre[i], 1e-6);
    }
}

TEST_F(FacePropsTest, NearestFacePointAndNormalisedParametersRoundTrip) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    tag_t box = host_testing::make_box(corner, size);
    // The face x = 10: the point (15, 3, 4) has its foot at (10, 3, 4); a
    // point beyond the face's edge finds the nearest edge point.
    struct Case {
        double ref[3];
        double foot[3];
    } cases[] = {{{15, 3, 4}, {10, 3, 4}}, {{15, 12, 4}, {10, 10, 4}}};
    tag_t face = 0;
    for (tag_t f : faces_of(box))
        if (std::fabs(face_middle(f)[0] - 10) < kTight) face = f;
    ASSERT_NE(face, 0u);
    for (const Case& c : cases) {
        double parm[2], foot[3];
        ASSERT_EQ(HM_MODL_ask_face_parm(face, c.ref, parm, foot), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(foot[i], c.foot[i], kTight);
        EXPECT_GE(parm[0], -kTight);
        EXPECT_LE(parm[0], 1 + kTight);
        EXPECT_GE(parm[1], -kTight);
        EXPECT_LE(parm[1], 1 + kTight);
        double p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        ASSERT_EQ(HM_MODL_ask_face_props(face, parm, p, u1, v1, u2, v2, n, r), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], c.foot[i], kTight);
        EXPECT_NEAR(n[0], 1.0, kTight) << "the face's outward normal";
        EXPECT_EQ(r[0], 0.0) << "flat";
        // Derivatives with respect to normalised parameters span the face.
        EXPECT_NEAR(std::sqrt(u1[0] * u1[0] + u1[1] * u1[1] + u1[2] * u1[2]), 10.0, kTight);
    }
}

// Points whose nearest face point lies on the face's boundary: a corner of
// a box face, the rim of a cylinder's end disc, and a cylinder's side seen
// from beyond its end. Each foot worked out by hand; the parameters give the
// foot back.
TEST_F(FacePropsTest, NearestPointOnTheBoundaryIsFoundOnEdgesAndCorners) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const double base[3] = {0, 0, 100}, axis[3] = {0, 0, 1};
    const tag_t cylinder = host_testing::make_cylinder(base, axis, 20.0, 30.0);
    tag_t box_face = 0, disc = 0, side = 0;
    for (tag_t f : faces_of(box))
        if (std::fabs(face_middle(f)[0] - 10) < kTight) box_face = f;
    for (tag_t f : faces_of(cylinder)) {
        int type = 0;
        HM_MODL_ask_face_type(f, &type);
        if (type != HM_FACE_PLANAR) side = f;
        else if (std::fabs(face_middle(f)[2] - 130) < kTight) disc = f;
    }
    ASSERT_NE(box_face, 0u);
    ASSERT_NE(disc, 0u);
    ASSERT_NE(side, 0u);
    const struct {
        const char* name;
        tag_t face;
        double ref[3];
        double foot[3];
    } cases[] = {
        {"box corner", box_face, {15, 12, 13}, {10, 10, 10}},
        // Above the top disc (z = 130, radius 10), 30 out along x: the rim.
        {"disc rim", disc, {40, 0, 140}, {10, 0, 130}},
        // Beside the side, 10 past its top end: the top circle.
        {"side's end circle", side, {0, 25, 140}, {0, 10, 130}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double parm[2], foot[3], p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        ASSERT_EQ(HM_MODL_ask_face_parm(c.face, c.ref, parm, foot), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(foot[i], c.foot[i], kTight);
        ASSERT_EQ(HM_MODL_ask_face_props(c.face, parm, p, u1, v1, u2, v2, n, r), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], c.foot[i], 1e-5);
    }
}

/* ---- projection onto a face ---- */

class FaceProjectionTest : public HostTest {
protected:
    // Hits of the projection, as points.
    std::vector<std::vector<double>> project(const double point[3], tag_t face, const double dir[3],
                                             int* result = nullptr) {
        tag_t set = OM_create_tag_set();
        int count = -1;
        int r = CPROJ_point_vector_face(point, face, dir, 2, set, &count);
        if (result) *result = r;
        std::vector<std::vector<double>> hits;
        int n = 0;
        tag_t* members = nullptr;
        OM_flatten_tag_set(set, &n, &members);
        EXPECT_EQ(r == 0 ? count : n, n);
        for (int i = 0; i < n; ++i) {
            host::Object* p = host::find(members[i], HM_point_type);
            EXPECT_NE(p, nullptr);
            if (p) hits.push_back({p->point[0], p->point[1], p->point[2]});
        }
        SM_free(members);
        OM_delete_object(set);
        return hits;
    }
};

TEST_F(FaceProjectionTest, HitsInsideTheBoundaryAlongTheDirectionOnly) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
    tag_t face = faces_of(host_testing::make_planar_sheet(corner, u, v))[0];
    const double down[3] = {0, 0, -1}, up[3] = {0, 0, 1};
    struct Case {
        const char* what;
        double point[3];
        const double* dir;
        int hits;
    } cases[] = {
        {"above the middle, looking down", {5, 5, 10}, down, 1},
        {"above the boundary edge", {10, 5, 10}, down, 1},
        {"outside the boundary", {15, 5, 10}, down, 0},
        {"looking away from the face", {5, 5, 10}, up, 0},
        {"below, looking up", {5, 5, -3}, up, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<double>> hits = project(c.point, face, c.dir);
        ASSERT_EQ(hits.size(), size_t(c.hits)) << c.what;
        if (c.hits) {
            EXPECT_NEAR(hits[0][0], c.point[0], kTight) << c.what;
            EXPECT_NEAR(hits[0][1], c.point[1], kTight) << c.what;
            EXPECT_NEAR(hits[0][2], 0.0, kTight) << c.what;
        }
    }
}

TEST_F(FaceProjectionTest, SeveralHitsOnOneFaceComeNearestFirst) {
    const double base[3] = {0, 0, 0}, axis[3] = {0, 0, 1};
    tag_t cylinder = host_testing::make_cylinder(base, axis, 10, 20);
    tag_t side = 0;
    for (tag_t f : faces_of(cylinder)) {
        double parm[2] = {0.5, 0.5}, p[3], u1[3], v1[3], u2[3], v2[3], n[3], r[2];
        HM_MODL_ask_face_props(f, parm, p, u1, v1, u2, v2, n, r);
        if (r[0] != 0.0) side = f;
    }
    ASSERT_NE(side, 0u);
    const double start[3] = {-20, 0, 5}, dir[3] = {1, 0, 0};
    std::vector<std::vector<double>> hits = project(start, side, dir);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_NEAR(hits[0][0], -5.0, kTight);
    EXPECT_NEAR(hits[1][0], 5.0, kTight);
}

TEST_F(FaceProjectionTest, RefusesWhatIsNotAFaceAndOtherModes) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t box = host_testing::make_box(corner, size);
    const double p[3] = {0.5, 0.5, 5}, dir[3] = {0, 0, -1}, zero[3] = {0, 0, 0};
    tag_t set = OM_create_tag_set();
    int count = 0;
    EXPECT_EQ(CPROJ_point_vector_face(p, box, dir, 2, set, &count), HM_ERR_WRONG_TYPE);
    tag_t face = faces_of(box)[0];
    EXPECT_EQ(CPROJ_point_vector_face(p, face, dir, 1, set, &count), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(CPROJ_point_vector_face(p, face, zero, 2, set, &count), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(CPROJ_point_vector_face(p, face, dir, 2, 0, &count), HM_ERR_INVALID_TAG);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 0);
    OM_delete_object(set);
}

/* ---- boxes ---- */

class BoundingBoxTest : public HostTest {};

TEST_F(BoundingBoxTest, AbsoluteBoxIsTight) {
    const double corner[3] = {1, 2, 3}, size[3] = {4, 5, 6}, centre[3] = {10, 0, 0};
    struct Case {
        tag_t object;
        double box[6];
    } cases[] = {
        {host_testing::make_box(corner, size), {1, 2, 3, 5, 7, 9}},
        {host_testing::make_sphere(centre, 8), {6, -4, -4, 14, 4, 4}},
    };
    for (const Case& c : cases) {
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(c.object, box), 0);
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], c.box[i], 1e-6) << i;
    }
    // A feature stands for its body.
    tag_t feature = HM_OBJ_cycle_objs_in_part(part_, HM_feature_type, 0);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(feature, box), 0);
    EXPECT_NEAR(box[3], 5, 1e-6);
}

TEST_F(BoundingBoxTest, AlignedBoxOfATiltedCylinderIsTightInItsFrame) {
    // A cylinder along the direction at 30 degrees in the xy plane; in a
    // system whose x axis is that direction its box is height x d x d.
    const double a = 30 * M_PI / 180;
    const double base[3] = {5, 6, 7}, axis[3] = {std::cos(a), std::sin(a), 0};
    tag_t cylinder = host_testing::make_cylinder(base, axis, 4, 20);
    tag_t csys = turned_csys(kOrigin, 30);
    double corner[3], dirs[3][3], extent[3];
    ASSERT_EQ(HM_MODL_ask_bounding_box_aligned(cylinder, csys, false, corner, dirs, extent), 0);
    EXPECT_NEAR(extent[0], 20, 1e-6);
    EXPECT_NEAR(extent[1], 4, 1e-6);
    EXPECT_NEAR(extent[2], 4, 1e-6);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(dirs[0][i], axis[i], 1e-12);
    // The minimum corner: the base centre less the radius along y and z of the frame.
    const double y[3] = {-std::sin(a), std::cos(a), 0};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(corner[i], base[i] - 2 * y[i] - 2 * (i == 2), 1e-6);

    // Expanded, the box can only grow.
    double corner2[3], dirs2[3][3], extent2[3];
    ASSERT_EQ(HM_MODL_ask_bounding_box_aligned(cylinder, csys, true, corner2, dirs2, extent2), 0);
    for (int i = 0; i < 3; ++i) EXPECT_GE(extent2[i], extent[i] - 1e-9);

    // In absolute axes the same cylinder is wider.
    ASSERT_EQ(HM_MODL_ask_bounding_box_aligned(cylinder, 0, false, corner, dirs, extent), 0);
    EXPECT_NEAR(extent[0], 20 * std::cos(a) + 4 * std::sin(a), 1e-6);
    EXPECT_NEAR(extent[2], 4, 1e-6);
}

TEST_F(BoundingBoxTest, AlignedBoxRefusesWhatIsNotACsys) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t box = host_testing::make_box(corner, size);
    double c[3], d[3][3], e[3];
    EXPECT_EQ(HM_MODL_ask_bounding_box_aligned(box, box, false, c, d, e), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_bounding_box_aligned(box, 0, false, c, nullptr, e), HM_ERR_NULL_POINTER);
}

/* ---- minimum distance ---- */

class MinimumDistanceTest : public HostTest {};

TEST_F(MinimumDistanceTest, NearestPointsBetweenObjects) {
    const double size[3] = {10, 10, 10}, c1[3] = {0, 0, 0}, c2[3] = {20, 0, 0}, centre[3] = {5, 5, 30};
    tag_t a = host_testing::make_box(c1, size);
    tag_t b = host_testing::make_box(c2, size);
    tag_t sphere = host_testing::make_sphere(centre, 10);
    double d, p1[3], p2[3], accuracy;
    ASSERT_EQ(HM_MODL_ask_minimum_dist_2(a, 0, nullptr, b, 0, nullptr, &d, p1, p2, &accuracy), 0);
    EXPECT_NEAR(d, 10, 1e-7);
    EXPECT_NEAR(p1[0], 10, 1e-7);
    EXPECT_NEAR(p2[0], 20, 1e-7);
    EXPECT_GT(accuracy, 0.0);

    ASSERT_EQ(HM_MODL_ask_minimum_dist(a, sphere, 0, nullptr, 0, nullptr, &d, p1, p2), 0);
    EXPECT_NEAR(d, 15, 1e-6);
    EXPECT_NEAR(p1[2], 10, 1e-6);
    EXPECT_NEAR(p2[0], 5, 1e-6);
    EXPECT_NEAR(p2[2], 25, 1e-6);

    // No second object: its guess is the point measured from.
    const double point[3] = {5, 5, 50};
    ASSERT_EQ(HM_MODL_ask_minimum_dist(sphere, 0, 0, nullptr, 1, point, &d, p1, p2), 0);
    EXPECT_NEAR(d, 15, 1e-6);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(p2[i], point[i], 1e-12);

    EXPECT_EQ(HM_MODL_ask_minimum_dist(a, 0, 0, nullptr, 0, nullptr, &d, p1, p2), HM_ERR_INVALID_TAG);
}

TEST_F(MinimumDistanceTest, GuessChoosesAmongEquallyNearPoints) {
    // Two faces facing each other are equally near everywhere; the guesses
    // pick the corner pair next to them.
    const double size[3] = {10, 10, 10}, c1[3] = {0, 0, 0}, c2[3] = {20, 0, 0};
    tag_t a = host_testing::make_box(c1, size);
    tag_t b = host_testing::make_box(c2, size);
    const double g1[3] = {10, 10, 10}, g2[3] = {20, 10, 10};
    double d, p1[3], p2[3];
    ASSERT_EQ(HM_MODL_ask_minimum_dist(a, b, 1, g1, 1, g2, &d, p1, p2), 0);
    EXPECT_NEAR(d, 10, 1e-7);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(p1[i], g1[i], 1e-7);
        EXPECT_NEAR(p2[i], g2[i], 1e-7);
    }
}

}  // namespace
