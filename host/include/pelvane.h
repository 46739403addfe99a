// pelvane: the rule-language checker's helpers for applications that make
// rule instances: free instance names.
#ifndef CARVELL_HOST_PELVANE_H
#define CARVELL_HOST_PELVANE_H

#include "host_types.h"

// The first name base + "_<n>" (n = 1, 2, ...) that names no instance
// "root:<name>:" of the work part, as an SM_alloc'd text (free with SM_free).
// 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART or HM_ERR_BAD_ARGUMENT (empty base).
HOST_C_API int CK_RQ_auto_get_next_rule_name(const char* base, char** name);

#endif
