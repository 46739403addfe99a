// Export macros of carvell. The library is built with hidden visibility;
// every exported function carries one of these. Families with plain names
// use CARVELL_C_EXPORT (C linkage), families with decorated names
// CARVELL_CPP_EXPORT (C++ linkage, names that encode the argument types, in
// the releases that decorate them).
#ifndef CARVELL_EXPORT_H
#define CARVELL_EXPORT_H

#define CARVELL_EXPORT __attribute__((visibility("default")))
#ifdef __cplusplus
#define CARVELL_C_EXPORT extern "C" CARVELL_EXPORT
#else
#define CARVELL_C_EXPORT CARVELL_EXPORT
#endif
// The linkage of the families with decorated names comes from the release
// that is built: the current and 2006 releases give them C++ linkage, the
// 2003 release, which exports every name plain, sets C linkage here.
#ifndef CARVELL_FAMILY_LINKAGE
#define CARVELL_FAMILY_LINKAGE
#endif
#define CARVELL_CPP_EXPORT CARVELL_FAMILY_LINKAGE CARVELL_EXPORT

#endif
