// elvosk: the host's status area, display refresh and regeneration.
#ifndef CARVELL_HOST_ELVOSK_H
#define CARVELL_HOST_ELVOSK_H

#include "host_types.h"

#include <stdbool.h>

HOST_C_API int UI_set_status(const char* text);     // replaces the status-area text
HOST_C_API int HM_DISP_set_display(int on);         // 0 suspends, 1 resumes
HOST_C_API bool HM_DISP_ask_display(void);
HOST_C_API int HM_DISP_regenerate_display(void);
// The status area as applications write it: a text shown while they work,
// and an empty status area (recorded as an empty text).
HOST_C_API int mtStatusArea(const char* text);
HOST_C_API int mtClearStatusArea(void);
// Refreshes the graphics display; regenerates one object's display after a
// change. No display here: both answer 0 (HM_ERR_INVALID_TAG for an unknown
// object).
HOST_C_API int DSS_REFRSH_refresh_display(void);
HOST_C_API int DSS_REGEN_regen_object(tag_t object);


// The layout (view sequence) of the display part; 0 for none.
HOST_C_API tag_t DSS_VIEW_ask_work_vseq(void);
// Shows `view` (a view of the layout's part) as the layout's work view; the
// view it replaces is answered in *replaced (may be null). `fit` 0 or 1.
HOST_C_API int BASE_replace_view(tag_t vseq, tag_t view, int fit, tag_t* replaced);

#endif
