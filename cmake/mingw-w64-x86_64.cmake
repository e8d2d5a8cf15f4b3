# Cross-builds kyusei for 64-bit Windows with Debian's mingw-w64 (POSIX threads,
# which std::thread needs), against the Qt that scripts/build-qt-windows keeps in
# the cache, and runs the built programs (tests, test discovery) under wine.
# Used by the windows preset.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# The script names its own folder (its hash is in the name), so asking it keeps
# this file right when the script changes.
execute_process(
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/build-qt-windows --print
  OUTPUT_VARIABLE kyusei_windows_qt
  OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
if(NOT EXISTS ${kyusei_windows_qt}/.complete)
  message(FATAL_ERROR "Qt for Windows is not built yet: run scripts/build-qt-windows")
endif()

set(CMAKE_FIND_ROOT_PATH ${kyusei_windows_qt} /usr/x86_64-w64-mingw32)
set(CMAKE_PREFIX_PATH ${kyusei_windows_qt})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# moc, rcc and uic are the Linux build's own (the same Qt version).
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# wine keeps its own C: drive beside Qt, made once. Qt's bin holds Qt's DLLs and
# the compiler's runtime, the only DLLs the programs load from outside Windows.
get_filename_component(kyusei_cache ${kyusei_windows_qt} DIRECTORY)
set(kyusei_wineprefix ${kyusei_cache}/wine64)
set(kyusei_wine /usr/lib/wine/wine64)
set(kyusei_wine_env
  WINEPREFIX=${kyusei_wineprefix} WINEDEBUG=-all WINEPATH=${kyusei_windows_qt}/bin
  # no Mono and no Gecko: nothing here needs .NET or a browser
  WINEDLLOVERRIDES=mscoree,mshtml=)
if(NOT EXISTS ${kyusei_wineprefix}/system.reg)
  file(LOCK ${kyusei_cache}/wine64.lock)
  if(NOT EXISTS ${kyusei_wineprefix}/system.reg)
    message(STATUS "Making wine's C: drive in ${kyusei_wineprefix}")
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env ${kyusei_wine_env} nice -n 19 ${kyusei_wine} wineboot -i
      COMMAND_ERROR_IS_FATAL ANY
      OUTPUT_QUIET ERROR_QUIET)
    # the prefix is written out when wine's server ends
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${kyusei_wineprefix} /usr/lib/wine/wineserver -w)
  endif()
  file(LOCK ${kyusei_cache}/wine64.lock RELEASE)
endif()
# What the tests need of the prefix, set once (the stamp names this version):
# - With no console, Qt sends its messages and the test logs to the debugger
#   instead of stderr, and ctest would show nothing of a failure. wine leaves
#   every QT_ variable of ours out of the programs' environment, so the
#   prefix's own environment says it.
# - The offscreen platform reads its faces from one folder, and wine's Fonts
#   folder is empty: the Japanese faces and a Latin one go there, so that the
#   widget tests draw text as on Linux and not as empty boxes.
set(kyusei_prefix_stamp ${kyusei_wineprefix}/.kyusei-test-settings-1)
if(NOT EXISTS ${kyusei_prefix_stamp})
  file(LOCK ${kyusei_cache}/wine64.lock)
  foreach(face
      /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf
      /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf
      /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
      /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
    get_filename_component(name ${face} NAME)
    file(CREATE_LINK ${face} ${kyusei_wineprefix}/drive_c/windows/Fonts/${name} SYMBOLIC)
  endforeach()
  foreach(setting "QT_FORCE_STDERR_LOGGING=1" "QT_QPA_FONTDIR=C:\\windows\\Fonts")
    string(REPLACE "=" ";" setting "${setting}")
    list(GET setting 0 name)
    list(GET setting 1 value)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env ${kyusei_wine_env} ${kyusei_wine}
        reg add "HKCU\\Environment" /v ${name} /d ${value} /f
      COMMAND_ERROR_IS_FATAL ANY
      OUTPUT_QUIET ERROR_QUIET)
  endforeach()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${kyusei_wineprefix} /usr/lib/wine/wineserver -w)
  file(TOUCH ${kyusei_prefix_stamp})
  file(LOCK ${kyusei_cache}/wine64.lock RELEASE)
endif()
set(kyusei_wine_run ${CMAKE_CURRENT_LIST_DIR}/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${kyusei_wine_env} ${kyusei_wine_run})

