# Builds what the desktop needs of one program from what its --help prints (play/command_line's layout), so the
# program's about.h stays the one source of its words:
#   cmake -DPROGRAM=path/to/program -DID=app.id -DMENU_NAME="Name" -DKEYWORDS=a,b -DTEMPLATES=dir -DOUT=dir
#         -DHELP2MAN=path -DGZIP=path -P program_files.cmake
# writes OUT/NAME.6.gz (the manual page, by help2man), OUT/ID.desktop and OUT/ID.metainfo.xml (from the templates).
foreach(var PROGRAM ID MENU_NAME KEYWORDS TEMPLATES OUT HELP2MAN GZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "program_files.cmake: ${var} is not set")
  endif()
endforeach()
get_filename_component(NAME "${PROGRAM}" NAME)
string(REPLACE "," ";" KEYWORDS "${KEYWORDS};")

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help ended with ${status}")
endif()
# The sentence after the usage line is the summary; the paragraph after it, up to "Controls:", the description.
if(NOT help MATCHES "^Usage:[^\n]*\n([^\n]+)\\.\n\n(.*)\n\nControls:\n")
  message(FATAL_ERROR "${PROGRAM} --help: no summary sentence and description before \"Controls:\"")
endif()
set(SUMMARY "${CMAKE_MATCH_1}")
string(REPLACE "\n" " " DESCRIPTION "${CMAKE_MATCH_2}")
foreach(var SUMMARY DESCRIPTION MENU_NAME)
  string(REPLACE "&" "&amp;" ${var}_XML "${${var}}")
  string(REPLACE "<" "&lt;" ${var}_XML "${${var}_XML}")
  string(REPLACE ">" "&gt;" ${var}_XML "${${var}_XML}")
endforeach()
configure_file("${TEMPLATES}/program.desktop.in" "${OUT}/${ID}.desktop" @ONLY)
configure_file("${TEMPLATES}/program.metainfo.xml.in" "${OUT}/${ID}.metainfo.xml" @ONLY)

# The manual page. Its NAME line reads "cube3d - cube puzzle ...". help2man makes sub-headings of "Controls:" and
# "Exit status:"; they become the sections CONTROLS and EXIT STATUS. "Files:" is FILES already.
string(SUBSTRING "${SUMMARY}" 0 1 first)
string(SUBSTRING "${SUMMARY}" 1 -1 rest)
string(TOLOWER "${first}" first)
set(roff "${OUT}/${NAME}.6")
execute_process(COMMAND ${HELP2MAN} --no-info --section 6 --name "${first}${rest}" --output "${roff}" ${PROGRAM}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(READ "${roff}" text)
foreach(pair "Controls:|CONTROLS" "Exit status:|\"EXIT STATUS\"")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 heading)
  list(GET pair 1 section)
  string(FIND "${text}" ".SS \"${heading}\"\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} --help has no \"${heading}\" heading that help2man took for one")
  endif()
  string(REPLACE ".SS \"${heading}\"\n" ".SH ${section}\n" text "${text}")
endforeach()
file(WRITE "${roff}" "${text}")
# Compressed as Debian keeps manual pages; -n leaves out the time and name, so the same page gives the same file.
execute_process(COMMAND ${GZIP} -9 -n -f "${roff}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${roff}")
endif()
