// Host-API sessions (nesting) and undo marks with real rollback.
#include "core/session.h"

#include "core/model.h"
#include "core/sinks.h"
#include "farquil.h"
#include "omvra.h"

#include <algorithm>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace host {
namespace {
int g_session_depth = 0;

struct Mark {
    UNDO_mark_t id;
    std::string name;
    int visibility;
    Model snapshot;
    bool important = false;   // kept when the host trims its undo list
};
std::vector<Mark> g_marks;
UNDO_mark_t g_last_mark = 0;

// The application's allocator thresholds, set once when its first session
// starts: memory freed at the top of the heap stays with the process up to
// 256 MiB, the heap grows 16 MiB at a time, and blocks up to 32 MiB (the
// most the C library takes) come from the heap rather than from fresh
// mappings. The kernel's point and
// surface queries build large sampling grids and drop them again; with the
// C library's defaults every such grid would fault in fresh pages.
void set_allocator_thresholds() {
    static bool set = false;
    if (set) return;
    set = true;
#if defined(__GLIBC__)
    constexpr int kTrimThreshold = 256 << 20, kTopPad = 16 << 20, kMmapThreshold = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_TOP_PAD, kTopPad);
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
#endif
}

std::vector<Mark>::iterator find_mark(UNDO_mark_t mark) {
    return std::find_if(g_marks.begin(), g_marks.end(), [mark](const Mark& m) { return m.id == mark; });
}
}  // namespace

int session_depth() { return g_session_depth; }
int undo_mark_count() { return static_cast<int>(g_marks.size()); }
void reset_sessions() {
    set_allocator_thresholds();
    g_marks.clear();
    g_session_depth = 0;
}

}  // namespace host

int HM_initialize(void) {
    host::set_allocator_thresholds();
    ++host::g_session_depth;
    return 0;
}

int HM_terminate(void) {
    if (host::g_session_depth == 0) return HM_ERR_NO_SESSION;
    --host::g_session_depth;
    return 0;
}

bool HM_is_initialized(void) { return host::g_session_depth > 0; }

UNDO_mark_t UNDO_KW_set_mark(int visibility, const char* name) {
    if (host::settings().next_undo_mark_fails) {
        host::settings().next_undo_mark_fails = false;
        return 0;
    }
    host::Mark m{++host::g_last_mark, name ? name : "", visibility, host::model()};
    host::g_marks.push_back(std::move(m));
    return host::g_last_mark;
}

int UNDO_KW_undo_to_mark(UNDO_mark_t mark) {
    auto it = host::find_mark(mark);
    if (it == host::g_marks.end()) return HM_ERR_UNDO_MARK;
    host::model() = it->snapshot;
    host::g_marks.erase(it + 1, host::g_marks.end());
    return 0;
}

int UNDO_KW_delete_mark(UNDO_mark_t mark) {
    auto it = host::find_mark(mark);
    if (it == host::g_marks.end()) return HM_ERR_UNDO_MARK;
    host::g_marks.erase(it);
    return 0;
}

int UNDO_KW_delete_to_mark(UNDO_mark_t mark) {
    auto it = host::find_mark(mark);
    if (it == host::g_marks.end()) return HM_ERR_UNDO_MARK;
    host::g_marks.erase(it, host::g_marks.end());
    return 0;
}

bool UNDO_KW_ask_mark_exist(UNDO_mark_t mark) { return host::find_mark(mark) != host::g_marks.end(); }

const char* UNDO_KW_ask_mark_name(UNDO_mark_t mark) {
    auto it = host::find_mark(mark);
    return it == host::g_marks.end() ? nullptr : it->name.c_str();
}

int UNDO_KW_set_mark_importance(UNDO_mark_t mark, const char* name) {
    auto it = host::find_mark(mark);
    if (it == host::g_marks.end()) return HM_ERR_UNDO_MARK;
    it->important = true;
    if (name) it->name = name;
    return 0;
}

bool UNDO_KW_ask_mark_important(UNDO_mark_t mark) {
    auto it = host::find_mark(mark);
    return it != host::g_marks.end() && it->important;
}

// Undo to a mark for callers that ignore the outcome.
void UNDO_KW_undo_to_mark_no_status(UNDO_mark_t mark) {
    if (UNDO_KW_ask_mark_exist(mark)) (void)UNDO_KW_undo_to_mark(mark);
}

// The modelling interface's marks: the same marks, the last one found by
// position (the most recently set that still exists).
int HM_UNDO_set_mark(int visibility, const char* name, UNDO_mark_t* mark) {
    if (!mark) return HM_ERR_NULL_POINTER;
    *mark = UNDO_KW_set_mark(visibility, name);
    return 0;
}

int HM_UNDO_undo_to_last_mark(void) {
    if (host::g_marks.empty()) return HM_ERR_UNDO_MARK;
    const UNDO_mark_t last = host::g_marks.back().id;
    host::model() = host::g_marks.back().snapshot;
    return UNDO_KW_delete_mark(last);
}

// The newest mark of that name: the model as it was then; later marks are
// forgotten, the mark itself stays.
int HM_UNDO_undo_to_mark(const char* name) {
    if (!name) return HM_ERR_NULL_POINTER;
    const auto newest = std::find_if(host::g_marks.rbegin(), host::g_marks.rend(),
                                     [name](const host::Mark& m) { return m.name == name; });
    if (newest == host::g_marks.rend()) return HM_ERR_UNDO_MARK;
    return UNDO_KW_undo_to_mark(newest->id);
}

// Keeps the model as it is and forgets every mark.
int HM_UNDO_delete_all_marks(void) {
    host::g_marks.clear();
    return 0;
}
