# quorvane_layer_tests(NAME [DEFINITIONS definitions...])
#
# The folder tests/NAME/ holds the tests of layer NAME, and they build like
# the layer's own code: linked to quorvane_NAME (and through it to the layers
# below) alone, with the test helpers of tests/support/. A test that includes
# a header of a layer above its own fails to compile. A layer without a tests
# folder has no test program; a new layer's folder needs nothing else.
#
# GoogleTest suites build into one program, quorvane_NAME_tests, whose cases
# CTest finds. The folder of a Qt layer holds QtTest suites instead: every
# *_test.cpp is a program of its own, run as the CTest test NAME.<suite>
# without a screen.
function(quorvane_layer_tests name)
  cmake_parse_arguments(TESTS "" "" "DEFINITIONS" ${ARGN})
  set(folder ${CMAKE_SOURCE_DIR}/tests/${name})
  if(NOT IS_DIRECTORY ${folder})
    return()
  endif()
  get_target_property(qt quorvane_${name} QUORVANE_QT)
  if(qt)
    file(GLOB suites CONFIGURE_DEPENDS ${folder}/*_test.cpp)
    foreach(source IN LISTS suites)
      get_filename_component(suite ${source} NAME_WE)
      add_executable(${suite} ${source})
      set_target_properties(${suite} PROPERTIES AUTOMOC ON)
      target_include_directories(${suite} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
      target_link_libraries(${suite} PRIVATE quorvane_${name} Qt6::Test)
      target_compile_definitions(${suite} PRIVATE ${TESTS_DEFINITIONS})
      add_test(NAME ${name}.${suite} COMMAND ${suite})
      # Each suite keeps its settings in a folder of its own for the run
      # (support/qt_test_main.h).
      set_tests_properties(${name}.${suite} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endforeach()
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  quorvane_test_program(quorvane_${name}_tests ${name} ${sources} DEFINITIONS ${TESTS_DEFINITIONS})
  gtest_discover_tests(quorvane_${name}_tests DISCOVERY_TIMEOUT 60)
endfunction()

# quorvane_test_program(PROGRAM LAYER sources... [DEFINITIONS ...]): a
# GoogleTest program that sees layer LAYER and the layers below it, nothing
# above.
function(quorvane_test_program program layer)
  cmake_parse_arguments(TESTS "" "" "DEFINITIONS" ${ARGN})
  add_executable(${program} ${TESTS_UNPARSED_ARGUMENTS})
  target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${program} PRIVATE quorvane_${layer} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${program} PRIVATE ${TESTS_DEFINITIONS})
  # GCC 12 warns falsely (-Wrestrict, inside libstdc++) about building
  # strings with "text" + std::string, which the tests do a lot.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${program} PRIVATE -Wno-restrict)
  endif()
  # libtiff is the reference our own TIFF reader's tests compare with, and
  # the writer of the extended reader's test files: an outside yardstick,
  # not a layer.
  target_link_libraries(${program} PRIVATE TIFF::TIFF)
  # Tests that run the command-line tool find it built.
  add_dependencies(${program} quorvane-cli)
endfunction()
