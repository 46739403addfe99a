// farquil: the host's undo marks. Undo to a mark restores the whole model as
// it was when the mark was set: objects created since are gone, deleted or
// changed objects are back, tolerances and rule instances included.
#ifndef CARVELL_HOST_FARQUIL_H
#define CARVELL_HOST_FARQUIL_H

#include "host_types.h"

#include <stdbool.h>

typedef int UNDO_mark_t;   // 0 is no mark
enum UNDO_visibility { UNDO_invisible = 0, UNDO_visible = 1 };

// Sets a mark (name may be null) and answers it; marks nest.
HOST_C_API UNDO_mark_t UNDO_KW_set_mark(int visibility, const char* name);
// Restores the model to the mark; later marks are dropped, the mark stays.
HOST_C_API int UNDO_KW_undo_to_mark(UNDO_mark_t mark);
// Forgets the mark; the model stays as it is.
HOST_C_API int UNDO_KW_delete_mark(UNDO_mark_t mark);
// Forgets the mark and every mark set after it; the model stays as it is.
HOST_C_API int UNDO_KW_delete_to_mark(UNDO_mark_t mark);
HOST_C_API bool UNDO_KW_ask_mark_exist(UNDO_mark_t mark);
// As UNDO_KW_undo_to_mark, for callers that want no status: an unknown mark
// is ignored.
HOST_C_API void UNDO_KW_undo_to_mark_no_status(UNDO_mark_t mark);
HOST_C_API const char* UNDO_KW_ask_mark_name(UNDO_mark_t mark);   // null for none
// Marks the mark important, so that the host keeps it when it trims its undo
// list; a name given renames it, null keeps its name. HM_ERR_UNDO_MARK for an
// unknown mark.
HOST_C_API int UNDO_KW_set_mark_importance(UNDO_mark_t mark, const char* name);
HOST_C_API bool UNDO_KW_ask_mark_important(UNDO_mark_t mark);

#endif
