# cmake -DPROGRAM=path -DNAME=program -DOTHER=program -DRECORDING=file -P expect_refusal.cmake
# A replay of another program's recording is refused before anything starts: exit status 2, nothing on standard
# output, and one line naming the file, its line 2 and the program that made it.
execute_process(COMMAND ${PROGRAM} --replay ${RECORDING} --headless
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "${NAME}: ${RECORDING}:2: a recording of ${OTHER}, not of ${NAME}\n")
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL expected)
  message(FATAL_ERROR "expected status 2 and the line\n${expected}got status ${status}, output '${out}', error '${err}'")
endif()
