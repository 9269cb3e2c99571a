option(QUORVEX_WERROR "Treat compiler warnings as errors" OFF)

# The project's own targets build with these; third-party sources keep their own flags.
function(quorvex_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QUORVEX_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor> -Wundef -Wcast-align
      $<$<BOOL:${QUORVEX_WERROR}>:-Werror>)
  endif()
endfunction()
