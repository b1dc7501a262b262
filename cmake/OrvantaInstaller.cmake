# The Windows installer.
#
# In a Windows tree, `cmake --build <tree> --target installer` makes
# orvanta-VERSION-setup.exe (orvanta-VERSION-win64-setup.exe in the 64-bit
# tree) with NSIS (Debian package nsis): the zip's files without its batch
# file, and the atlas page where the build makes one, under Program Files,
# with Start-menu entries in place of the batch file (see
# tools/package/orvanta.nsi.in).
#
# Run as a script (cmake -P) this file writes the NSIS script and runs
# makensis; the installer target does that with -DSETUP_STAGE=<folder>
# -DSETUP_EXE=<installer> -DSETUP_TEMPLATE=<orvanta.nsi.in>
# -DSETUP_MAKENSIS=<makensis> -DSETUP_VERSION=<version> -DSETUP_64BIT=ON|OFF
# -DSETUP_FILES=<source>|<name in the folder>;...
# -DSETUP_OPTIONAL=<source>|<name>;... (left out when missing) and, to strip
# the programs' debugging information, -DSETUP_STRIP=<strip>.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.25)
  file(REMOVE_RECURSE ${SETUP_STAGE})
  file(REMOVE ${SETUP_EXE})
  set(install_lines)
  set(uninstall_lines)
  set(folders)
  set(atlas OFF)
  foreach(entry IN LISTS SETUP_FILES SETUP_OPTIONAL)
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 source)
    list(GET pair 1 name)
    if(NOT EXISTS ${source})
      if(entry IN_LIST SETUP_OPTIONAL)
        continue()
      endif()
      message(FATAL_ERROR "installer: ${source} is missing; build it first")
    endif()
    if(name STREQUAL "orvanta-atlas.html")
      set(atlas ON)
    endif()
    get_filename_component(folder ${name} DIRECTORY)
    get_filename_component(leaf ${name} NAME)
    file(MAKE_DIRECTORY ${SETUP_STAGE}/${folder})
    file(COPY_FILE ${source} ${SETUP_STAGE}/${name})
    if(SETUP_STRIP AND name MATCHES "\\.exe$")
      execute_process(COMMAND ${SETUP_STRIP} ${SETUP_STAGE}/${name} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    string(REPLACE "/" "\\" windows_name "${name}")
    string(REPLACE "/" "\\" windows_folder "${folder}")
    if(folder)
      set(parent "${folder}")
      while(parent)
        string(REPLACE "/" "\\" windows_parent "${parent}")
        list(APPEND folders "${windows_parent}")
        get_filename_component(parent "${parent}" DIRECTORY)
      endwhile()
      string(APPEND install_lines "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    else()
      string(APPEND install_lines "  SetOutPath \"$INSTDIR\"\n")
    endif()
    string(APPEND install_lines "  File \"/oname=${leaf}\" \"${SETUP_STAGE}/${name}\"\n")
    string(APPEND uninstall_lines "  Delete \"$INSTDIR\\${windows_name}\"\n")
  endforeach()
  # Subfolders go after their files, deepest first.
  list(REMOVE_DUPLICATES folders)
  list(SORT folders ORDER DESCENDING)
  foreach(folder IN LISTS folders)
    string(APPEND uninstall_lines "  RMDir \"$INSTDIR\\${folder}\"\n")
  endforeach()

  set(VERSION ${SETUP_VERSION})
  set(OUTFILE ${SETUP_EXE})
  set(INSTALL_FILES "${install_lines}")
  set(UNINSTALL_FILES "${uninstall_lines}")
  if(SETUP_64BIT)
    set(PROGRAM_FILES "$PROGRAMFILES64")
    set(REGISTRY_VIEW "SetRegView 64")
  else()
    set(PROGRAM_FILES "$PROGRAMFILES")
    set(REGISTRY_VIEW "")
  endif()
  set(script ${SETUP_STAGE}.nsi)
  configure_file(${SETUP_TEMPLATE} ${script} @ONLY)
  set(defines)
  if(atlas)
    list(APPEND defines -DATLAS)
  endif()
  execute_process(COMMAND ${SETUP_MAKENSIS} -V2 -NOCD ${defines} ${script} COMMAND_ERROR_IS_FATAL ANY)
  message(STATUS "installer: wrote ${SETUP_EXE}")
  return()
endif()

if(WIN32)
  find_program(ORVANTA_MAKENSIS makensis)
  set(setup_name orvanta-${PROJECT_VERSION}-setup)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(setup_name orvanta-${PROJECT_VERSION}-win64-setup)
  endif()
  set(setup_files ${ORVANTA_RELEASE_FILES})
  list(FILTER setup_files EXCLUDE REGEX "\\|orvanta-pacific\\.bat$")
  set(setup_missing ${ORVANTA_RELEASE_MISSING})
  if(NOT ORVANTA_MAKENSIS)
    list(APPEND setup_missing "makensis (Debian package nsis)")
  endif()
  if(setup_missing)
    add_custom_target(installer
      COMMAND ${CMAKE_COMMAND} -E echo "installer: this tree lacks ${setup_missing}"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  else()
    set(ORVANTA_SETUP_EXE ${CMAKE_BINARY_DIR}/${setup_name}.exe)
    set(setup_64bit OFF)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set(setup_64bit ON)
    endif()
    add_custom_target(installer
      COMMAND ${CMAKE_COMMAND} -DSETUP_STAGE=${CMAKE_BINARY_DIR}/setup/${setup_name}
              -DSETUP_EXE=${ORVANTA_SETUP_EXE} -DSETUP_TEMPLATE=${CMAKE_SOURCE_DIR}/tools/package/orvanta.nsi.in
              -DSETUP_MAKENSIS=${ORVANTA_MAKENSIS} -DSETUP_VERSION=${PROJECT_VERSION} -DSETUP_64BIT=${setup_64bit}
              -DSETUP_STRIP=${CMAKE_STRIP} "-DSETUP_FILES=${setup_files}"
              "-DSETUP_OPTIONAL=${CMAKE_BINARY_DIR}/bin/orvanta-atlas.html|orvanta-atlas.html"
              -P ${CMAKE_CURRENT_LIST_FILE}
      BYPRODUCTS ${ORVANTA_SETUP_EXE}
      COMMENT "Making ${setup_name}.exe"
      VERBATIM)
    add_dependencies(installer ${ORVANTA_RELEASE_TARGETS})
  endif()
endif()
