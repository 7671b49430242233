# Common build settings, attached to every target through one interface library
# so that no global flag strings are needed.
add_library(krn310_options INTERFACE)
target_compile_features(krn310_options INTERFACE cxx_std_20)
target_compile_options(krn310_options INTERFACE -Wall -Wextra -Werror)
if(KRN310_SANITIZE)
  target_compile_options(krn310_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(krn310_options INTERFACE -fsanitize=address,undefined)
endif()

# krn310_library(name SOURCES ... [LIBS ...])
function(krn310_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC krn310_options ${ARG_LIBS})
endfunction()

# krn310_test(name LABEL label [QT] SOURCES ... [LIBS ...] [TIMEOUT s])
# One ctest entry per test executable; the environment keeps every test on
# loopback and every window offscreen. QT gives the test a QApplication and
# so an event loop.
function(krn310_test name)
  cmake_parse_arguments(ARG "QT" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_QT)
    set(main krn310_qt_test_main)
  else()
    set(main GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE krn310_options ${ARG_LIBS} GTest::gmock ${main})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS ${ARG_LABEL}
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "KRN310_LOOPBACK_ONLY=1;QT_QPA_PLATFORM=offscreen")
endfunction()
