# Turns a table of data/ (operators.txt, chapters.txt) into a source of one string per line,
# known_<kind>s_table.cc with kKnown<Kind>Lines and kKnown<Kind>LineCount, so that every build
# (native, i386, the mingw cross builds) compiles the table in without any tool beyond CMake.
# Editing the text file reconfigures and regenerates.
function(quorvex_known_lines_source kind Kind out_var)
  set(table "${CMAKE_CURRENT_SOURCE_DIR}/hdevengine/data/${kind}s.txt")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${table}")
  file(STRINGS "${table}" lines ENCODING UTF-8)
  set(body "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REPLACE "\\" "\\\\" line "${line}")
    string(REPLACE "\"" "\\\"" line "${line}")
    string(APPEND body "    \"${line}\",\n")
  endforeach()
  set(source "${CMAKE_CURRENT_BINARY_DIR}/known_${kind}s_table.cc")
  set(text "// Generated from standins/hdevengine/data/${kind}s.txt; edit that file instead.
#include <cstddef>

namespace HDevEngineCpp {
namespace Standin {

extern const char* const kKnown${Kind}Lines[];
extern const std::size_t kKnown${Kind}LineCount;

const char* const kKnown${Kind}Lines[] = {
${body}};
const std::size_t kKnown${Kind}LineCount =
    sizeof kKnown${Kind}Lines / sizeof kKnown${Kind}Lines[0];

}  // namespace Standin
}  // namespace HDevEngineCpp
")
  # Written only when it changes, so that a reconfigure does not rebuild the engine.
  file(WRITE "${source}.new" "${text}")
  file(COPY_FILE "${source}.new" "${source}" ONLY_IF_DIFFERENT)
  set(${out_var} "${source}" PARENT_SCOPE)
endfunction()
