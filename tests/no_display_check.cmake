# velk without a display: a ROM argument gets a message and exit 2 (not an
# abort in Qt's platform plugin); --version still answers.
foreach(args "demo.smc" "--version")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                          ${VELK} ${args}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(args STREQUAL "--version")
    if(NOT rc EQUAL 0 OR NOT out MATCHES "^VELK Version")
      message(FATAL_ERROR "velk --version without a display: exit ${rc}, '${out}${err}'")
    endif()
  elseif(NOT rc EQUAL 2 OR NOT err STREQUAL
         "velk: no display (DISPLAY or WAYLAND_DISPLAY is not set); use velk-cli for the command line\n")
    message(FATAL_ERROR "velk ${args} without a display: exit ${rc}, stderr '${err}'")
  endif()
endforeach()
