// Undo to a mark for callers that ignore the outcome.
#include "farquil.h"

void UNDO_KW_undo_to_mark_no_status(UNDO_mark_t mark) {
    if (UNDO_KW_ask_mark_exist(mark)) (void)UNDO_KW_undo_to_mark(mark);
}
