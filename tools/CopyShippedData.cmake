# Copies the shipped data into the program folder at build time:
#   cmake -DSOURCE=<repository>/data -DTARGET=<build>/runtime -P CopyShippedData.cmake
# A shipped file is copied when the program folder has no copy of it, or when the shipped file is newer
# than the copy. A copy newer than its shipped file was edited in the program folder (where the README and
# the tool's file dialog point the designers): it is kept, and one line names it. A copy carries the
# shipped file's time, so an unedited copy is never newer than its source.
if(NOT DEFINED SOURCE OR NOT DEFINED TARGET)
  message(FATAL_ERROR "CopyShippedData.cmake needs -DSOURCE=<folder> and -DTARGET=<folder>")
endif()

file(GLOB_RECURSE _shipped RELATIVE "${SOURCE}" LIST_DIRECTORIES false "${SOURCE}/*")
list(SORT _shipped)
foreach(_name IN LISTS _shipped)
  set(_from "${SOURCE}/${_name}")
  set(_to "${TARGET}/${_name}")
  # IS_NEWER_THAN also holds for equal times: "strictly newer" needs both tests.
  if(NOT EXISTS "${_to}" OR ("${_from}" IS_NEWER_THAN "${_to}" AND NOT "${_to}" IS_NEWER_THAN "${_from}"))
    get_filename_component(_folder "${_to}" DIRECTORY)
    file(COPY "${_from}" DESTINATION "${_folder}")
  else()
    file(SHA256 "${_from}" _shipped_hash)
    file(SHA256 "${_to}" _copy_hash)
    if(NOT _shipped_hash STREQUAL _copy_hash)
      message(NOTICE "Kept ${_to}: edited in the program folder, newer than the shipped ${_from}")
    endif()
  endif()
endforeach()
