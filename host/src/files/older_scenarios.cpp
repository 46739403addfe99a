// The 2003 host's scenario creation in one call, made of the scenario
// module's steps; a failing step leaves the model as it was.
#include "farquil.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "tolvric.h"
#include "vornesk.h"

int HM_SF_create_scenario(const char* name, tag_t* scenario) {
    if (!name || !scenario) return HM_ERR_NULL_POINTER;
    *scenario = 0;
    if (SFMOD_is_scenario_part(CONTEXT_ask_root_part())) return HM_ERR_BAD_ARGUMENT;
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, nullptr);
    try {
        const tag_t work = HM_ASSEM_ask_work_part();
        SFMOD_session_t* session = SFMOD_enter_scenario();
        const tag_t made = SFMOD_create_scen_from_root(name);
        session->scenario = made;
        SFMOD_add_scenario(name, true);
        (void)KMC_cleanup_motion_part(work);
        SFMOD__save_scenario(made);
        *scenario = made;
    } catch (...) {
        const Korvath::Error::Exception e = Korvath::Error::Severe::Convert();
        (void)UNDO_KW_undo_to_mark(mark);
        (void)UNDO_KW_delete_mark(mark);
        return e.askCode();
    }
    (void)UNDO_KW_delete_mark(mark);
    return 0;
}
