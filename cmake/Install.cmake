# What `cmake --install` puts in place: the library, its headers under include/vteffects (the same
# paths as under src/, so `#include "effects/wipe.h"` reads the same inside and outside this
# repository), a CMake package (find_package(VTEffects) -> VTEffects::vteffects) and a pkg-config
# file. The library is static: a consumer links Qt itself, which the package finds for it.
include(CMakePackageConfigHelpers)

set(VTE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VTEffects)

install(TARGETS vteffects EXPORT VTEffectsTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vteffects
        FILES_MATCHING PATTERN "*.h")
install(EXPORT VTEffectsTargets NAMESPACE VTEffects:: DESTINATION ${VTE_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VTEffectsConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/VTEffectsConfig.cmake INSTALL_DESTINATION ${VTE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VTEffectsConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VTEffectsConfig.cmake ${PROJECT_BINARY_DIR}/VTEffectsConfigVersion.cmake
        DESTINATION ${VTE_CMAKE_DIR})

# The prefix is found from the .pc file's own place, so an install under any --prefix reads right.
file(RELATIVE_PATH VTE_PC_UP /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
configure_file(${PROJECT_SOURCE_DIR}/cmake/vteffects.pc.in ${PROJECT_BINARY_DIR}/vteffects.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vteffects.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
