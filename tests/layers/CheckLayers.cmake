# Fails, naming each line, when a folder of the program includes a folder that
# lies above it. The lists give, for each folder, the folders it must not use.
set(windows mainwindow settings viewer)
set(above_state processing widgets ${windows})
set(forbidden_state ${above_state})
set(forbidden_store ${above_state})
set(forbidden_platform ${above_state})
set(forbidden_services ${above_state})
set(forbidden_processing widgets ${windows})
set(forbidden_widgets ${windows})
# The settings windows and the viewer are opened by the main window and know
# neither it nor each other.
set(forbidden_settings mainwindow viewer)
set(forbidden_viewer mainwindow settings)

set(faults "")
foreach(folder state store platform services processing widgets settings viewer)
  file(GLOB_RECURSE sources ${APP_DIR}/${folder}/*.h ${APP_DIR}/${folder}/*.cpp)
  list(JOIN forbidden_${folder} "|" alternatives)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"(${alternatives})/")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name ${APP_DIR} ${source})
      string(APPEND faults "  app/${name}: ${line}\n")
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Folders include folders above them:\n${faults}")
endif()
