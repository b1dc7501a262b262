# orvanta_embed_files(<output.cpp> <comment> <name>|<file>...): a source
# file of char arrays holding the files (made by EmbedText.cmake), made
# again whenever one of them changes.
function(orvanta_embed_files output comment)
  set(files)
  foreach(entry IN LISTS ARGN)
    string(REGEX REPLACE "^[^|]*\\|" "" path "${entry}")
    list(APPEND files ${path})
  endforeach()
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedText.cmake)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DEMBED_OUTPUT=${output} "-DEMBED_FILES=${ARGN}" -P ${script}
    DEPENDS ${files} ${script}
    COMMENT "${comment}"
    VERBATIM)
endfunction()
