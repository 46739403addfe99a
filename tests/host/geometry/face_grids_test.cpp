// Display grids of faces in the stand-in host, the faces of a body in one
// array, the prototype to work on and the regeneration of an object.
#include "host_fixture.h"
#include "elvosk.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

namespace {

class FaceGridsTest : public HostTest {};

TEST_F(FaceGridsTest, GridCountsAreKeptPerFace) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    int n = 0;
    tag_t* faces = nullptr;
    ASSERT_EQ(PX_body_ask_faces_sm(box, &n, &faces), 0);
    ASSERT_EQ(n, 6);
    EXPECT_EQ(std::vector<tag_t>(faces, faces + n), support::faces_of(box));
    ASSERT_EQ(ES_write_grid_counts(faces[2], 6, 12), 0);
    EXPECT_EQ(host_testing::grid_counts(faces[2]), (std::array<int, 2>{6, 12}));
    EXPECT_EQ(host_testing::grid_counts(faces[3]), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(ES_write_grid_counts(faces[2], -1, 12), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(ES_write_grid_counts(box, 1, 1), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(ES_write_grid_counts(0, 1, 1), HM_ERR_INVALID_TAG);
    const tag_t face = faces[0];
    SM_free(faces);
    EXPECT_EQ(PX_body_ask_faces_sm(face, &n, &faces), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(es7034(box), box);
    EXPECT_EQ(DSS_REGEN_regen_object(box), 0);
    EXPECT_EQ(DSS_REGEN_regen_object(0), HM_ERR_INVALID_TAG);
}

}  // namespace
