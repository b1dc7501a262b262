# The Debian package: in the native tree, `cmake --build <tree> --target
# package` makes orvanta_VERSION_amd64.deb from the install rules, with the
# prefix /usr.  The Windows program comes from the Windows trees named by
# ORVANTA_WIN32_BIN and ORVANTA_WIN64_BIN (build/win32/bin and
# build/win64/bin by default), or from this tree with ORVANTA_BUILD_WINDOWS
# (cmake/OrvantaWindowsTrees.cmake).  The package needs both: Debian's
# `wine` installs the 64-bit loader alone unless the i386 architecture is
# added.
# cmake/OrvantaDebianStage.cmake finishes the staged files before packing.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR "The Orvanta developers")
set(CPACK_PACKAGE_CONTACT "The Orvanta developers <orvanta@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of German naval grid codes to latitude and longitude")
# The desktop entry is written at install time with the launcher's final
# path, so the staging folder goes in DESTDIR and the prefix stays /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The tools need the C and C++ run-time libraries alone; the window needs
# Wine (the `wine` package brings the 64-bit loader, wine32 the 32-bit one)
# and Wine's fonts for its dialog layout; the atlas's menu entry opens the
# page with xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, fonts-wine, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine32")
# The long description; CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvanta converts position codes of the German naval grid of the Second
World War (the Marinequadratkarte, codes such as CD1234) into latitude and
longitude, and back.

The command-line tools orvanta-convert and gridtool convert codes, war
diaries in CSV and positions to text, CSV and map formats, and make, check
and export the grid data files, which the package ships for the main grid
and the Pacific grid.  The launcher orvanta starts the Windows program,
which shows each position on a world chart, under Wine.")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/OrvantaDebianStage.cmake)
include(CPack)
