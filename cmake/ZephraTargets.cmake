# Helpers for the project's targets: warnings on our own code only, one static library per
# subsystem, GUI programs with their resources, and test programs run under Wine by CTest.

add_library(zephra_options INTERFACE)
target_compile_options(zephra_options INTERFACE -Wall -Wextra -Werror)
target_include_directories(zephra_options INTERFACE ${CMAKE_SOURCE_DIR}/src)

# zephra_library(name sources... [LIBS libs...])
function(zephra_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC zephra_options ${ARG_LIBS})
endfunction()

# zephra_program(name sources... [LIBS libs...]): a Windows GUI program.
function(zephra_program name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} WIN32 ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE zephra_options ${ARG_LIBS})
endfunction()

# zephra_test(name sources... [LIBS libs...] [DESKTOP name] [TIMEOUT seconds]): one GoogleTest
# program, registered as one CTest test and run under Wine.
function(zephra_test name)
  cmake_parse_arguments(ARG "" "DESKTOP;TIMEOUT" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE zephra_options GTest::gtest GTest::gmock ${ARG_LIBS})
  set(wine_args)
  if(ARG_DESKTOP)
    list(APPEND wine_args --desktop=${ARG_DESKTOP})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  list(APPEND wine_args --timeout=${ARG_TIMEOUT})
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine.sh ${wine_args} $<TARGET_FILE:${name}>
                   --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
