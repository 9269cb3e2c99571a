# Runs the inspection example from a packed artefact as a user consumes it, in a clean folder
# outside the build tree, with QUORVEX_LIBRARY unset; its four result lines must be
# quorvex-run's. KIND: nuget (ARTEFACT the .nupkg, NUGET, MCS, MONO) or jar (ARTEFACT the
# jar, JAVA, JNA); RUNNER: quorvex-run; SOURCE: the tree.
# A folder of this user's alone: mktemp makes it exclusively, 0700, under a random name. A
# name chosen here (CMake's RANDOM is seeded by the clock) could be made first by another
# user of the shared temporary folder, who could then swap the package before it runs.
execute_process(COMMAND mktemp -d -t quorvex-packed-XXXXXXXXXX RESULT_VARIABLE status
                OUTPUT_VARIABLE home ERROR_VARIABLE errors OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot make a private folder under the temporary folder: ${errors}")
endif()
set(app "${home}/app")
file(MAKE_DIRECTORY "${app}")
foreach(name inspect_parts.hdvp parts.png)
  file(COPY "${SOURCE}/examples/inspection/${name}" DESTINATION "${app}")
endforeach()
unset(ENV{QUORVEX_LIBRARY})

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${app}" RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    file(REMOVE_RECURSE "${home}")
    message(FATAL_ERROR "${ARGN}: exit status ${status}\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

if(KIND STREQUAL "nuget")
  # A folder feed holding the package alone; nuget installs it by id, as a project would.
  get_filename_component(feed "${ARTEFACT}" DIRECTORY)
  run("${NUGET}" install Quorvex -Source "${feed}" -OutputDirectory "${home}/packages"
      -NonInteractive -ExcludeVersion)
  set(lib "${home}/packages/Quorvex/lib/net45")
  file(COPY "${SOURCE}/examples/inspection/Inspect.cs" DESTINATION "${app}")
  run("${MCS}" -nologo "-r:${lib}/Quorvex.dll" -out:Inspect.exe Inspect.cs)
  set(ENV{MONO_PATH} "${lib}")
  run("${MONO}" Inspect.exe parts.png .)
elseif(KIND STREQUAL "jar")
  get_filename_component(jar_name "${ARTEFACT}" NAME)
  file(COPY "${ARTEFACT}" "${SOURCE}/examples/inspection/Inspect.java" DESTINATION "${app}")
  run("${JAVA}" -cp "${jar_name}:${JNA}" Inspect.java parts.png .)
else()
  message(FATAL_ERROR "KIND must be nuget or jar")
endif()
set(example_output "${output}")
run("${RUNNER}" --procedure inspect_parts --path . --in ImagePath=parts.png --in MinGray=128
    --in MaxGray=255)
file(REMOVE_RECURSE "${home}")
message("example (${KIND}, from ${app}):\n${example_output}runner:\n${output}")
if(NOT example_output STREQUAL output)
  message(FATAL_ERROR "the packed example's output differs from the runner's")
endif()
