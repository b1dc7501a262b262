# Release files.
#
# In each Windows tree, `cmake --build <tree> --target dist` makes
# orvanta-VERSION-win32.zip (the shipped one; -win64 in the 64-bit tree,
# so that a machine without 32-bit support can test the same zip): the
# program, the two tools, the grid data file, the README and the licences,
# the atlas page where the host gridtool could make it, in one folder of
# that name; its Pacific/ folder holds the Pacific data file as
# GridData.bin, on which orvanta-pacific.bat starts the program.
#
# In the native tree, `cmake --install <tree>` installs the Linux tools with
# their manual pages and bash completions, the grid data files and the
# launcher `orvanta`, which starts the Windows program under Wine; the
# program itself comes from the Windows trees (ORVANTA_WIN32_BIN,
# ORVANTA_WIN64_BIN).  The Debian package (cmake/OrvantaDebian.cmake) and
# the Windows installer (cmake/OrvantaInstaller.cmake) are made from these
# rules and from the release files listed here.
#
# Run as a script (cmake -P) this file packs the zip; the dist target does
# that with -DDIST_STAGE=<folder> -DDIST_ZIP=<zip> -DDIST_ZIP_TOOL=<zip>
# -DDIST_FILES=<source>|<name in the zip>;... and, to strip the programs'
# debugging information, -DDIST_STRIP=<strip>.

if(CMAKE_SCRIPT_MODE_FILE)
  # Copies each file into a fresh staging folder and zips that folder.
  get_filename_component(stage_parent ${DIST_STAGE} DIRECTORY)
  get_filename_component(stage_name ${DIST_STAGE} NAME)
  file(REMOVE_RECURSE ${DIST_STAGE})
  file(REMOVE ${DIST_ZIP})
  foreach(entry IN LISTS DIST_FILES)
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 source)
    list(GET pair 1 name)
    # A file marked with a leading ? goes in only where the tree made it
    # (the atlas page needs a host gridtool built with emscripten).
    if(source MATCHES "^[?]")
      string(SUBSTRING "${source}" 1 -1 source)
      if(NOT EXISTS ${source})
        message(STATUS "dist: ${source} is missing; the zip goes without it")
        continue()
      endif()
    endif()
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "dist: ${source} is missing; build it first")
    endif()
    get_filename_component(folder ${DIST_STAGE}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(COPY_FILE ${source} ${DIST_STAGE}/${name})
    if(DIST_STRIP AND name MATCHES "\\.exe$")
      execute_process(COMMAND ${DIST_STRIP} ${DIST_STAGE}/${name} COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()
  execute_process(COMMAND ${DIST_ZIP_TOOL} -X -r -q ${DIST_ZIP} ${stage_name}
                  WORKING_DIRECTORY ${stage_parent}
                  COMMAND_ERROR_IS_FATAL ANY)
  message(STATUS "dist: wrote ${DIST_ZIP}")
  return()
endif()

set(ORVANTA_DIST_NAME orvanta-${PROJECT_VERSION}-win32)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANTA_DIST_NAME orvanta-${PROJECT_VERSION}-win64)
endif()

# The release files of a Windows tree (the zip's and the installer's):
# ORVANTA_RELEASE_FILES (<source>|<name>), the targets that make them and
# what the tree lacks to make them.
if(WIN32)
  set(ORVANTA_RELEASE_FILES
    "${CMAKE_SOURCE_DIR}/README.md|README.md"
    "${CMAKE_SOURCE_DIR}/LICENSE|LICENSE"
    "${CMAKE_SOURCE_DIR}/tools/make-chart/README.md|tools/make-chart/README.md"
    "${CMAKE_BINARY_DIR}/bin/GridData.bin|GridData.bin"
    "${CMAKE_BINARY_DIR}/bin/GridData-Pacific.bin|GridData-Pacific.bin"
    "${CMAKE_BINARY_DIR}/bin/GridData-Pacific.bin|Pacific/GridData.bin"
    "${CMAKE_BINARY_DIR}/bin/orvanta-pacific.bat|orvanta-pacific.bat")
  set(ORVANTA_RELEASE_TARGETS)
  set(ORVANTA_RELEASE_MISSING)
  foreach(target orvanta orvanta-convert gridtool)
    if(TARGET ${target})
      list(APPEND ORVANTA_RELEASE_FILES "$<TARGET_FILE:${target}>|${target}.exe")
      list(APPEND ORVANTA_RELEASE_TARGETS ${target})
    else()
      list(APPEND ORVANTA_RELEASE_MISSING ${target})
    endif()
  endforeach()
  if(TARGET griddata-main)
    list(APPEND ORVANTA_RELEASE_TARGETS griddata-main griddata-pacific)
    if(TARGET atlas-page)
      list(APPEND ORVANTA_RELEASE_TARGETS atlas-page)
    endif()
  else()
    list(APPEND ORVANTA_RELEASE_MISSING griddata)
  endif()
endif()

# The zip of the program, in each Windows tree.
if(WIN32)
  find_program(ORVANTA_ZIP_TOOL zip)
  set(dist_files ${ORVANTA_RELEASE_FILES})
  list(APPEND dist_files "?${CMAKE_BINARY_DIR}/bin/orvanta-atlas.html|orvanta-atlas.html")
  set(dist_targets ${ORVANTA_RELEASE_TARGETS})
  set(dist_missing ${ORVANTA_RELEASE_MISSING})
  if(NOT ORVANTA_ZIP_TOOL)
    list(APPEND dist_missing "zip (Debian package zip)")
  endif()

  if(dist_missing)
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E echo "dist: this tree lacks ${dist_missing}"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  else()
    set(dist_zip ${CMAKE_BINARY_DIR}/${ORVANTA_DIST_NAME}.zip)
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -DDIST_STAGE=${CMAKE_BINARY_DIR}/dist/${ORVANTA_DIST_NAME}
              -DDIST_ZIP=${dist_zip} -DDIST_ZIP_TOOL=${ORVANTA_ZIP_TOOL} -DDIST_STRIP=${CMAKE_STRIP}
              "-DDIST_FILES=${dist_files}"
              -P ${CMAKE_CURRENT_LIST_FILE}
      BYPRODUCTS ${dist_zip}
      COMMENT "Packing ${ORVANTA_DIST_NAME}.zip"
      VERBATIM)
    add_dependencies(dist ${dist_targets})
  endif()
