# Making scrambled data files from their plain keyword text with gridtool.
#
# A native build uses its own gridtool.  A cross build cannot run its
# Windows gridtool at build time, so it takes the native one from
# ORVANTA_HOST_GRIDTOOL (the top-level build script passes it).

if(CMAKE_CROSSCOMPILING)
  set(ORVANTA_HOST_GRIDTOOL "" CACHE FILEPATH "A gridtool that runs on the build machine")
  if(NOT ORVANTA_HOST_GRIDTOOL)
    message(FATAL_ERROR "A cross build needs -DORVANTA_HOST_GRIDTOOL=<native gridtool>; build.sh passes it.")
  endif()
endif()

# orvanta_scramble(<plain text> <scrambled output> <target name> [FORCE])
# adds a target (part of ALL) that scrambles the plain text into the output.
# gridtool refuses a text with faults; FORCE packs one all the same (for
# test fixtures that are faulty on purpose).
function(orvanta_scramble plain output target)
  cmake_parse_arguments(S "FORCE" "" "" ${ARGN})
  set(force)
  if(S_FORCE)
    set(force --force)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(tool ${ORVANTA_HOST_GRIDTOOL})
    set(depends ${plain})
  else()
    set(tool $<TARGET_FILE:gridtool>)
    set(depends ${plain} gridtool)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${tool} scramble ${force} ${plain} ${output}
    DEPENDS ${depends}
    COMMENT "Scrambling ${plain}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
