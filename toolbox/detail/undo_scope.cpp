// The bracket of a modelling step: undo mark and exception-to-code conversion.
#include "toolbox/detail/undo_scope.h"

#include "quillon.h"

namespace carvell::detail {

UndoScope::UndoScope(UNDO_visibility visibility, const char* name, RollBack roll_back)
    : mark_(UNDO_KW_set_mark(visibility, name)), roll_back_(roll_back) {}

// A failed undo is recorded as a severe host error, never thrown.
UndoScope::~UndoScope() { roll_back(); }

void UndoScope::keep() {
    if (settled_) return;
    settled_ = true;
    if (mark_ != 0) (void)UNDO_KW_delete_mark(mark_);
}

void UndoScope::roll_back() {
    if (settled_) return;
    settled_ = true;
    if (mark_ == 0 || !UNDO_KW_ask_mark_exist(mark_)) return;
    if (roll_back_ == RollBack::quiet)
        UNDO_KW_undo_to_mark_no_status(mark_);
    else if (UNDO_KW_undo_to_mark(mark_) != 0)
        ERROR_severe("Can't undo to mark");
    if (UNDO_KW_delete_to_mark(mark_) != 0) ERROR_severe("Can't delete undo mark");
}

int caught_code(const char* source, int line) {
    Korvath::Error::Exception error = Korvath::Error::Severe::Convert();
    error.setLocation(source, line);
    const int code = error.askCode();
    error.release();
    return code;
}

}  // namespace carvell::detail
