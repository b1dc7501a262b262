# Writes the desktop entry at install time, when the install prefix is
# known, so that it starts the launcher by its full path (the desktop's
# search path need not hold the install's bin folder).  install(CODE) sets
# ORVANTA_DESKTOP_TEMPLATE, ORVANTA_BINDIR and ORVANTA_DATAROOTDIR before
# including this file.

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
set(launcher "${bindir}/orvanta")
# Exec quoting of the freedesktop.org desktop entry format: a path with
# reserved characters goes in double quotes with \ " ` $ escaped (and each
# backslash doubled once more for the value), % is always doubled.
set(ORVANTA_EXEC "${launcher}")
if(NOT launcher MATCHES "^[A-Za-z0-9_./+@:,=-]+$")
  string(REPLACE "\\" "\\\\\\\\" ORVANTA_EXEC "${ORVANTA_EXEC}")
  string(REPLACE "\"" "\\\\\"" ORVANTA_EXEC "${ORVANTA_EXEC}")
  string(REPLACE "`" "\\\\`" ORVANTA_EXEC "${ORVANTA_EXEC}")
  string(REPLACE "$" "\\\\$" ORVANTA_EXEC "${ORVANTA_EXEC}")
  set(ORVANTA_EXEC "\"${ORVANTA_EXEC}\"")
endif()
string(REPLACE "%" "%%" ORVANTA_EXEC "${ORVANTA_EXEC}")

set(entry "$ENV{DESTDIR}${datarootdir}/applications/orvanta.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${ORVANTA_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
