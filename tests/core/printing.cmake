# Printing from templates. The flows that reach the preview start the web engine, which
# cannot run under the sanitizers.
orlix_test(core_printing_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/templateprinting_test.cpp)
orlix_test(core_printing_webengine_tests SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/templateprinting_webengine_test.cpp)
