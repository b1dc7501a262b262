# Writes an atlas page of data files with a gridtool, through a temporary
# file, so that a failed run leaves no page:
#   cmake -DGRIDTOOL=<gridtool> -DPAGE=<page.html> "-DFILES=<file>;..." -P MakeAtlasPage.cmake
# A gridtool built without the atlas (no emscripten on its build machine)
# makes no page and says so; every other failure stops the build.
file(REMOVE ${PAGE})
execute_process(COMMAND ${GRIDTOOL} atlas ${FILES}
                OUTPUT_FILE ${PAGE}.tmp ERROR_VARIABLE error RESULT_VARIABLE status)
if(status EQUAL 0)
  file(RENAME ${PAGE}.tmp ${PAGE})
  return()
endif()
file(REMOVE ${PAGE}.tmp)
if(error MATCHES "built without the atlas|unknown command 'atlas'")
  message(STATUS "The atlas page is skipped: ${error}")
else()
  message(FATAL_ERROR "gridtool atlas failed (${status}): ${error}")
endif()
