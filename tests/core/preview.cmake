# The document and HTML print previews.
orlix_test(core_preview_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/frmprintpreview_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printfile_test.cpp ${CMAKE_CURRENT_LIST_DIR}/templatetags_test.cpp)
# These start the web engine, which cannot run under the sanitizers.
orlix_test(core_preview_webengine_tests SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/frmhtmlprintpreview_webengine_test.cpp)
