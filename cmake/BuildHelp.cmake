# Compiles the checker's help file. Run with cmake -P:
#   -DSOURCE=<folder of the help sources> -DWORK=<scratch folder> -DOUTPUT=<Tarqcc.chm>
#   -DCHMCMD=<chmcmd> -DICONV=<iconv>
# The sources are UTF-8; HTML Help reads the contents, the titles and the pages of a Chinese help
# file in its code page (936), so every text file is converted on the way and its pages say so.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB sources RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(name IN LISTS sources)
  file(READ ${SOURCE}/${name} text)
  string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
  file(WRITE ${WORK}/${name}.utf8 "${text}")
  execute_process(COMMAND ${ICONV} -f UTF-8 -t CP936 ${WORK}/${name}.utf8
                  OUTPUT_FILE ${WORK}/${name} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name}: a character has no place in code page 936")
  endif()
  file(REMOVE ${WORK}/${name}.utf8)
endforeach()
execute_process(COMMAND ${CHMCMD} --no-html-scan Tarqcc.hhp WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE failed)
if(failed OR NOT EXISTS ${WORK}/Tarqcc.chm)
  message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
file(COPY_FILE ${WORK}/Tarqcc.chm ${OUTPUT} ONLY_IF_DIFFERENT)
