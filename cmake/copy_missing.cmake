# Copies every file of SRC into DST unless DST already has a file of that name.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f ${files})
  if(NOT EXISTS ${DST}/${f})
    get_filename_component(dir ${DST}/${f} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${SRC}/${f} ${DST}/${f})
  endif()
endforeach()

# The help file is the program's own, not the user's: always the delivered one.
if(DEFINED HELP AND EXISTS ${HELP})
  file(GLOB help_files ${HELP}/*)
  foreach(f ${help_files})
    file(COPY ${f} DESTINATION ${DST})
  endforeach()
endif()
