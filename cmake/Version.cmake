# The project's version, stated once by project() in the top CMakeLists.txt, reaches the
# public header (quorvex_version.h, generated beside the build's other headers), the Windows
# DLL's version resource and the Python wheel (python/CMakeLists.txt).
if(WIN32)
  enable_language(RC)
endif()
set(QUORVEX_GENERATED_INCLUDE_DIR "${PROJECT_BINARY_DIR}/include")
configure_file("${CMAKE_CURRENT_LIST_DIR}/version/quorvex_version.h.in"
               "${QUORVEX_GENERATED_INCLUDE_DIR}/quorvex_version.h" @ONLY)

# Adds the version resource to a Windows DLL.
function(quorvex_version_resource target)
  if(NOT WIN32)
    return()
  endif()
  set(resource "${PROJECT_BINARY_DIR}/${target}.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version/quorvex.rc.in" "${resource}" @ONLY)
  target_sources(${target} PRIVATE "${resource}")
endfunction()
