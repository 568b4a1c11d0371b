# Packages of the desktop: a portable ZIP and an NSIS installer of the four programs, the help
# file, the sample SysInfo.ini and the user part of the README (scripts/package.sh makes and
# checks them). The 32-bit build makes the packages we ship; the 64-bit build makes the same
# installer for NSIS's amd64 target, which is what the tests install under Wine.

# The package's version is the desktop's, as the programs' version resources carry it.
function(zephra_resource_version rcFile outVar)
  file(STRINGS ${rcFile} line REGEX "^FILEVERSION ")
  if(NOT line MATCHES "([0-9]+),([0-9]+),([0-9]+),([0-9]+)")
    message(FATAL_ERROR "${rcFile}: no FILEVERSION")
  endif()
  set(${outVar} "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}" PARENT_SCOPE)
endfunction()
zephra_resource_version(${CMAKE_SOURCE_DIR}/res/shell/ZephraShell.rc ZEPHRA_VERSION)
foreach(rc print/Prindle.rc controlpanel/Palomid.rc)
  zephra_resource_version(${CMAKE_SOURCE_DIR}/res/${rc} version)
  if(NOT version STREQUAL ZEPHRA_VERSION)
    message(FATAL_ERROR "res/${rc} says ${version}, the desktop is ${ZEPHRA_VERSION}")
  endif()
endforeach()

# What a package holds. Program files are replaced by every installation and removed by the
# uninstaller; user files are installed only where none is yet and kept by the uninstaller
# unless the user asks for their removal (with the files the programs write beside themselves).
set(ZEPHRA_PROGRAM_FILES ZephraShell.exe Prindle.exe Palomid.exe Sanivo.exe Tarqcc.chm README.txt)
set(ZEPHRA_USER_FILES SysInfo.ini)
# What the programs write beside themselves: the checker's settings, repair history, registry
# backup, and the undo journals and folder of its repairs.
set(ZEPHRA_WRITTEN_FILES Set.ini Repair.log Backup_Sanivo.reg Undo_Sanivo_*.reg)
set(ZEPHRA_WRITTEN_FOLDERS Undo_Sanivo_Backup)

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/README.md
          -DOUTPUT=${CMAKE_BINARY_DIR}/README.txt -P ${CMAKE_SOURCE_DIR}/cmake/UserReadme.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/UserReadme.cmake
  COMMENT "Writing the README for users"
  VERBATIM)
add_custom_target(zephra_user_readme ALL DEPENDS ${CMAKE_BINARY_DIR}/README.txt)

install(TARGETS ZephraShell Prindle Palomid Sanivo RUNTIME DESTINATION .)
install(FILES ${ZEPHRA_HELP_FILE} ${CMAKE_BINARY_DIR}/README.txt
              ${CMAKE_SOURCE_DIR}/config/SysInfo.ini DESTINATION .)

# The file lists for the installer script, as NSIS macros.
set(nsh "; Written by cmake/Packaging.cmake from its file lists.\n")
string(APPEND nsh "!macro ZephraInstallFiles\n  SetOverwrite on\n")
foreach(f IN LISTS ZEPHRA_PROGRAM_FILES)
  string(APPEND nsh "  File \"\${INST_DIR}\\${f}\"\n")
endforeach()
string(APPEND nsh "  SetOverwrite off\n")
foreach(f IN LISTS ZEPHRA_USER_FILES)
  string(APPEND nsh "  File \"\${INST_DIR}\\${f}\"\n")
endforeach()
string(APPEND nsh "  SetOverwrite on\n!macroend\n!macro ZephraDeleteProgramFiles\n")
foreach(f IN LISTS ZEPHRA_PROGRAM_FILES)
  string(APPEND nsh "  Delete \"$INSTDIR\\${f}\"\n")
endforeach()
string(APPEND nsh "!macroend\n!macro ZephraDeleteUserFiles\n")
foreach(f IN LISTS ZEPHRA_USER_FILES ZEPHRA_WRITTEN_FILES)
  string(APPEND nsh "  Delete \"$INSTDIR\\${f}\"\n")
endforeach()
foreach(f IN LISTS ZEPHRA_WRITTEN_FOLDERS)
  string(APPEND nsh "  RMDir /r \"$INSTDIR\\${f}\"\n")
endforeach()
string(APPEND nsh "!macroend\n")
file(WRITE ${CMAKE_BINARY_DIR}/ZephraFiles.nsh "${nsh}")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_ZEPHRA_NSIS_TARGET amd64-unicode)
else()
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_ZEPHRA_NSIS_TARGET x86-unicode)
endif()
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Zephra)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_VERSION ${ZEPHRA_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zephra)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Zephra)
set(CPACK_ZEPHRA_FILES_NSH ${CMAKE_BINARY_DIR}/ZephraFiles.nsh)
set(CPACK_ZEPHRA_ICON ${CMAKE_SOURCE_DIR}/res/shell/ZephraShell.ico)
# The maker's site, from the one place the programs take it from.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/common/MakerSite.h host REGEX "kHost\\[\\] = L\"")
string(REGEX MATCH "L\"([^\"]+)\"" host "${host}")
set(CPACK_ZEPHRA_HOME_PAGE "http://${CMAKE_MATCH_1}/")
# Our own installer script (res/installer/NSIS.template.in) instead of CPack's.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/res/installer)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_STRIP_FILES TRUE)
include(CPack)
