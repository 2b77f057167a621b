cmake_minimum_required(VERSION 3.25)
# Fails, naming each line, when a source file of the program includes a
# folder that its own folder may not use. Run with -DAPP_DIR=<the app folder>.
#
# Each folder lists the lower folders it may include; a folder always uses its
# own files. From the bottom: the platform stand-ins, which know nothing of the
# program; the program state, whose records hold platform types (the colour
# matrix); the settings store and the services, which read and write the
# state and never use each other; the picture processing; the widgets; the
# windows. The settings windows and the viewer are opened by the main window
# and know neither it nor each other.
set(may_use_platform "")
set(may_use_state platform)
set(may_use_store state platform)
set(may_use_services state platform)
set(may_use_processing store services state platform)
set(may_use_widgets processing store services state platform)
set(may_use_settings widgets processing store services state platform)
set(may_use_viewer widgets processing store services state platform)
set(may_use_mainwindow settings viewer widgets processing store services state platform)
set(folders platform state store services processing widgets settings viewer mainwindow)

if(NOT IS_DIRECTORY "${APP_DIR}")
  message(FATAL_ERROR "No program folder at '${APP_DIR}'")
endif()
get_filename_component(APP_DIR "${APP_DIR}" REALPATH)
set(source_patterns *.h *.hh *.hpp *.c *.cc *.cpp *.cxx *.inc *.inl)

# The folder of the program that an include names, or "" when it names none
# (a system or library header, or a file beside the source). A quoted name is
# looked up beside the source first, as the compiler does, then from the
# program folder; a name in angle brackets only from the program folder.
function(included_folder source delimiter name out)
  get_filename_component(source_dir "${source}" DIRECTORY)
  set(path "")
  if(delimiter STREQUAL "\"")
    get_filename_component(beside "${name}" ABSOLUTE BASE_DIR "${source_dir}")
    if(EXISTS "${beside}" OR name MATCHES "^\\.\\.?/")
      set(path "${beside}")
    endif()
  endif()
  if(path STREQUAL "")
    get_filename_component(path "${name}" ABSOLUTE BASE_DIR "${APP_DIR}")
  endif()
  file(RELATIVE_PATH relative "${APP_DIR}" "${path}")
  set(folder "")
  if(NOT relative MATCHES "^\\.\\./" AND relative MATCHES "^([^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

set(faults "")

# A folder with sources that has no place in the layers would escape the check.
file(GLOB entries LIST_DIRECTORIES true "${APP_DIR}/*")
foreach(entry IN LISTS entries)
  get_filename_component(folder "${entry}" NAME)
  if(IS_DIRECTORY "${entry}" AND NOT folder IN_LIST folders)
    list(TRANSFORM source_patterns PREPEND "${entry}/" OUTPUT_VARIABLE globs)
    file(GLOB_RECURSE sources ${globs})
    if(sources)
      string(APPEND faults "  app/${folder}/ holds sources but has no place in the layers\n")
    endif()
  endif()
endforeach()

foreach(folder IN LISTS folders)
  list(TRANSFORM source_patterns PREPEND "${APP_DIR}/${folder}/" OUTPUT_VARIABLE globs)
  file(GLOB_RECURSE sources ${globs})
  list(SORT sources)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH shown "${APP_DIR}" "${source}")
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        continue()
      endif()
      included_folder("${source}" "${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}" target)
      if(target STREQUAL "" OR target STREQUAL folder)
        continue()
      endif()
      if(NOT target IN_LIST folders)
        # The program's other folders hold no headers (resources); a name
        # that leads there is a mistake of its own, not a layer's.
        continue()
      endif()
      if(NOT target IN_LIST may_use_${folder})
        string(STRIP "${line}" line)
        string(APPEND faults "  app/${shown}: ${line}  (${folder}/ may not use ${target}/)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Folders include folders they may not use:\n${faults}")
endif()
