// The stand-in host's core: undo rollback, marks, lists, memory, sessions,
// handles and the host exception.
#include "core/model.h"
#include "farquil.h"
#include "host_fixture.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include <cstring>
#include <functional>

namespace {

// A bare object of the work part with a name, for undo tests that need no
// geometry.
tag_t make_named(const char* name) {
    host::Object& o = host::create(HM_point_type, 0);
    o.name = name;
    return o.tag;
}

class UndoTest : public HostTest {};

TEST_F(UndoTest, RestoresDeletedAndChangedObjectsAndRemovesCreatedOnes) {
    tag_t kept = make_named("kept");
    tag_t doomed = make_named("doomed");
    ASSERT_EQ(HM_OBJ_set_layer(kept, 5), 0);
    UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "probe");

    ASSERT_EQ(HM_OBJ_set_layer(kept, 42), 0);
    ASSERT_EQ(HM_OBJ_set_name(kept, "renamed"), 0);
    ASSERT_EQ(HM_ATTR_set_real(kept, "LENGTH", 3.5), 0);
    ASSERT_EQ(HM_OBJ_delete_object(doomed), 0);
    tag_t created = make_named("created");
    ASSERT_EQ(HM_MODL_set_distance_tolerance(0.5), 0);

    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);

    int layer = 0;
    char name[32];
    ASSERT_EQ(HM_OBJ_ask_layer(kept, &layer), 0);
    EXPECT_EQ(layer, 5);
    ASSERT_EQ(HM_OBJ_ask_name(kept, name, sizeof name), 0);
    EXPECT_STREQ(name, "kept");
    double length = 0;
    EXPECT_EQ(HM_ATTR_ask_real(kept, "LENGTH", &length), HM_ERR_NOT_FOUND);
    EXPECT_EQ(HM_OBJ_ask_status(doomed), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(created), HM_OBJ_DELETED);
    double tol = 0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tol), 0);
    EXPECT_DOUBLE_EQ(tol, 0.01);
    EXPECT_TRUE(UNDO_KW_ask_mark_exist(mark)) << "undo keeps the mark itself";
}

TEST_F(UndoTest, NestedMarksUndoToTheOuterOneDropsTheInner) {
    UNDO_mark_t outer = UNDO_KW_set_mark(UNDO_visible, "outer");
    tag_t a = make_named("a");
    UNDO_mark_t inner = UNDO_KW_set_mark(UNDO_invisible, nullptr);
    tag_t b = make_named("b");

    ASSERT_EQ(UNDO_KW_undo_to_mark(inner), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_DELETED);

    ASSERT_EQ(UNDO_KW_undo_to_mark(outer), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_DELETED);
    EXPECT_FALSE(UNDO_KW_ask_mark_exist(inner));
    EXPECT_EQ(UNDO_KW_undo_to_mark(inner), HM_ERR_UNDO_MARK);
    EXPECT_STREQ(UNDO_KW_ask_mark_name(outer), "outer");
}

TEST_F(UndoTest, DeletingMarksKeepsTheModel) {
    UNDO_mark_t first = UNDO_KW_set_mark(UNDO_visible, "first");
    UNDO_mark_t second = UNDO_KW_set_mark(UNDO_visible, "second");
    tag_t a = make_named("a");
    ASSERT_EQ(UNDO_KW_delete_mark(second), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    EXPECT_TRUE(UNDO_KW_ask_mark_exist(first));
    UNDO_KW_set_mark(UNDO_visible, "third");
    ASSERT_EQ(UNDO_KW_delete_to_mark(first), 0);
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    EXPECT_EQ(UNDO_KW_delete_mark(first), HM_ERR_UNDO_MARK);
}

// Marks found by name: the newest mark of the name, which stays while the
// marks set after it go; an unknown name changes nothing.
TEST_F(UndoTest, UndoToAMarkByNameRestoresTheNewestMarkOfThatName) {
    int first = 0, second = 0, later = 0;
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_visible, "restriction", &first), 0);
    const tag_t a = make_named("a");
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_visible, "restriction", &second), 0);
    const tag_t b = make_named("b");
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_visible, "later", &later), 0);
    const tag_t c = make_named("c");

    EXPECT_EQ(HM_UNDO_undo_to_mark("unknown"), HM_ERR_UNDO_MARK);
    EXPECT_EQ(HM_OBJ_ask_status(c), HM_OBJ_ALIVE) << "an unknown name changes nothing";
    EXPECT_EQ(HM_UNDO_undo_to_mark(nullptr), HM_ERR_NULL_POINTER);

    ASSERT_EQ(HM_UNDO_undo_to_mark("restriction"), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(c), HM_OBJ_DELETED);
    EXPECT_TRUE(UNDO_KW_ask_mark_exist(second)) << "the mark itself stays";
    EXPECT_FALSE(UNDO_KW_ask_mark_exist(later));
    EXPECT_EQ(HM_UNDO_undo_to_mark("later"), HM_ERR_UNDO_MARK);
    EXPECT_TRUE(UNDO_KW_ask_mark_exist(first));
}

