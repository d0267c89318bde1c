# Fails when a core source includes a widget header.
file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/src/text/* ${SOURCE_DIR}/src/storage/* ${SOURCE_DIR}/src/diary/* ${SOURCE_DIR}/src/*/core/*)
foreach(f IN LISTS core_files)
  file(STRINGS ${f} hits REGEX "#include[ \t]*<(QtWidgets/|QtGui/|Q(Widget|Application|MainWindow|LineEdit|Label|PushButton|MessageBox|FileDialog|CalendarWidget|Color|Palette|Font)[>.])")
  if(hits)
    message(FATAL_ERROR "${f} includes a widget or GUI header: ${hits}")
  endif()
endforeach()
message(STATUS "core is free of widget headers")
