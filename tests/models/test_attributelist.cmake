# The configure-time comparison of an attribute list with its IDL struct, run on small class
# files that agree and on ones where one side gained, lost or reordered an attribute.
#   cmake -DCHECK=models/CheckAttributeList.cmake -DWORK=<dir> -P test_attributelist.cmake

set(idl "struct Sample {\n    @key unsigned long long sdoOrigin;\n    @key unsigned long long sdoSerial;\n"
        "    unsigned long version;\n    double magnitude; // metres\n    string label;\n    boolean isActive;\n};\n")

# Each row: name|entries of the list|whether the check must accept it.
set(rows
  "agree|X(double, magnitude, number) X(std::string, label, text) X(bool, isActive, flag)|1"
  "reordered|X(double, magnitude, number) X(bool, isActive, flag) X(std::string, label, text)|0"
  "missing|X(double, magnitude, number) X(std::string, label, text)|0"
  "extra|X(double, magnitude, number) X(std::string, label, text) X(bool, isActive, flag) X(bool, spare, flag)|0")

file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/Sample.idl "${idl}")
set(failures 0)
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 name)
  list(GET fields 1 entries)
  list(GET fields 2 accepted)
  string(REPLACE ") X(" ") \\\n    X(" entries "${entries}")
  file(WRITE ${WORK}/${name}.h "// X(type, name, dump form)\n#define SAMPLE_ATTRIBUTES(X) \\\n    ${entries}\n\nint after;\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DIDL=${WORK}/Sample.idl -DHEADER=${WORK}/${name}.h -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(accepted AND NOT result EQUAL 0)
    message(SEND_ERROR "${name}: rejected\n${errors}")
  elseif(NOT accepted AND (result EQUAL 0 OR NOT errors MATCHES "differ"))
    message(SEND_ERROR "${name}: not rejected (${result})\n${errors}")
  endif()
endforeach()