TEST_F(UndoTest, DeletingAllMarksKeepsTheModel) {
    int mark = 0;
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_visible, "restriction", &mark), 0);
    ASSERT_EQ(HM_UNDO_set_mark(UNDO_invisible, "undo", &mark), 0);
    const tag_t a = make_named("a");
    ASSERT_EQ(HM_UNDO_delete_all_marks(), 0);
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_UNDO_undo_to_last_mark(), HM_ERR_UNDO_MARK);
    EXPECT_EQ(HM_UNDO_undo_to_mark("restriction"), HM_ERR_UNDO_MARK);
    EXPECT_EQ(HM_UNDO_delete_all_marks(), 0) << "no marks: nothing to do";
}

TEST_F(UndoTest, ImportanceMarksTheMarkAndMayRenameIt) {
    UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "step");
    EXPECT_FALSE(UNDO_KW_ask_mark_important(mark));
    ASSERT_EQ(UNDO_KW_set_mark_importance(mark, nullptr), 0);
    EXPECT_TRUE(UNDO_KW_ask_mark_important(mark));
    EXPECT_STREQ(UNDO_KW_ask_mark_name(mark), "step");
    ASSERT_EQ(UNDO_KW_set_mark_importance(mark, "renamed"), 0);
    EXPECT_STREQ(UNDO_KW_ask_mark_name(mark), "renamed");
    EXPECT_EQ(UNDO_KW_set_mark_importance(mark + 1, nullptr), HM_ERR_UNDO_MARK);
}

TEST_F(UndoTest, DeferredDeletionHappensAtTheUpdate) {
    tag_t a = make_named("a");
    ASSERT_EQ(UPDATE_log_entity_to_delete(a), 0);
    EXPECT_TRUE(UPDATE_is_object_logged(a));
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    ASSERT_EQ(UPDATE_do_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_DELETED);
    EXPECT_EQ(UPDATE_log_entity_to_delete(a), HM_ERR_INVALID_TAG);
}

class ObjectTableTest : public HostTest {};

