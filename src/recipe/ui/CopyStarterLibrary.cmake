# cmake -DSRC=<assets/recipes> -DDST=<program folder> -P CopyStarterLibrary.cmake
# Gives a program folder each starter folder that it does not have yet. A folder
# that is there already is the user's: nothing in it is replaced or added back.
file(GLOB folders RELATIVE "${SRC}" LIST_DIRECTORIES true "${SRC}/*")
foreach(name IN LISTS folders)
  if(IS_DIRECTORY "${SRC}/${name}" AND NOT EXISTS "${DST}/${name}" AND NOT IS_SYMLINK "${DST}/${name}")
    file(COPY "${SRC}/${name}" DESTINATION "${DST}")
  endif()
endforeach()
