# The project's version, stated once in the public header and read from there by project() in
# the top CMakeLists.txt, reaches the Windows DLL's version resource and the Python wheel
# (python/CMakeLists.txt).
if(WIN32)
  enable_language(RC)
endif()

# Adds the version resource to a Windows DLL.
function(quorvex_version_resource target)
  if(NOT WIN32)
    return()
  endif()
  set(resource "${PROJECT_BINARY_DIR}/${target}.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version/quorvex.rc.in" "${resource}" @ONLY)
  target_sources(${target} PRIVATE "${resource}")
endfunction()
