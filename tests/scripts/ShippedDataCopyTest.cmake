# The build's copy rule for shipped data, on folders of its own:
#   cmake -DCOPY_SCRIPT=<tools/CopyShippedData.cmake> -DWORK_DIR=<scratch folder> -P ShippedDataCopyTest.cmake
# A shipped file is copied when the program folder lacks it or holds an older copy; a copy that is newer
# and differs was edited there: it is kept and named on one line. Times are set with touch.
set(_data "${WORK_DIR}/data")
set(_runtime "${WORK_DIR}/runtime")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${_data}/Sub" "${_runtime}/Sub")

function(put path text time)
  file(WRITE "${path}" "${text}")
  execute_process(COMMAND touch -d "2020-01-01 ${time}" "${path}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "touch failed on ${path}")
  endif()
endfunction()

function(fail text)
  message(SEND_ERROR "${text}")
endfunction()

function(expect_text path text)
  file(READ "${path}" actual)
  if(NOT actual STREQUAL text)
    fail("${path}: expected '${text}', found '${actual}'")
  endif()
endfunction()

function(expect_same_time a b)
  if(NOT ("${a}" IS_NEWER_THAN "${b}" AND "${b}" IS_NEWER_THAN "${a}"))
    fail("${b} should carry the time of ${a}")
  endif()
endfunction()

function(run_copy expected_kept)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${_data} -DTARGET=${_runtime} -P ${COPY_SCRIPT}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("the copy failed: ${err}")
  endif()
  if(NOT out STREQUAL "")
    fail("nothing belongs on standard output, found '${out}'")
  endif()
  set(expected "")
  foreach(name IN LISTS expected_kept)
    string(APPEND expected
           "Kept ${_runtime}/${name}: edited in the program folder, newer than the shipped ${_data}/${name}\n")
  endforeach()
  if(NOT err STREQUAL expected)
    fail("kept lines: expected\n${expected}found\n${err}")
  endif()
endfunction()

# name | shipped text and time | program folder text and time ("-" for none) | after the copy
set(_cases
  "New.txt|new|10:00:00|-|-|new"
  "Sub/Older.txt|shipped|10:00:00|old copy|09:00:00|shipped"
  "Edited.txt|shipped|10:00:00|designer's edit|11:00:00|designer's edit"
  "Touched.txt|same|10:00:00|same|11:00:00|same"
  "Same_Time.txt|shipped|10:00:00|other|10:00:00|other")
foreach(_case IN LISTS _cases)
  string(REPLACE "|" ";" _f "${_case}")
  list(GET _f 0 _name)
  list(GET _f 1 _text)
  list(GET _f 2 _time)
  list(GET _f 3 _copy)
  list(GET _f 4 _copy_time)
  put("${_data}/${_name}" "${_text}" "${_time}")
  if(NOT _copy STREQUAL "-")
    put("${_runtime}/${_name}" "${_copy}" "${_copy_time}")
  endif()
endforeach()

# The edited copy and the one of equal time but other text are kept; the untouched copy of the same text
# is newer but not an edit, so it is not named.
run_copy("Edited.txt;Same_Time.txt")
foreach(_case IN LISTS _cases)
  string(REPLACE "|" ";" _f "${_case}")
  list(GET _f 0 _name)
  list(GET _f 5 _after)
  expect_text("${_runtime}/${_name}" "${_after}")
endforeach()
expect_same_time("${_data}/New.txt" "${_runtime}/New.txt")
expect_same_time("${_data}/Sub/Older.txt" "${_runtime}/Sub/Older.txt")

# A second build changes nothing and names the same copies again.
run_copy("Edited.txt;Same_Time.txt")
expect_text("${_runtime}/Edited.txt" "designer's edit")

# The designer edits a copy the build made: kept from now on. A newer shipped file replaces an edit.
put("${_runtime}/New.txt" "edited later" "12:00:00")
put("${_data}/Edited.txt" "shipped again" "13:00:00")
run_copy("New.txt;Same_Time.txt")
expect_text("${_runtime}/New.txt" "edited later")
expect_text("${_runtime}/Edited.txt" "shipped again")
