# The basic-implementation family of one object class, generated into a library target from
# the templates beside this file. Nothing of it is written by hand: the attribute dump comes
# from the class's attribute list, ORVA_PLATFORM_ATTRIBUTES for ORVA::Platform (see
# models/objectclass.h), and the version counter is get_ORVA_Platform_VersionCounter.
#
#   basicimpl_family(TARGET lib NAMESPACE ORVA::Platform FILE platform
#                    MODEL_HEADER models/... EXPORT_HEADER basicimpl/platform/export.h
#                    EXPORT_MACRO ORVA_PLATFORM_BASIC_EXPORT)
#
# Gives <build>/generated/<folder>/<FILE>basicimpl.h, included as "<folder>/<FILE>basicimpl.h".
set(BASICIMPL_TEMPLATE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(basicimpl_family)
  set(one TARGET NAMESPACE FILE MODEL_HEADER EXPORT_HEADER EXPORT_MACRO)
  cmake_parse_arguments(F "" "${one}" "" ${ARGN})
  foreach(arg IN LISTS one)
    if(NOT F_${arg})
      message(FATAL_ERROR "basicimpl_family: ${arg} missing")
    endif()
  endforeach()

  file(RELATIVE_PATH folder ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  string(REPLACE "::" "_" flat ${F_NAMESPACE})
  string(TOUPPER ${flat}_ATTRIBUTES BI_ATTRIBUTES)
  set(BI_VERSION_ATTRIBUTE ${flat}_VersionCounter)
  set(BI_NAMESPACE ${F_NAMESPACE})
  set(BI_MODEL_HEADER ${F_MODEL_HEADER})
  set(BI_EXPORT_HEADER ${F_EXPORT_HEADER})
  set(BI_EXPORT ${F_EXPORT_MACRO})
  set(BI_HEADER ${folder}/${F_FILE}basicimpl.h)

  foreach(kind h cpp)
    configure_file(${BASICIMPL_TEMPLATE_DIR}/family.${kind}.in
                   ${VKRSIM_GENERATED_DIR}/${folder}/${F_FILE}basicimpl.${kind} @ONLY)
  endforeach()
  target_sources(${F_TARGET} PRIVATE ${VKRSIM_GENERATED_DIR}/${folder}/${F_FILE}basicimpl.cpp)
endfunction()
