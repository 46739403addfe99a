// The bracket of a modelling step: a named undo mark set on entry, the part
// rolled back to it and the mark deleted on leaving unless the step's result
// is kept, and a host exception inside the step turned into its status code.
#ifndef CARVELL_TOOLBOX_DETAIL_UNDO_SCOPE_H
#define CARVELL_TOOLBOX_DETAIL_UNDO_SCOPE_H

#include "farquil.h"

namespace carvell::detail {

// Sets a mark (UNDO_visible or UNDO_invisible; the name may be null). Unless
// keep() or roll_back() settled it first, leaving the scope rolls the part
// back to the mark and deletes it.
class UndoScope {
public:
    // How the roll-back reports itself: as an ordinary undo, or quietly
    // (no status from the undo, as an analysis that only probes the part does).
    enum class RollBack { reported, quiet };

    UndoScope(UNDO_visibility visibility, const char* name, RollBack roll_back = RollBack::reported);
    ~UndoScope();
    UndoScope(const UndoScope&) = delete;
    UndoScope& operator=(const UndoScope&) = delete;

    // Whether the host gave a mark; without one nothing is rolled back.
    bool is_set() const { return mark_ != 0; }
    UNDO_mark_t mark() const { return mark_; }

    // The first of keep() and roll_back() decides; later calls do nothing.
    // The part stays as the step made it; the mark is deleted now.
    void keep();
    // Rolls the part back to the mark and forgets it (and every mark set
    // after it) now; leaving the scope then does nothing. A mark that is
    // already gone is left alone.
    void roll_back();

private:
    UNDO_mark_t mark_;
    RollBack roll_back_;
    bool settled_ = false;
};

// Call inside a catch block: the exception being handled converted to the
// host's exception, stamped with the source location, and its code.
int caught_code(const char* source, int line);

// Runs the step (a callable answering an int status). An exception that
// escapes it is converted to its code (stamped with source and line), the
// part is rolled back to the scope's mark at once, and the code is answered;
// otherwise the step's own status is answered and the scope settles later.
template <typename Step>
int run_step(UndoScope& scope, const char* source, int line, Step&& step) {
    try {
        return step();
    } catch (...) {
        const int code = caught_code(source, line);
        scope.roll_back();
        return code;
    }
}

}  // namespace carvell::detail

#endif
