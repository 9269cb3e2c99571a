# Turns data/operators.txt into known_operators_table.cc: one string per operator line, so that
# every build (native, i386, the mingw cross builds) compiles the table in without any tool
# beyond CMake. Editing the text file reconfigures and regenerates.
function(quorvex_known_operators_source out_var)
  set(table "${CMAKE_CURRENT_SOURCE_DIR}/hdevengine/data/operators.txt")
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
  set(source "${CMAKE_CURRENT_BINARY_DIR}/known_operators_table.cc")
  set(text "// Generated from standins/hdevengine/data/operators.txt; edit that file instead.
#include <cstddef>

namespace HDevEngineCpp {
namespace Standin {

extern const char* const kKnownOperatorLines[];
extern const std::size_t kKnownOperatorLineCount;

const char* const kKnownOperatorLines[] = {
${body}};
const std::size_t kKnownOperatorLineCount =
    sizeof kKnownOperatorLines / sizeof kKnownOperatorLines[0];

}  // namespace Standin
}  // namespace HDevEngineCpp
")
  # Written only when it changes, so that a reconfigure does not rebuild the engine.
  file(WRITE "${source}.new" "${text}")
  file(COPY_FILE "${source}.new" "${source}" ONLY_IF_DIFFERENT)
  set(${out_var} "${source}" PARENT_SCOPE)
endfunction()

# The same for data/chapters.txt (known_chapters_table.cc), which get_chapter_info and the
# 'chapter' slot of get_operator_info answer from.
function(quorvex_known_chapters_source out_var)
  set(table "${CMAKE_CURRENT_SOURCE_DIR}/hdevengine/data/chapters.txt")
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
  set(source "${CMAKE_CURRENT_BINARY_DIR}/known_chapters_table.cc")
  set(text "// Generated from standins/hdevengine/data/chapters.txt; edit that file instead.
#include <cstddef>

namespace HDevEngineCpp {
namespace Standin {

extern const char* const kKnownChapterLines[];
extern const std::size_t kKnownChapterLineCount;

const char* const kKnownChapterLines[] = {
${body}};
const std::size_t kKnownChapterLineCount =
    sizeof kKnownChapterLines / sizeof kKnownChapterLines[0];

}  // namespace Standin
}  // namespace HDevEngineCpp
")
  file(WRITE "${source}.new" "${text}")
  file(COPY_FILE "${source}.new" "${source}" ONLY_IF_DIFFERENT)
  set(${out_var} "${source}" PARENT_SCOPE)
endfunction()
