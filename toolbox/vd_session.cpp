// The process-wide host-API session bracket.
#include "carvell_session.h"
#include "omvra.h"
#include "sarnweld.h"

namespace {
// Whether the bracket holds a session, and the run-time environment that
// was current when it opened.
bool session_open = false;
RTENV_ENV_t saved_environment = RTENV_interactive;
}  // namespace

void VD_enter_omvra() {
    if (session_open) return;
    saved_environment = RTENV_set_kwopen_env();
    (void)HM_initialize();
    session_open = true;
}

void VD_exit_omvra() {
    if (!session_open) return;
    HM_terminate();
    RTENV_set_env(saved_environment);
    session_open = false;
}