TEST_F(ObjectTableTest, BadTagsAndNullOutputsAreRefused) {
    int type = 7, subtype = 7;
    EXPECT_EQ(HM_OBJ_ask_type_and_subtype(0, &type, &subtype), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_OBJ_ask_type_and_subtype(987654, &type, &subtype), HM_ERR_INVALID_TAG);
    EXPECT_EQ(type, 7);
    tag_t a = make_named("a");
    EXPECT_EQ(HM_OBJ_ask_type_and_subtype(a, nullptr, &subtype), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_OBJ_set_layer(a, 0), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_OBJ_set_layer(a, 257), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_OBJ_delete_object(0), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_OBJ_delete_object(part_), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(OM_delete_object(part_), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE);
    char name[4];
    ASSERT_EQ(HM_OBJ_set_name(a, "a long name"), 0);
    ASSERT_EQ(HM_OBJ_ask_name(a, name, sizeof name), 0);
    EXPECT_STREQ(name, "a l") << "names are cut to the buffer, never overrun";
}

TEST_F(ObjectTableTest, CyclesObjectsOfATypeInCreationOrder) {
    tag_t a = make_named("a");
    tag_t b = make_named("b");
    ASSERT_EQ(HM_OBJ_delete_object(a), 0);
    tag_t c = make_named("c");
    EXPECT_EQ(HM_OBJ_cycle_objs_in_part(part_, HM_point_type, 0), b);
    EXPECT_EQ(HM_OBJ_cycle_objs_in_part(part_, HM_point_type, b), c);
    EXPECT_EQ(HM_OBJ_cycle_objs_in_part(part_, HM_point_type, c), 0u);
    tag_t named = 0;
    EXPECT_EQ(HM_OBJ_cycle_by_name("c", &named), 0);
    EXPECT_EQ(named, c);
}

TEST_F(ObjectTableTest, CyclesAllObjectsOfOnePartWhateverTheirType) {
    const tag_t a = make_named("a");
    const tag_t b = host::create(HM_line_type, 0).tag;
    const tag_t gone = make_named("gone");
    const tag_t other = host_testing::make_part("other_part");
    const tag_t elsewhere = host::create(HM_point_type, 0, other).tag;
    const tag_t c = host::create(HM_motion_joint_type, 0, part_).tag;
    ASSERT_EQ(HM_OBJ_delete_object(gone), 0);
    EXPECT_EQ(HM_OBJ_cycle_all(part_, 0), a);
    EXPECT_EQ(HM_OBJ_cycle_all(part_, a), b) << "any type";
    EXPECT_EQ(HM_OBJ_cycle_all(part_, b), c) << "deleted objects and other parts' objects are passed over";
    EXPECT_EQ(HM_OBJ_cycle_all(part_, c), 0u);
    EXPECT_EQ(HM_OBJ_cycle_all(other, 0), elsewhere) << "the part itself is not among its objects";
    EXPECT_EQ(HM_OBJ_cycle_all(other, elsewhere), 0u);
}

TEST_F(ObjectTableTest, UnitsInBothConventions) {
    int units = 0;
    ASSERT_EQ(HM_PART_ask_units(part_, &units), 0);
    EXPECT_EQ(units, 1);
    EXPECT_EQ(PART_ask_units(part_), 0);
    tag_t inch = host_testing::make_part("inch_part", true);
    ASSERT_EQ(HM_PART_ask_units(inch, &units), 0);
    EXPECT_EQ(units, 2);
    EXPECT_EQ(PART_ask_units(inch), 1);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), inch);
    EXPECT_EQ(HM_PART_ask_part_tag("work_part"), part_);
}

// The kernel is in metres: the factors follow the work part's units through
// every change of the work part, millimetres when there is none.
TEST_F(ObjectTableTest, KernelFactorsFollowTheWorkPartsUnits) {
    const tag_t inch = host_testing::make_part("inch_part", true);
    struct Step {
        const char* what;
        std::function<void()> act;
        double to_kernel, to_part;
    };
    const Step steps[] = {
        {"a new inch part", [] {}, 0.0254, 39.37007874015748},
        {"back to the millimetre part", [&] { HM_ASSEM_set_work_part(part_); }, 0.001, 1000.0},
        {"the inch part again", [&] { HM_ASSEM_set_work_part(inch); }, 0.0254, 39.37007874015748},
        {"the inch part closed", [&] { HM_PART_close(inch, 0, 0); }, 0.001, 1000.0},
        {"a new millimetre part", [] { host_testing::make_part("mm_part", false); }, 0.001, 1000.0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_DOUBLE_EQ(pxsfac[0], s.to_kernel);
        EXPECT_DOUBLE_EQ(pxsfac[1], s.to_part);
    }
}

TEST_F(ObjectTableTest, HandlesRoundTripAndStayWithinTheirLength) {
    tag_t a = make_named("a");
    char* handle = TAG_ask_handle_of_tag(a);
    ASSERT_NE(handle, nullptr);
    EXPECT_LE(std::strlen(handle), static_cast<size_t>(TAG_HANDLE_MAX_LENGTH));
    std::string padded = std::string("  ") + handle;
    EXPECT_EQ(TAG_ask_tag_of_handle_tol(handle), a);
    EXPECT_EQ(TAG_ask_tag_of_handle_tol(padded.c_str()), a);
    SM_free(handle);
    EXPECT_EQ(TAG_ask_handle_of_tag(0), nullptr);
    EXPECT_EQ(TAG_ask_tag_of_handle_tol("HANDLE-00000000"), 0u);
    EXPECT_EQ(TAG_ask_tag_of_handle_tol("nonsense"), 0u);
    ExpectNoLeaks();
}

class ListTest : public HostTest {};

TEST_F(ListTest, AppendsCountsReadsAndDeletes) {
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_create_list(&list), 0);
    ASSERT_NE(list, nullptr);
    int count = -1;
    ASSERT_EQ(HM_MODL_ask_list_count(list, &count), 0);
    EXPECT_EQ(count, 0);
    for (tag_t t : {tag_t{11}, tag_t{0}, tag_t{13}}) ASSERT_EQ(HM_MODL_put_list_item(list, t), 0);
    ASSERT_EQ(HM_MODL_ask_list_count(list, &count), 0);
    EXPECT_EQ(count, 3);
    tag_t item = 99;
    ASSERT_EQ(HM_MODL_ask_list_item(list, 2, &item), 0);
    EXPECT_EQ(item, 13u);
    EXPECT_EQ(HM_MODL_ask_list_item(list, 3, &item), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_ask_list_item(list, -1, &item), HM_ERR_BAD_ARGUMENT);
    ASSERT_EQ(HM_MODL_delete_list(&list), 0);
    EXPECT_EQ(list, nullptr);
    ASSERT_EQ(HM_MODL_ask_list_count(nullptr, &count), 0);
    EXPECT_EQ(count, 0);
    ExpectNoLeaks();
}

