# An object class's attribute list (the X(type, name, form) entries of <CLASS>_ATTRIBUTES in its
# header) and the members of its IDL struct after `version` must name the same attributes in the
# same order. The compiler checks the types (models/objectclass_p.h); this checks the names, so
# that neither side gains, loses or reorders an attribute alone.
#
#   orva_check_attribute_list(IDL HEADER)     fails the configuration when they differ
#   cmake -DIDL=... -DHEADER=... -P CheckAttributeList.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.25)
endif()

function(orva_check_attribute_list idl header)
  file(READ ${idl} text)
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  string(REGEX MATCH "[ \t]version;([^}]*)}" body "${text}")
  # Each member's name is the word before its semicolon (a list separator in CMake: mark it).
  string(REPLACE ";" "@" body "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*[ \t]*@" idl_names "${body}")
  list(TRANSFORM idl_names REPLACE "[ \t]*@$" "")

  file(READ ${header} text)
  # The list macro: its #define line and the lines continued from it.
  string(REGEX MATCH "_ATTRIBUTES\\(X\\)([^\n\\\\]*\\\\\n)*[^\n]*" list "${text}")
  string(REGEX MATCHALL "X\\([^,()]+,[ \t]*[A-Za-z_][A-Za-z0-9_]*[ \t]*," entries "${list}")
  list(TRANSFORM entries REPLACE "^X\\([^,]+,[ \t]*([A-Za-z0-9_]+).*" "\\1" OUTPUT_VARIABLE list_names)

  if(NOT idl_names OR NOT idl_names STREQUAL list_names)
    message(FATAL_ERROR "attribute list of ${header} and struct of ${idl} differ:\n"
                        "  list: ${list_names}\n  IDL:  ${idl_names}")
  endif()
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${idl} ${header})
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  orva_check_attribute_list(${IDL} ${HEADER})
endif()
