# Shapes that every module's CMakeLists.txt shares.

# Targets without Qt need none of its code generators; qt_standard_project_setup
# switches them on for every target, so the shapes below switch them off here,
# once, instead of each CMakeLists.txt doing it by hand.
function(kyusei_without_qt_generators name)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()

# A plain C++ library: no Qt, so no moc; headers included from the repository
# root ("reckoning/board.h").
function(kyusei_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_features(${name} PUBLIC cxx_std_20)
  kyusei_without_qt_generators(${name})
endfunction()

# A plain C++ program: a benchmark, a fuzzer, a generator of test inputs.
function(kyusei_core_executable name)
  add_executable(${name} ${ARGN})
  kyusei_without_qt_generators(${name})
endfunction()

# A GoogleTest executable over plain C++ code, each test registered with ctest.
# Listing the tests starts the program, under wine in the Windows build, where
# the first start of a prefix on a busy machine takes longer than the default
# five seconds.
function(kyusei_core_tests name)
  kyusei_core_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# Widget tests run offscreen at the layout's own scale and on a dense screen
# (device pixel ratio 2), where every window must keep its layout. Those that
# check how the windows are drawn (pass FRACTIONAL_SCALES) run also at the
# desktop's fractional scales 125 % and 150 %, where a layout pixel is no whole
# number of device pixels; PassThrough keeps Qt from rounding those to 1 and 2.
# The others stay at two runs, which keeps the suite short.
#
# Under wine (the Windows build) the programs never see the QT_* variables of
# the environment, so the platform comes on the command line and the runs at
# other scales are left out.
function(kyusei_add_widget_test target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "FRACTIONAL_SCALES" "" "")
  if(WIN32)
    add_test(NAME ${target} COMMAND ${target} -platform offscreen)
    return()
  endif()
  set(scales 2)
  if(ARG_FRACTIONAL_SCALES)
    list(APPEND scales 1.25 1.5)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  foreach(scale IN LISTS scales)
    add_test(NAME ${target}_${scale}x COMMAND ${target})
    set_tests_properties(${target}_${scale}x PROPERTIES ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};QT_SCALE_FACTOR_ROUNDING_POLICY=PassThrough")
  endforeach()
endfunction()
