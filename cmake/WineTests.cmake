# Running the Windows test programs under wine64 (the x86_64 build; nothing 32-bit runs on
# this machine). The emulator sets wine's environment for every test: a prefix inside the
# build folder, no debug output, and no Mono or Gecko installers. A setup fixture creates the
# prefix once and starts one persistent wineserver for the run; a cleanup fixture stops it.
set(quorvex_wine_tests OFF)
if(WIN32 AND CMAKE_CROSSCOMPILING AND QUORVEX_WINE64)
  set(quorvex_wine_tests ON)
  set(QUORVEX_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine/prefix")
  set(quorvex_wine_env WINEPREFIX=${QUORVEX_WINE_PREFIX} WINEARCH=win64 WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=" DISPLAY= QUORVEX_WINE64=${QUORVEX_WINE64})
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${quorvex_wine_env} ${QUORVEX_WINE64})
endif()

# The session's two fixtures; every GoogleTest program requires "wine" (tests/CMakeLists.txt).
function(quorvex_wine_session)
  if(NOT quorvex_wine_tests)
    return()
  endif()
  set(session "${CMAKE_CURRENT_SOURCE_DIR}/wine/session.sh")
  add_test(NAME wine_session_start COMMAND env ${quorvex_wine_env} ${session} start)
  add_test(NAME wine_session_stop COMMAND env ${quorvex_wine_env} ${session} stop)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
