// demrath: the host's model references and conversion of features to
// boundary-representation (unparameterised) features.
#ifndef CARVELL_HOST_DEMRATH_H
#define CARVELL_HOST_DEMRATH_H

#include "host_types.h"

// Turns the feature behind an internal feature record (TAG_ask_pointer_of_tag
// of a feature) into an unparameterised feature. HM_ERR_NULL_POINTER for a
// null record, HM_ERR_INVALID_TAG for one of no live object, HM_ERR_WRONG_TYPE
// for one that is no feature, HM_ERR_BAD_ARGUMENT for a suppressed feature.
HOST_C_API int convert_to_brep_feature(void* feature_record);

#endif
