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
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${kyusei_wine_env} ${kyusei_wine})

