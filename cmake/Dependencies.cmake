# Third-party packages: the geometry kernel (with its STEP exchange and the
# assembly document that carries names into STEP), the convex hull, the
# surface-mesh parameterization of the flat pattern (header-only, with its
# sparse solvers), GoogleTest and Google Benchmark. All come from Debian's packages
# (scripts/install-deps.sh).
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

find_path(OCCT_INCLUDE_DIR gp_Pnt.hxx PATH_SUFFIXES opencascade REQUIRED)
set(OCCT_TOOLKITS TKernel TKMath TKG2d TKG3d TKGeomBase TKBRep TKGeomAlgo TKMesh
    TKTopAlgo TKPrim TKBO TKBool TKShHealing TKOffset TKFillet TKFeat
    TKXSBase TKSTEPBase TKSTEPAttr TKSTEP209 TKSTEP TKCDF TKLCAF TKCAF TKXCAF TKXDESTEP)
set(OCCT_LIBRARIES)
foreach(tk IN LISTS OCCT_TOOLKITS)
  find_library(OCCT_${tk}_LIBRARY ${tk} REQUIRED)
  list(APPEND OCCT_LIBRARIES ${OCCT_${tk}_LIBRARY})
endforeach()
add_library(occt INTERFACE)
target_include_directories(occt SYSTEM INTERFACE ${OCCT_INCLUDE_DIR})
target_link_libraries(occt INTERFACE ${OCCT_LIBRARIES})

find_path(QHULL_INCLUDE_DIR libqhull_r/libqhull_r.h REQUIRED)
find_library(QHULL_R_LIBRARY qhull_r REQUIRED)
add_library(qhull_r INTERFACE)
target_include_directories(qhull_r SYSTEM INTERFACE ${QHULL_INCLUDE_DIR})
target_link_libraries(qhull_r INTERFACE ${QHULL_R_LIBRARY})

# The flat pattern of sheets that no plane, cylinder or cone holds.
set(CGAL_DO_NOT_WARN_ABOUT_CMAKE_BUILD_TYPE TRUE)
find_package(CGAL REQUIRED)
find_package(Eigen3 3.3 REQUIRED NO_MODULE)
add_library(mesh_parameterization INTERFACE)
target_link_libraries(mesh_parameterization INTERFACE CGAL::CGAL Eigen3::Eigen)
target_compile_definitions(mesh_parameterization INTERFACE CGAL_EIGEN3_ENABLED)
