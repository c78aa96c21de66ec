# Zips those of FILES that exist in DIST into ZIP, flat, the way they lie in an install folder.
set(present)
foreach(f ${FILES})
  if(EXISTS ${DIST}/${f})
    list(APPEND present ${f})
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${present}
  WORKING_DIRECTORY ${DIST} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${ZIP}")
endif()
