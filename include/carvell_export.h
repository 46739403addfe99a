// Export macros of carvell. The library is built with hidden visibility;
// every exported function carries one of these. Families with plain names
// use CARVELL_C_EXPORT (C linkage), families with decorated names
// CARVELL_CPP_EXPORT (C++ linkage, names that encode the argument types).
#ifndef CARVELL_EXPORT_H
#define CARVELL_EXPORT_H

#define CARVELL_EXPORT __attribute__((visibility("default")))
#ifdef __cplusplus
#define CARVELL_C_EXPORT extern "C" CARVELL_EXPORT
#else
#define CARVELL_C_EXPORT CARVELL_EXPORT
#endif
#define CARVELL_CPP_EXPORT CARVELL_EXPORT

#endif
