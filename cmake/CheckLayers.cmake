# Fails when a source file includes a header of a layer above its own. Run as
#   cmake -DSRC=<project>/src -P CheckLayers.cmake
# A file's layer is its folder; a folder takes the rank of its nearest ranked folder (so
# platform/qt ranks as platform). A file may include headers of its own folder, of a folder it
# sits in, and of lower ranks; folders of equal rank never include each other, so protocol/ and
# platform/ stand alone and no page includes another page.
set(rank_platform 0)
set(rank_protocol 0)
set(rank_edid 0)
set(rank_state 1)
set(rank_resources 1)
set(rank_link 2)
set(rank_ui 2)
set(rank_profile 2) # what is kept between runs, for the shell, the pages and zentrel-ctl
set(rank_session 3)
set(rank_operations 4)
set(rank_app 5)
set(rank_pages/general/netconfig 6) # the configuration dialog, below the page that owns it
set(rank_pages/general 7)
set(rank_pages/edid 7)
set(rank_pages/matrix 7)
set(rank_pages/firmware 7)
set(rank_pages 8) # the page factory, above every page
set(rank_cli 8)
set(rank_view 9)

function(rank_of dir out)
  set(d "${dir}")
  while(NOT d STREQUAL "")
    if(DEFINED rank_${d})
      set(${out} "${rank_${d}}" PARENT_SCOPE)
      return()
    endif()
    get_filename_component(d "${d}" DIRECTORY)
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(faults "")
foreach(f ${files})
  get_filename_component(own "${f}" DIRECTORY)
  rank_of("${own}" own_rank)
  if(own_rank STREQUAL "")
    continue() # main.cpp wires everything together
  endif()
  file(STRINGS ${SRC}/${f} lines REGEX "^#include \"[a-z]+/")
  foreach(line ${lines})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" inc "${line}")
    get_filename_component(other "${inc}" DIRECTORY)
    rank_of("${other}" other_rank)
    if(other_rank STREQUAL "" OR own STREQUAL other OR own MATCHES "^${other}/")
      continue()
    endif()
    if(NOT other_rank LESS own_rank)
      list(APPEND faults "${f} includes ${inc}")
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "A layer includes a layer above it:\n  ${text}")
endif()
message(STATUS "Layers hold: ${SRC}")
