# The atlas page's core: the tools' reading, conversion and reverse lookup
# compiled to WebAssembly with Debian's emscripten, as one script with the
# module inside (-sSINGLE_FILE).  Sets ORVANTA_ATLAS_CORE to that script,
# or to nothing when emscripten is missing or the tree is a cross build;
# then the atlas is skipped and everything else builds as before.

option(ORVANTA_ATLAS "Build the atlas page where emscripten is installed" ON)
set(ORVANTA_ATLAS_CORE "")
if(ORVANTA_ATLAS)
  find_program(ORVANTA_EMCC emcc)
endif()
if(NOT ORVANTA_ATLAS)
  message(STATUS "The atlas is skipped: ORVANTA_ATLAS is OFF")
elseif(CMAKE_CROSSCOMPILING)
  message(STATUS "The atlas core is not built in a cross build; the page comes from the host gridtool")
elseif(NOT ORVANTA_EMCC)
  message(STATUS "The atlas is skipped: emscripten is missing (tools/install-deps.sh installs it)")
else()
  get_filename_component(top ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
  set(core_sources
    data/DecimalText.cpp data/GridDatabase.cpp data/GridLoader.cpp data/QuadNameIndex.cpp data/ScrambledReader.cpp
    convert/ComputePosition.cpp convert/ConvertCode.cpp convert/DecimalFormat.cpp convert/ExactDecimal.cpp
    convert/FormCell.cpp convert/LocateSubsquare.cpp convert/MatchList.cpp convert/PositionText.cpp
    convert/QuadPart.cpp convert/StandardNumbering.cpp convert/WrittenCode.cpp
    tools/common/AtomicFile.cpp tools/common/DataFileText.cpp tools/common/MapGeometry.cpp
    tools/common/MapLongitude.cpp tools/common/TextEncoding.cpp
    tools/orvanta-convert/CoordinateText.cpp tools/orvanta-convert/GridFiles.cpp
    tools/orvanta-convert/LoadMessage.cpp tools/orvanta-convert/MapFeature.cpp
    tools/orvanta-convert/ResultFormat.cpp tools/orvanta-convert/ReverseLookup.cpp
    tools/atlas/AtlasCore.cpp)
  list(TRANSFORM core_sources PREPEND ${top}/)
  file(GLOB core_headers ${top}/data/*.h ${top}/convert/*.h ${top}/tools/common/*.h ${top}/tools/orvanta-convert/*.h)
  set(ORVANTA_ATLAS_CORE ${CMAKE_BINARY_DIR}/atlas/OrvantaCore.js)
  set(werror)
  if(ORVANTA_WERROR)
    set(werror -Werror)
  endif()
  # Debian's emcc runs its JavaScript passes with node, which finds acorn
  # in /usr/share/nodejs only when it is Debian's own node.
  add_custom_command(OUTPUT ${ORVANTA_ATLAS_CORE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/atlas
    COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
            ${ORVANTA_EMCC} -std=c++17 -Os -Wall -Wextra ${werror} -I${top} ${core_sources}
            -o ${ORVANTA_ATLAS_CORE} -sSINGLE_FILE -sMODULARIZE -sEXPORT_NAME=OrvantaCore -sENVIRONMENT=web
            -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH
            -sEXPORTED_FUNCTIONS=_atlas_add_grid,_atlas_convert,_atlas_reverse,_atlas_position,_atlas_grid,_malloc,_free
            -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8,lengthBytesUTF8,stringToUTF8
    DEPENDS ${core_sources} ${core_headers}
    COMMENT "Compiling the atlas core to WebAssembly"
    VERBATIM)
  add_custom_target(atlas-core ALL DEPENDS ${ORVANTA_ATLAS_CORE})
endif()
set_property(GLOBAL PROPERTY ORVANTA_ATLAS_CORE "${ORVANTA_ATLAS_CORE}")
