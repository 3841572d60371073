# The layer graph, stated once and checked by the build.
#
# vkrsim_layer(NAME [USES LAYER...]) declares one source folder, lowest first, with the layers it
# may include and link. A layer may only use layers declared before it, so every arrow points down.
# vkrsim_check_layers() then reads every `#include "<folder>/..."` of the source tree and stops the
# configure step on an include that the including folder may not use, or on a private header
# (its name ends in `_p.h`) included from outside its own folder and that folder's tests.
#
# The check itself lives in VkrsimLayerCheck.cmake, runnable as a script so a test can show that it
# catches a bad include in a tree made for the purpose.

include_guard(GLOBAL)

set_property(GLOBAL PROPERTY VKRSIM_LAYER_ORDER "")

function(vkrsim_layer name)
  cmake_parse_arguments(L "" "" "USES" ${ARGN})
  get_property(order GLOBAL PROPERTY VKRSIM_LAYER_ORDER)
  if(name IN_LIST order)
    message(FATAL_ERROR "vkrsim_layer: ${name} declared twice")
  endif()
  foreach(used IN LISTS L_USES)
    if(NOT used IN_LIST order)
      message(FATAL_ERROR "vkrsim_layer: ${name} uses ${used}, which is not declared below it")
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VKRSIM_LAYER_ORDER ${name})
  set_property(GLOBAL PROPERTY VKRSIM_LAYER_USES_${name} "${L_USES}")
endfunction()

# Adds the folder of every declared layer that builds something, in the declared order.
macro(vkrsim_add_layers)
  get_property(_vkrsim_layers GLOBAL PROPERTY VKRSIM_LAYER_ORDER)
  foreach(_vkrsim_layer IN LISTS _vkrsim_layers)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${_vkrsim_layer}/CMakeLists.txt)
      add_subdirectory(${_vkrsim_layer})
    endif()
  endforeach()
endmacro()

# Writes the declared graph as "layer: used used ..." lines, the form the check script reads.
function(vkrsim_write_layer_file file)
  get_property(order GLOBAL PROPERTY VKRSIM_LAYER_ORDER)
  set(text "")
  foreach(layer IN LISTS order)
    get_property(uses GLOBAL PROPERTY VKRSIM_LAYER_USES_${layer})
    string(REPLACE ";" " " uses "${uses}")
    string(APPEND text "${layer}: ${uses}\n")
  endforeach()
  # Written only when it changes, so a re-configure alone does not re-run the check.
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}")
endfunction()

# Adds a build step that runs the check whenever a source file of the tree changes, so a bad
# include fails the build, not only the tests.
function(vkrsim_check_layers)
  set(layerFile ${PROJECT_BINARY_DIR}/layers.txt)
  vkrsim_write_layer_file(${layerFile})
  get_property(order GLOBAL PROPERTY VKRSIM_LAYER_ORDER)
  set(sources "")
  foreach(dir IN LISTS order ITEMS tests bench soak)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${PROJECT_SOURCE_DIR}/${dir}/*.h ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.in)
    list(APPEND sources ${found})
  endforeach()
  set(stamp ${PROJECT_BINARY_DIR}/layers.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DLAYERS=${layerFile}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VkrsimLayerCheck.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${layerFile} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VkrsimLayerCheck.cmake
    COMMENT "Checking the layer graph of every include"
    VERBATIM)
  add_custom_target(vkrsim_layer_check ALL DEPENDS ${stamp})
endfunction()
