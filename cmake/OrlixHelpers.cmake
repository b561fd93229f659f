# Two helpers keep every folder's CMakeLists.txt to a line per target.

function(orlix_target_options target)
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ORLIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(ORLIX_SANITIZE)
    # GCC's "undefined" leaves out casts of a floating value that the target type cannot hold
    # (a JSON 1e300 made a qint64): named on their own, they are caught too.
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow
      -fno-omit-frame-pointer -fno-sanitize-recover=undefined,float-cast-overflow)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow)
  endif()
endfunction()

# orlix_library(NAME SOURCES a.cpp b.cpp DEPS Qt6::Core ...)
# Declares a static library once; folders below add their files with orlix_sources().
function(orlix_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  target_compile_definitions(${name} PUBLIC QT_NO_KEYWORDS)
  orlix_target_options(${name})
endfunction()

# orlix_sources(TARGET a.cpp b.cpp): a folder's own files for a library declared above it.
# The header beside each file is added too, so that moc sees every Q_OBJECT class.
function(orlix_sources target)
  set(files)
  foreach(f IN LISTS ARGN)
    list(APPEND files ${f})
    get_filename_component(stem ${f} NAME_WLE)
    get_filename_component(dir ${f} DIRECTORY)
    if(dir)
      set(header ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${stem}.h)
    else()
      set(header ${CMAKE_CURRENT_SOURCE_DIR}/${stem}.h)
    endif()
    if(EXISTS ${header})
      list(APPEND files ${header})
    endif()
  endforeach()
  target_sources(${target} PRIVATE ${files})
endfunction()

# orlix_test(NAME [LABELS webengine] [TIMEOUT seconds] SOURCES a_test.cpp DEPS orlix_client)
# One test program per folder; every case is its own ctest test and its own process. LABELS
# mark its cases for ctest -L/-LE: "webengine" for those that start the web engine. A program
# of cases that run many processes may give them more than the usual 120 s.
function(orlix_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE orlix_testmain ${ARG_DEPS} GTest::gtest GTest::gmock)
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/qtprinters.h)
  orlix_target_options(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
