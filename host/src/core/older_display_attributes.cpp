// The 2003 host's older name of the grid line counts of a face.
#include "omvra.h"

int hm5401_(tag_t face, int u_count, int v_count) { return hm5401(face, u_count, v_count); }
