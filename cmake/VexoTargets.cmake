# Helpers that keep every subsystem folder a library of its own and every test folder a mirror of it.
# Sources are globbed so that adding a file to a folder needs no edit here.

function(vexo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
  # The sanitizers' instrumentation gives gcc false warnings (array bounds, uninitialised values), and
  # gcc advises against -Werror with them: warnings are errors in the plain build only.
  if(VEXO_WERROR AND NOT VEXO_SANITIZE)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# vexo_add_library(<name> [DEPS <targets>...])
# Builds src/<name>/*.cpp (plus *.qrc) into the library vexo_<name>. A folder without sources yet
# becomes an interface library so that its dependants link the same way.
function(vexo_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.(cpp|qrc)$")
  if(cpp)
    add_library(vexo_${name} STATIC ${sources})
    target_include_directories(vexo_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(vexo_${name} PUBLIC ${ARG_DEPS})
    vexo_warnings(vexo_${name})
  else()
    add_library(vexo_${name} INTERFACE)
    target_include_directories(vexo_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(vexo_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# vexo_add_tests(<name> [LIBS <targets>...])
# tests/<name>/test_*.cpp form one GoogleTest program <name>_tests; every tests/<name>/tst_*.cpp is a
# QtTest program of its own. All run offscreen, with the source tree's test data at hand.
function(vexo_add_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB gtests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB qtests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  # The source tree is compiled in (tests/support/source_tree.h) rather than passed through the
  # environment, which gtest_discover_tests would split at its semicolons.
  set(env "QT_QPA_PLATFORM=offscreen")
  if(gtests)
    add_executable(${name}_tests ${gtests} ${helpers})
    target_link_libraries(${name}_tests PRIVATE ${ARG_LIBS} vexo_testsupport GTest::gtest Qt6::Test)
    vexo_warnings(${name}_tests)
    gtest_discover_tests(${name}_tests PROPERTIES ENVIRONMENT "${env}" DISCOVERY_TIMEOUT 60
                         DISCOVERY_MODE PRE_TEST)
  endif()
  foreach(src ${qtests})
    get_filename_component(base ${src} NAME_WE)
    # Every window test runs with a private home (tests/support/private_home.h), set before main().
    add_executable(${name}_${base} ${src} ${helpers} ${PROJECT_SOURCE_DIR}/tests/support/qtest_home/private_home_first.cpp)
    target_link_libraries(${name}_${base} PRIVATE ${ARG_LIBS} vexo_testsupport Qt6::Test)
    vexo_warnings(${name}_${base})
    add_test(NAME ${name}.${base} COMMAND ${name}_${base})
    set_tests_properties(${name}.${base} PROPERTIES ENVIRONMENT "${env}")
  endforeach()
endfunction()
