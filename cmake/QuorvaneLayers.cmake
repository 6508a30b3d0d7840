# quorvane_layer(NAME [DEPENDS lower layers...] [LIBS external libraries...]
#                [EXCLUDE file names...] [QT])
#
# Builds src/NAME/*.cpp into the static library quorvane_NAME. Headers are
# included as "NAME/header.h"; the library's include root is a folder of the
# build tree holding one link, NAME -> src/NAME, so a library sees exactly its
# own folder plus the folders of the layers it links (their include roots come
# with them). Including a header of a layer above is then a compile error.
function(quorvane_layer name)
  cmake_parse_arguments(LAYER "QT" "" "DEPENDS;LIBS;EXCLUDE" ${ARGN})
  set(folder ${CMAKE_SOURCE_DIR}/src/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  foreach(excluded IN LISTS LAYER_EXCLUDE)
    list(REMOVE_ITEM sources ${folder}/${excluded})
  endforeach()

  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${folder} ${view}/${name} SYMBOLIC)

  add_library(quorvane_${name} STATIC ${sources})
  if(LAYER_QT)
    # Widgets with signals and slots need Qt's meta-object compiler; the
    # layer's tests are QtTest suites (cmake/QuorvaneLayerTests.cmake).
    set_target_properties(quorvane_${name} PROPERTIES AUTOMOC ON QUORVANE_QT ON)
  endif()
  target_include_directories(quorvane_${name} PUBLIC ${view})
  foreach(lower IN LISTS LAYER_DEPENDS)
    target_link_libraries(quorvane_${name} PUBLIC quorvane_${lower})
  endforeach()
  if(LAYER_LIBS)
    target_link_libraries(quorvane_${name} PUBLIC ${LAYER_LIBS})
  endif()
  # Every layer, for build-wide settings such as the fuzzers' instrumentation.
  set_property(GLOBAL APPEND PROPERTY QUORVANE_LAYERS quorvane_${name})
endfunction()
