# Installing Quorvane as a desktop program, and its Debian package.
#
#   cmake --install build --prefix PREFIX   # PREFIX/bin, PREFIX/share/...
#   cd build && cpack -G DEB                # quorvane_VERSION_ARCH.deb
#
# The window looks for its help in ../share/quorvane/help beside its own
# folder, so the programs go to bin/ and the help to share/quorvane/help
# whatever GNUInstallDirs would say.

set(QUORVANE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)

install(TARGETS quorvane-cli RUNTIME DESTINATION bin)

# Manual pages go compressed, as Debian keeps them.
find_program(QUORVANE_GZIP gzip)
function(quorvane_man_page name)
  set(page ${CMAKE_SOURCE_DIR}/man/${name}.1)
  if(QUORVANE_GZIP)
    set(packed ${CMAKE_BINARY_DIR}/man/${name}.1.gz)
    add_custom_command(OUTPUT ${packed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      # -n leaves out the name and time, so the same page gives the same bytes.
      COMMAND ${QUORVANE_GZIP} -9 -n -c ${page} > ${packed}
      DEPENDS ${page} VERBATIM)
    add_custom_target(quorvane_man_${name} ALL DEPENDS ${packed})
    install(FILES ${packed} DESTINATION share/man/man1)
  else()
    install(FILES ${page} DESTINATION share/man/man1)
  endif()
endfunction()
quorvane_man_page(quorvane-cli)

if(QUORVANE_BUILD_GUI)
  install(TARGETS quorvane RUNTIME DESTINATION bin)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION share/quorvane/help)
  quorvane_man_page(quorvane)
  install(FILES ${QUORVANE_DESKTOP_DIR}/quorvane.desktop DESTINATION share/applications)
  install(FILES ${QUORVANE_DESKTOP_DIR}/quorvane.svg
          DESTINATION share/icons/hicolor/scalable/apps)
  foreach(size 48 256)
    install(FILES ${QUORVANE_DESKTOP_DIR}/quorvane-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quorvane.png)
  endforeach()
endif()

# The Debian package: the files above under /usr. Its dependencies are the
# packages of the shared libraries the programs link (dpkg-shlibdeps, from
# dpkg-dev), plus the Qt platform plugins the window loads at run time,
# which no link names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane Project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and editor for georeferenced raster images")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane shows GeoTIFF and plain TIFF files, Windows bitmaps, JPEG, PNG, GIF, PCX, TGA and
IFF pictures with their georeference, reads the cursor position in UTM and longitude/latitude
on a chosen datum, measures lengths, areas and azimuths, crops, resizes with a choice of
filters, adjusts brightness, contrast and gamma, and saves, copies or prints the result.
The package holds the window program quorvane and the batch tool quorvane-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quorvane Project <quorvane@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvane.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# PROJ is opened when first called, so the package tools cannot see it among
# the linked libraries: name the package that holds it.
execute_process(COMMAND dpkg-query -S "*/libproj.so.*" OUTPUT_VARIABLE proj_owner
                ERROR_QUIET RESULT_VARIABLE proj_query)
set(quorvane_package_depends "")
if(proj_query EQUAL 0 AND proj_owner MATCHES "^([^:]+):")
  list(APPEND quorvane_package_depends ${CMAKE_MATCH_1})
endif()
if(QUORVANE_BUILD_GUI)
  list(APPEND quorvane_package_depends qt6-qpa-plugins)
endif()
list(JOIN quorvane_package_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
