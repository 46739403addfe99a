// sarnweld: the host's dialogs and run-time environment switching.
#ifndef CARVELL_HOST_SARNWELD_H
#define CARVELL_HOST_SARNWELD_H

#include "host_types.h"

#include <stdbool.h>

typedef enum RTENV_ENV_e {
    RTENV_interactive = 0,
    RTENV_kwopen = 1,
    RTENV_batch = 2
} RTENV_ENV_t;

// Switches to the open-API environment; answers the previous one.
HOST_C_API RTENV_ENV_t RTENV_set_kwopen_env(void);
// Switches to an environment: 0, or HM_ERR_BAD_ARGUMENT (environment
// unchanged) for a value that names none.
HOST_C_API int RTENV_set_env(RTENV_ENV_t environment);
HOST_C_API RTENV_ENV_t RTENV_ask_env(void);
// Whether the host runs under its data-management system (part files named
// in its form, see KWMGR_decode_part_filename); false unless a test sets it.
HOST_C_API bool RTENV_ask_kwmanager_active(void);

// A message dialog: a title and lines of text. The stand-in records it and
// answers 1 (the OK button).
HOST_C_API int UI_message_dialog(const char* title, int kind, const char** lines, int count);
enum UI_message_kind { UI_MESSAGE_ERROR = 1, UI_MESSAGE_WARNING = 2, UI_MESSAGE_INFORMATION = 3 };

// Error and warning dialogs: a title, lines of text, the dialog flag and
// custom button labels (null and 0 for the standard OK button). The stand-in
// records them as dialogs of kind UI_MESSAGE_ERROR / UI_MESSAGE_WARNING and
// answers 1 (the first button).
HOST_C_API int mtErrorDialog(const char* title, const char** lines, int count, bool flag, const char** buttons,
                             int button_count);
HOST_C_API int mtWarningDialog(const char* title, const char** lines, int count, bool flag, const char** buttons,
                               int button_count);

#endif
