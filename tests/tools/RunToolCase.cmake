# Runs one command-line tool case and checks what it did.
#   -DTOOL=<program> [-DEMULATOR=<launcher>] -DARGS=<arguments separated by |>
#   [-DSTDIN=<file>] [-DWORKDIR=<folder>] -DEXPECT_STATUS=<exit status>
#   [-DEXPECT_STDOUT=<file whose bytes stdout must equal>]
#   [-DSTDOUT_MATCHES=<regex>] [-DSTDERR_MATCHES=<regex>]
#   [-DDATA_LIST=<grid files for ORVANTA_DATA>]
# An empty EXPECT_STDOUT file means stdout must be empty.
string(REPLACE "|" ";" args "${ARGS}")
set(command ${TOOL} ${args})
if(EMULATOR)
  set(command ${EMULATOR} ${command})
endif()
set(options)
if(STDIN)
  list(APPEND options INPUT_FILE ${STDIN})
endif()
if(DATA_LIST)
  set(ENV{ORVANTA_DATA} "${DATA_LIST}")
endif()
if(NOT WORKDIR)
  set(WORKDIR ${CMAKE_CURRENT_BINARY_DIR})
endif()
execute_process(COMMAND ${command} ${options}
  WORKING_DIRECTORY ${WORKDIR}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)

set(failed FALSE)
if(NOT "${status}" STREQUAL "${EXPECT_STATUS}")
  message(SEND_ERROR "exit status ${status}, expected ${EXPECT_STATUS}")
  set(failed TRUE)
endif()
if(EXPECT_STDOUT)
  file(READ ${EXPECT_STDOUT} expected)
  if(NOT out STREQUAL expected)
    message(SEND_ERROR "stdout differs from ${EXPECT_STDOUT}")
    set(failed TRUE)
  endif()
endif()
if(STDOUT_MATCHES AND NOT out MATCHES "${STDOUT_MATCHES}")
  message(SEND_ERROR "stdout does not match '${STDOUT_MATCHES}'")
  set(failed TRUE)
endif()
if(STDERR_MATCHES AND NOT err MATCHES "${STDERR_MATCHES}")
  message(SEND_ERROR "stderr does not match '${STDERR_MATCHES}'")
  set(failed TRUE)
endif()
if(failed)
  message(FATAL_ERROR "command: ${command}\n--- stdout ---\n${out}\n--- stderr ---\n${err}")
endif()
