# The include check must refuse what the layer graph forbids and accept what it allows, on a
# small tree made here: an upward include, a sideways include, a private header used outside its
# folder, and the allowed cases (own folder, a layer reached through another, a folder's own
# tests using its private header).
#   cmake -DWORK=<empty folder> -P layercheck_test.cmake
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/VkrsimLayerCheck.cmake)

file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/layers.txt "low: \nmid: low\nside: low\ntop: mid\n")
file(WRITE ${WORK}/low/low.h "#pragma once\n")
file(WRITE ${WORK}/low/inner_p.h "#pragma once\n")
file(WRITE ${WORK}/low/low.cpp "#include \"low/low.h\"\n#include \"low/inner_p.h\"\n")
file(WRITE ${WORK}/mid/mid.cpp "#include \"mid/mid.h\"\n#include \"low/low.h\"\n")
file(WRITE ${WORK}/mid/mid.h "#pragma once\n")
file(WRITE ${WORK}/top/top.cpp "#include \"low/low.h\"\n#include <vector>\n#include \"helper.h\"\n")
file(WRITE ${WORK}/tests/low/test_low.cpp "#include \"low/inner_p.h\"\n#include \"top/top.h\"\n")

vkrsim_layer_check(${WORK} ${WORK}/layers.txt problems)
if(problems)
  message(FATAL_ERROR "a permitted tree was refused: ${problems}")
endif()

file(WRITE ${WORK}/low/up.cpp "#include \"mid/mid.h\"\n")
file(WRITE ${WORK}/side/side.cpp "  #  include \"mid/mid.h\"\n")
file(WRITE ${WORK}/top/private.cpp "#include \"low/inner_p.h\"\n")
file(WRITE ${WORK}/tests/mid/test_mid.cpp "#include \"low/inner_p.h\"\n")
vkrsim_layer_check(${WORK} ${WORK}/layers.txt problems)
set(expected
  "low/up.cpp: includes mid/mid.h, but low may not use mid"
  "side/side.cpp: includes mid/mid.h, but side may not use mid"
  "top/private.cpp: includes low/inner_p.h, private to low"
  "tests/mid/test_mid.cpp: includes low/inner_p.h, private to low")
foreach(problem IN LISTS expected)
  if(NOT problem IN_LIST problems)
    message(FATAL_ERROR "not reported: ${problem}\nreported: ${problems}")
  endif()
endforeach()
list(LENGTH problems count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "expected 4 problems, got ${count}: ${problems}")
endif()
file(REMOVE_RECURSE ${WORK})
