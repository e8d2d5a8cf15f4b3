# Widget tests run offscreen twice: at the layout's own scale and on a dense
# screen (device pixel ratio 2), where every window must keep its layout.
function(kyusei_add_widget_test target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  add_test(NAME ${target}_2x COMMAND ${target})
  set_tests_properties(${target}_2x PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
endfunction()
