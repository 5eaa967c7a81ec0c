# Writes spiral-host's man page with help2man: the program's --help and
# --version, and each drawing command's --help as a section of its own.
# cmake -DHOST=... -DHELP2MAN=... -DOUTPUT=... -P man_page.cmake
set(include_file ${OUTPUT}.h2m)
file(WRITE ${include_file} "")
foreach(command draw presets fields about)
  execute_process(COMMAND ${HOST} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${HOST} ${command} --help failed")
  endif()
  string(TOUPPER ${command} title)
  # The help's lines as they are, in a block roff leaves unfilled.
  string(REPLACE "\\" "\\\\" help "${help}")
  file(APPEND ${include_file} "[COMMAND ${title}]\n.nf\n${help}\n.fi\n\n")
endforeach()
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section 1
          --name "draw spirals with the Spiral plug-in from the command line"
          --include ${include_file} --output ${OUTPUT} ${HOST}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${HOST}")
endif()
