# Warnings per target, never globally, so third-party code keeps its own flags.
function(vkrsim_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>)
endfunction()

# Per-test time limit, seconds; the sanitizer builds raise it (scripts/sanitize), since the
# property overrides ctest's own --timeout.
set(VKRSIM_TEST_TIMEOUT 300 CACHE STRING "Time limit of each test, seconds")

# A GoogleTest executable registered with CTest. Extra arguments are linked.
#   vkrsim_test(NAME test_codec SOURCES a.cpp b.cpp LIBS vkrsim_codec [LABELS net] [PROPERTIES ...])
function(vkrsim_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  vkrsim_warnings(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vkrsim_testsupport GTest::gtest_main GTest::gmock)
  set(props TIMEOUT ${VKRSIM_TEST_TIMEOUT})
  if(T_LABELS)
    # gtest_discover_tests flattens list values into the property list, which would turn a
    # second label into a property name and drop what follows it: one label per executable.
    list(LENGTH T_LABELS labelCount)
    if(labelCount GREATER 1)
      message(FATAL_ERROR "vkrsim_test(${T_NAME}): give one label, not ${T_LABELS}")
    endif()
    list(APPEND props LABELS ${T_LABELS})
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${props} ${T_PROPERTIES})
endfunction()

# Every generated header and source of the project lives under one root, <build>/generated, in
# the layout of the source folders: "basicimpl/platform/platformbasicimpl.h" is
# <build>/generated/basicimpl/platform/platformbasicimpl.h. Targets export this root (never the
# whole build folder) where their public headers include generated ones.
set(VKRSIM_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)

# idlc_generate writes beside the calling folder's build files; the wrapper points it at the
# folder's place under the generated root instead.
function(vkrsim_idlc_generate)
  file(RELATIVE_PATH folder ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  set(CMAKE_CURRENT_BINARY_DIR ${VKRSIM_GENERATED_DIR}/${folder})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  idlc_generate(${ARGN})
endfunction()
