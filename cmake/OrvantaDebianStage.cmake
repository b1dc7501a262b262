# Finishes the staged files of the Debian package before CPack packs them
# (CPACK_PRE_BUILD_SCRIPTS): refuses a package without the Windows
# program, strips it, compresses the manual pages and writes the changelog that
# Debian's policy asks of every package.

set(root ${CPACK_TEMPORARY_DIRECTORY})
foreach(program orvanta.exe orvanta64.exe)
  if(NOT EXISTS ${root}/usr/lib/orvanta/${program})
    message(FATAL_ERROR "package: ${program} is missing: build the Windows trees first "
                        "(build/win32 and build/win64, or those that ORVANTA_WIN32_BIN and "
                        "ORVANTA_WIN64_BIN name), or configure this tree with -DORVANTA_BUILD_WINDOWS=ON")
  endif()
endforeach()

# The Windows programs without their debugging information.
foreach(pair "orvanta.exe|i686-w64-mingw32-strip" "orvanta64.exe|x86_64-w64-mingw32-strip")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 program)
  list(GET pair 1 strip)
  find_program(strip_${program} ${strip})
  if(strip_${program})
    execute_process(COMMAND ${strip_${program}} ${root}/usr/lib/orvanta/${program} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

set(doc ${root}/usr/share/doc/orvanta)
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${doc}/changelog
"orvanta (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium

  * Release ${CPACK_PACKAGE_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${date}
")
file(GLOB pages ${root}/usr/share/man/man*/*.[1-9])
foreach(file IN LISTS pages ITEMS ${doc}/changelog)
  execute_process(COMMAND gzip -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
