# The basic-implementation family of one object class, generated into a library target from
# the templates beside this file. Only the class's attribute dump is written by hand
# (DUMP_SOURCE); everything else is the same for every class.
#
#   basicimpl_family(TARGET lib NAMESPACE ORVA::Platform FILE platform
#                    VERSION_ATTRIBUTE ORVA_Platform_VersionCounter
#                    MODEL_HEADER models/... EXPORT_HEADER basicimpl/platform/export.h
#                    EXPORT_MACRO ORVA_PLATFORM_BASIC_EXPORT DUMP_SOURCE platformdump.cpp)
#
# Gives <build>/<folder>/<FILE>basicimpl.h, included as "<folder>/<FILE>basicimpl.h".
set(BASICIMPL_TEMPLATE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(basicimpl_family)
  set(one TARGET NAMESPACE FILE VERSION_ATTRIBUTE MODEL_HEADER EXPORT_HEADER EXPORT_MACRO DUMP_SOURCE)
  cmake_parse_arguments(F "" "${one}" "" ${ARGN})
  foreach(arg IN LISTS one)
    if(NOT F_${arg})
      message(FATAL_ERROR "basicimpl_family: ${arg} missing")
    endif()
  endforeach()

  file(RELATIVE_PATH folder ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  set(BI_NAMESPACE ${F_NAMESPACE})
  set(BI_VERSION_ATTRIBUTE ${F_VERSION_ATTRIBUTE})
  set(BI_MODEL_HEADER ${F_MODEL_HEADER})
  set(BI_EXPORT_HEADER ${F_EXPORT_HEADER})
  set(BI_EXPORT ${F_EXPORT_MACRO})
  set(BI_HEADER ${folder}/${F_FILE}basicimpl.h)
  set(BI_DUMP_HEADER ${folder}/${F_FILE}dump.h)

  foreach(kind h cpp)
    configure_file(${BASICIMPL_TEMPLATE_DIR}/family.${kind}.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${F_FILE}basicimpl.${kind} @ONLY)
  endforeach()
  configure_file(${BASICIMPL_TEMPLATE_DIR}/dump.h.in ${CMAKE_CURRENT_BINARY_DIR}/${F_FILE}dump.h @ONLY)
  target_sources(${F_TARGET} PRIVATE
    ${CMAKE_CURRENT_BINARY_DIR}/${F_FILE}basicimpl.cpp
    ${F_DUMP_SOURCE})
endfunction()
