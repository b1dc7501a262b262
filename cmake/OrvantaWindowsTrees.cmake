# The Windows program for the Linux install and the Debian package, built
# by the native tree itself when ORVANTA_BUILD_WINDOWS is on: both Windows
# trees as external projects in <native tree>/win32 and <native tree>/win64,
# without tests, their data files made by this tree's gridtool.  Off, the
# install takes the program from ORVANTA_WIN32_BIN and ORVANTA_WIN64_BIN.

option(ORVANTA_BUILD_WINDOWS "Build the Windows program for the install and the package in this tree" OFF)
if(ORVANTA_BUILD_WINDOWS)
  include(ExternalProject)
  # Make shares its job slots with the inner builds.
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build_program "$(MAKE)" orvanta)
  else()
    set(build_program ${CMAKE_COMMAND} --build <BINARY_DIR> --target orvanta)
  endif()
  foreach(pair "win32|mingw-i686" "win64|mingw-x86_64")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 tree)
    list(GET pair 1 toolchain)
    ExternalProject_Add(windows-${tree}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/${tree}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}.cmake
                 -DORVANTA_HOST_GRIDTOOL=$<TARGET_FILE:gridtool> -DBUILD_TESTING=OFF
                 -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DORVANTA_WERROR=${ORVANTA_WERROR}
                 -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
                 -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
      BUILD_COMMAND ${build_program}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      DEPENDS gridtool)
  endforeach()
  set(ORVANTA_WIN32_BIN ${CMAKE_BINARY_DIR}/win32/bin)
  set(ORVANTA_WIN64_BIN ${CMAKE_BINARY_DIR}/win64/bin)
endif()
