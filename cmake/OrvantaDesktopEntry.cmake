# Writes the desktop entry at install time, when the install prefix is
# known, so that it starts the launcher by its full path (the desktop's
# search path need not hold the install's bin folder).  install(CODE) sets
# ORVANTA_DESKTOP_TEMPLATE, ORVANTA_BINDIR and ORVANTA_DATAROOTDIR before
# including this file, and ORVANTA_ATLAS_TEMPLATE for the atlas page's entry.

# A folder of the install: absolute as given, else under the prefix.
function(install_folder folder out)
  if(IS_ABSOLUTE "${folder}")
    set(${out} "${folder}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${folder}" PARENT_SCOPE)
  endif()
endfunction()

install_folder("${ORVANTA_BINDIR}" bindir)
install_folder("${ORVANTA_DATAROOTDIR}" datarootdir)
# Exec quoting of the freedesktop.org desktop entry format: a path with
# reserved characters goes in double quotes with \ " ` $ escaped (and each
# backslash doubled once more for the value), % is always doubled.
function(exec_argument path out)
  set(text "${path}")
  if(NOT path MATCHES "^[A-Za-z0-9_./+@:,=-]+$")
    string(REPLACE "\\" "\\\\\\\\" text "${text}")
    string(REPLACE "\"" "\\\\\"" text "${text}")
    string(REPLACE "`" "\\\\`" text "${text}")
    string(REPLACE "$" "\\\\$" text "${text}")
    set(text "\"${text}\"")
  endif()
  string(REPLACE "%" "%%" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

exec_argument("${bindir}/orvanta" ORVANTA_EXEC)
set(entry "$ENV{DESTDIR}${datarootdir}/applications/orvanta.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${ORVANTA_DESKTOP_TEMPLATE}" "${entry}" @ONLY)

# The atlas page, where the install holds one, opens in the default browser.
set(atlas_page "${datarootdir}/orvanta/orvanta-atlas.html")
if(ORVANTA_ATLAS_TEMPLATE AND EXISTS "$ENV{DESTDIR}${atlas_page}")
  exec_argument("${atlas_page}" ORVANTA_ATLAS_PAGE)
  set(entry "$ENV{DESTDIR}${datarootdir}/applications/orvanta-atlas.desktop")
  message(STATUS "Installing: ${entry}")
  configure_file("${ORVANTA_ATLAS_TEMPLATE}" "${entry}" @ONLY)
endif()
