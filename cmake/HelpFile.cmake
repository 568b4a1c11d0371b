# The checker's help file Tarqcc.chm, compiled from res/help into the programs' folder (Sanivo
# opens it beside itself).
find_program(ZEPHRA_CHMCMD chmcmd REQUIRED)
find_program(ZEPHRA_ICONV iconv REQUIRED)
file(GLOB ZEPHRA_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/help/*)
set(ZEPHRA_HELP_FILE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Tarqcc.chm)
add_custom_command(
  OUTPUT ${ZEPHRA_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/res/help -DWORK=${CMAKE_BINARY_DIR}/help
          -DOUTPUT=${ZEPHRA_HELP_FILE} -DCHMCMD=${ZEPHRA_CHMCMD} -DICONV=${ZEPHRA_ICONV}
          -P ${CMAKE_SOURCE_DIR}/cmake/BuildHelp.cmake
  DEPENDS ${ZEPHRA_HELP_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/BuildHelp.cmake
  COMMENT "Compiling the help file Tarqcc.chm"
  VERBATIM)
add_custom_target(Tarqcc_chm ALL DEPENDS ${ZEPHRA_HELP_FILE})
