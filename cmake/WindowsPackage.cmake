# The Windows release: `cmake --install` and CPack (ZIP) lay out
#   bin/       quorvex32-11.0.dll and quorvex-run.exe (on i686 with the shared unwinder DLL)
#   include/   quorvex.h
#   lib/       the module-definition file and the import library
#   vendor-standins/  the project's stand-ins for halconcpp.dll and hdevenginecpp.dll: for
#              trying the library without the vendor's runtime, never for production; with
#              them standard_procedures/, HDevelop's standard procedures as the stand-in has them
# as quorvex-<version>-win32.zip (win64 for the x86_64 build).
if(NOT WIN32)
  return()
endif()

# i686 unwinds with DWARF-2 tables through one shared unwinder DLL (cmake/toolchain-win32.cmake):
# it is copied beside the build's programs and shipped beside every DLL that imports it.
set(quorvex_unwinder "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT MSVC)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_dw2-1.dll
                  OUTPUT_VARIABLE quorvex_unwinder OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(EXISTS "${quorvex_unwinder}")
    file(COPY "${quorvex_unwinder}" DESTINATION "${CMAKE_BINARY_DIR}/bin")
  else()
    set(quorvex_unwinder "")
  endif()
endif()

install(TARGETS quorvex32-11.0 RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(TARGETS quorvex-run RUNTIME DESTINATION bin)
install(FILES "${PROJECT_SOURCE_DIR}/include/quorvex.h" DESTINATION include)
install(FILES "${PROJECT_BINARY_DIR}/quorvex32-11.0.def" DESTINATION lib)
if(quorvex_unwinder)
  install(FILES "${quorvex_unwinder}" DESTINATION bin)
endif()
if(NOT QUORVEX_VENDOR_ROOT)
  # The stand-ins' import libraries stay out: a caller links the vendor's own.
  install(TARGETS halconcpp hdevenginecpp RUNTIME DESTINATION vendor-standins
          ARCHIVE DESTINATION vendor-standins/lib EXCLUDE_FROM_ALL)
  install(FILES ${quorvex_unwinder} "${PROJECT_SOURCE_DIR}/standins/README-windows.txt"
          DESTINATION vendor-standins)
  # The engine stand-in looks for HDevelop's standard procedures beside its own DLL.
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/standins/hdevengine/procedures/"
          DESTINATION vendor-standins/standard_procedures FILES_MATCHING PATTERN "*.hdvp")
endif()

set(quorvex_platform win64)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(quorvex_platform win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_FILE_NAME "quorvex-${PROJECT_VERSION}-${quorvex_platform}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