endif()

# The Linux install: tools, data files, the launcher and, when the Windows
# trees have been built, the program it starts.
if(NOT WIN32)
  include(GNUInstallDirs)
  set(ORVANTA_WIN32_BIN ${CMAKE_SOURCE_DIR}/build/win32/bin CACHE PATH
      "bin folder of the 32-bit Windows tree whose orvanta.exe the install ships")
  set(ORVANTA_WIN64_BIN ${CMAKE_SOURCE_DIR}/build/win64/bin CACHE PATH
      "bin folder of the 64-bit Windows tree, for kernels without 32-bit support")
  include(${CMAKE_CURRENT_LIST_DIR}/OrvantaWindowsTrees.cmake)
  set(program_dir ${CMAKE_INSTALL_LIBDIR}/orvanta)

  # Each tool with its manual page and its bash completion.
  foreach(target gridtool orvanta-convert)
    if(TARGET ${target})
      install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
      configure_file(${CMAKE_SOURCE_DIR}/tools/manual/${target}.1.in ${CMAKE_BINARY_DIR}/man/${target}.1 @ONLY)
      install(FILES ${CMAKE_BINARY_DIR}/man/${target}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
      install(FILES ${CMAKE_SOURCE_DIR}/tools/completion/${target}
              DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions)
    endif()
  endforeach()
  # The launcher with its version filled in, and its manual page.
  configure_file(${CMAKE_SOURCE_DIR}/tools/launcher/orvanta ${CMAKE_BINARY_DIR}/bin/orvanta @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/tools/manual/orvanta.1.in ${CMAKE_BINARY_DIR}/man/orvanta.1 @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/orvanta DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/man/orvanta.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/launcher/orvanta-wine-prefix DESTINATION ${program_dir})
  if(TARGET griddata)
    install(FILES ${CMAKE_BINARY_DIR}/bin/GridData.bin ${CMAKE_BINARY_DIR}/bin/GridData-Pacific.bin
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/orvanta)
  endif()
  # The atlas page, where the build makes one.
  install(FILES ${CMAKE_BINARY_DIR}/bin/orvanta-atlas.html DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/orvanta OPTIONAL)
  install(FILES ${ORVANTA_WIN32_BIN}/orvanta.exe DESTINATION ${program_dir} OPTIONAL)
  install(FILES ${ORVANTA_WIN64_BIN}/orvanta.exe DESTINATION ${program_dir} RENAME orvanta64.exe OPTIONAL)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/tools/package/copyright
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvanta)

  # The application menu: a desktop entry (with a Pacific grid action) and
  # the program's icon, drawn as PNG for the hicolor theme.
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(icon_theme ${CMAKE_BINARY_DIR}/share/icons/hicolor)
  set(icon_files)
  foreach(size 16 32 48 64 128)
    list(APPEND icon_files ${icon_theme}/${size}x${size}/apps/orvanta.png)
  endforeach()
  add_custom_command(OUTPUT ${icon_files}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-chart/make-icons.py --png ${icon_theme}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-chart/make-icons.py
    COMMENT "Drawing the desktop icons"
    VERBATIM)
  add_custom_target(desktop-icons ALL DEPENDS ${icon_files})
  install(DIRECTORY ${icon_theme} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons)
  install(CODE "set(ORVANTA_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/tools/launcher/orvanta.desktop.in\")
set(ORVANTA_ATLAS_TEMPLATE \"${CMAKE_SOURCE_DIR}/tools/launcher/orvanta-atlas.desktop.in\")
set(ORVANTA_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
set(ORVANTA_DATAROOTDIR \"${CMAKE_INSTALL_DATAROOTDIR}\")
include(\"${CMAKE_SOURCE_DIR}/cmake/OrvantaDesktopEntry.cmake\")")
endif()
