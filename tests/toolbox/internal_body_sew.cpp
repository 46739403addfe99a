// The sewing operations are internal to the library and hidden inside the
// shared library; this unit compiles toolbox/hm_vd_body_sew.cpp into the test
// program so that the tests can call them.
#include "../../toolbox/hm_vd_body_sew.cpp"
