// The names under which the 2003 host's callers read today's globals: the
// surface setting and the kernel scale factors of the work part.
#include "rostval.h"

double& srfc1_ = srfc1;
double (&pxsfac_)[2] = pxsfac;
