cmake_minimum_required(VERSION 3.25)
# Runs CheckLayers.cmake on small program trees made here, one per case, and
# fails unless it names exactly the includes that break the layers, whatever
# their spelling. Run with -DCHECKER=<CheckLayers.cmake> -DWORK_DIR=<scratch>.

# Each case: the file, the include line written into it, and whether the
# checker must name it. Files that a case's include leads to are made too, so
# a name beside the source is found as the compiler would find it.
set(cases
  "settings/SettingsExtra.cpp|#include \"../mainwindow/frmMain.h\"|fault"
  "processing/RenderExtra.cpp|#include <viewer/frmPic.h>|fault"
  "platform/imaging/Filter.h|#include \"state/ColorMatrix.h\"|fault"
  "settings/menus/Menu.cpp|#include \"../../viewer/frmPic.h\"|fault"
  "state/Record.h|#  include   \"widgets/ChoiceSources.h\"|fault"
  "store/Store.cpp|#include \"services/ShellHelpers.h\"|fault"
  "services/Tips.cpp|#include <store/SettingsStore.h>|fault"
  "viewer/View.cpp|#include \"settings/frmDlg.h\"|fault"
  "widgets/Box.cpp|#include \"./../mainwindow/frmMain.h\"|fault"
  "state/StartValues.cpp|#include \"platform/folders/ProgramFolders.h\"|fine"
  "settings/menus/Menu.cpp|#include \"../SettingsPanel.h\"|fine"
  "processing/Book.cpp|#include \"pdf/PdfLibrary.h\"|fine"
  "mainwindow/frmMain.cpp|#include <settings/frmDlg.h>|fine"
  "viewer/View.cpp|#include \"processing/RenderPicture.h\"|fine"
  "state/Record.h|// #include \"mainwindow/frmMain.h\"|fine"
  "state/Record.h|#include <QString>|fine")

set(failures "")
set(n 0)
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 file)
  list(GET fields 1 line)
  list(GET fields 2 expected)
  math(EXPR n "${n} + 1")
  set(app "${WORK_DIR}/case${n}/app")
  file(REMOVE_RECURSE "${WORK_DIR}/case${n}")
  # Every folder exists, with the headers the cases name.
  foreach(header state/ColorMatrix.h platform/folders/ProgramFolders.h mainwindow/frmMain.h
                 viewer/frmPic.h widgets/ChoiceSources.h services/ShellHelpers.h
                 store/SettingsStore.h settings/frmDlg.h settings/SettingsPanel.h
                 processing/RenderPicture.h processing/pdf/PdfLibrary.h)
    file(WRITE "${app}/${header}" "#pragma once\n")
  endforeach()
  file(WRITE "${app}/${file}" "#pragma once\n\n${line}\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DAPP_DIR=${app} -P "${CHECKER}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(FIND "${out}" "app/${file}: ${line}" named)
  if(expected STREQUAL "fault" AND (status EQUAL 0 OR named EQUAL -1))
    string(APPEND failures "  not caught: app/${file}: ${line}\n${out}\n")
  elseif(expected STREQUAL "fine" AND NOT status EQUAL 0)
    string(APPEND failures "  wrongly named: app/${file}: ${line}\n${out}\n")
  endif()
endforeach()

# A new folder with sources has to be given its place before it can pass.
set(app "${WORK_DIR}/unranked/app")
file(REMOVE_RECURSE "${WORK_DIR}/unranked")
file(WRITE "${app}/state/Record.h" "#pragma once\n")
file(WRITE "${app}/extras/Extra.cpp" "#include \"state/Record.h\"\n")
execute_process(COMMAND "${CMAKE_COMMAND}" -DAPP_DIR=${app} -P "${CHECKER}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(status EQUAL 0 OR NOT out MATCHES "app/extras/ holds sources but has no place in the layers")
  string(APPEND failures "  not caught: a folder without a place in the layers\n${out}\n")
endif()

if(failures)
  message(FATAL_ERROR "The layer check is wrong:\n${failures}")
endif()