class MemoryTest : public HostTest {};

TEST_F(MemoryTest, CountsLiveBlocksAndRefusesForeignFrees) {
    void* a = SM_alloc(16);
    void* b = SM_calloc(4, 8);
    EXPECT_EQ(host_testing::live_allocations(), allocations_at_start_ + 2);
    EXPECT_EQ(static_cast<unsigned char*>(b)[31], 0);
    a = SM_realloc(a, 1024);
    char* s = SM_string_copy("text");
    EXPECT_STREQ(s, "text");
    SM_free(a);
    HM_free(b);
    SM_free(s);
    SM_free(nullptr);
    ExpectNoLeaks();
    frees_foreign_blocks_ = true;
    int on_stack = 0;
    SM_free(&on_stack);
    EXPECT_EQ(host_testing::bad_frees(), 1u);
}

class SessionTest : public HostTest {};

TEST_F(SessionTest, SessionsNest) {
    EXPECT_FALSE(HM_is_initialized());
    HM_initialize();
    HM_initialize();
    HM_terminate();
    EXPECT_TRUE(HM_is_initialized());
    HM_terminate();
    EXPECT_FALSE(HM_is_initialized());
    EXPECT_EQ(HM_terminate(), HM_ERR_NO_SESSION);
}

class ErrorTest : public HostTest {};

TEST_F(ErrorTest, ExceptionCarriesCodeMessageAndSourceLocation) {
    int line = 0;
    try {
        line = __LINE__ + 1;
        ERROR_RAISE(875033, "no hit");
        FAIL() << "ERROR_raise returned";
    } catch (const Korvath::Error::Exception& e) {
        EXPECT_EQ(e.askCode(), 875033);
        EXPECT_STREQ(e.askMessage(), "no hit");
        EXPECT_NE(std::strstr(e.askFile(), "core_test.cpp"), nullptr);
        EXPECT_EQ(e.askLine(), line);
    }
}

TEST_F(ErrorTest, SevereConvertsForeignExceptions) {
    try {
        throw std::runtime_error("boom");
    } catch (...) {
        Korvath::Error::Exception e = Korvath::Error::Severe::Convert();
        EXPECT_NE(e.askCode(), 0);
        EXPECT_STREQ(e.askMessage(), "boom");
    }
}

}  // namespace

namespace {
TEST_F(UndoTest, AFeatureDeletedByTheUpdateTakesItsBodyAlong) {
    host::Object& body = host::create(HM_solid_type, HM_solid_body_subtype);
    tag_t body_tag = body.tag;
    tag_t feature = host::create_feature("BLOCK", body_tag).tag;
    tag_t other = make_named("unrelated");
    ASSERT_EQ(UPDATE_log_entity_to_delete(feature), 0);
    ASSERT_EQ(UPDATE_do_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(feature), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(body_tag), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(other), HM_OBJ_ALIVE);
}
}  // namespace
