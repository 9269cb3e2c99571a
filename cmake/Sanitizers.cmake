# QUORVEX_SANITIZE: "address,undefined", "thread" or empty. Applies to every target, so that
# the stand-ins and the tests are instrumented along with the library.
set(QUORVEX_SANITIZE "" CACHE STRING "Sanitizers to build with (address,undefined or thread)")
if(QUORVEX_SANITIZE)
  # Line tables are all a report needs to name files and lines; full debug information
  # would make every translation unit of these whole-library builds a third slower to compile.
  add_compile_options(-fsanitize=${QUORVEX_SANITIZE} -fno-omit-frame-pointer -g1)
  add_link_options(-fsanitize=${QUORVEX_SANITIZE})
  if(QUORVEX_SANITIZE MATCHES "undefined")
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()
