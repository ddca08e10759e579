# The one-way order of the source folders:
#   platform <- store <- (bound, balloons) <- (setup, calendar, quizzer,
#   addressbook) <- mainwindow <- app
# store is the window-free core; bound holds the controls bound to it and
# the compaction window; the set-up windows and the calendar give their
# hints through the assistant, so balloons rank below them.
#
# A folder fails the check when it includes (#include "x/..." or <x/...>) or
# links a folder of its own rank or above, links a folder it includes
# nothing of, or includes a folder it does not reach through its links.
# Run when configuring and, as a script (cmake -P, with TARVELA_SOURCE_DIR
# and TARVELA_FOLDERS set), before every build.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

set(TARVELA_RANK_platform 0)
set(TARVELA_RANK_store 1)
set(TARVELA_RANK_bound 2)
set(TARVELA_RANK_balloons 2)
set(TARVELA_RANK_setup 3)
set(TARVELA_RANK_calendar 3)
set(TARVELA_RANK_quizzer 3)
set(TARVELA_RANK_addressbook 3)
set(TARVELA_RANK_mainwindow 4)
set(TARVELA_RANK_app 5)

# The folders each folder links.
set(TARVELA_LINKS_platform)
set(TARVELA_LINKS_store platform)
set(TARVELA_LINKS_bound store)
set(TARVELA_LINKS_balloons platform)
set(TARVELA_LINKS_setup bound balloons)
set(TARVELA_LINKS_calendar bound balloons)
set(TARVELA_LINKS_quizzer bound)
set(TARVELA_LINKS_addressbook bound)
set(TARVELA_LINKS_mainwindow setup calendar quizzer addressbook)
set(TARVELA_LINKS_app mainwindow)

# Every folder a folder reaches through its links, into <out>.
function(tarvela_reach folder out)
  set(_reach)
  foreach(_dep IN LISTS TARVELA_LINKS_${folder})
    tarvela_reach(${_dep} _through)
    list(APPEND _reach ${_dep} ${_through})
  endforeach()
  list(REMOVE_DUPLICATES _reach)
  set(${out} ${_reach} PARENT_SCOPE)
endfunction()

# Checks one folder's includes against its rank and its links.
function(tarvela_check_folder source folder)
  set(_own ${TARVELA_RANK_${folder}})
  set(_used)
  file(GLOB _files ${source}/src/${folder}/*.cpp ${source}/src/${folder}/*.h)
  foreach(_f IN LISTS _files)
    file(STRINGS ${_f} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][a-z]+/")
    foreach(_inc IN LISTS _includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([a-z]+)/.*" "\\1" _other "${_inc}")
      if(_other STREQUAL folder OR NOT DEFINED TARVELA_RANK_${_other})
        continue()
      endif()
      if(NOT TARVELA_RANK_${_other} LESS _own)
        message(FATAL_ERROR "${_f}: src/${folder} must not include src/${_other} (folders depend one way)")
      endif()
      list(APPEND _used ${_other})
    endforeach()
  endforeach()
  foreach(_dep IN LISTS TARVELA_LINKS_${folder})
    if(NOT TARVELA_RANK_${_dep} LESS _own)
      message(FATAL_ERROR "src/${folder} must not link src/${_dep} (folders depend one way)")
    endif()
    if(NOT _dep IN_LIST _used)
      message(FATAL_ERROR "src/${folder} links src/${_dep} but includes nothing of it")
    endif()
  endforeach()
  tarvela_reach(${folder} _reach)
  foreach(_other IN LISTS _used)
    if(NOT _other IN_LIST _reach)
      message(FATAL_ERROR "src/${folder} includes src/${_other} but does not link it")
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  foreach(_folder IN LISTS TARVELA_FOLDERS)
    tarvela_check_folder(${TARVELA_SOURCE_DIR} ${_folder})
  endforeach()
endif()
