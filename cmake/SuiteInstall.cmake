# Installation and the Debian package. Every program goes to one bin/, as the
# launcher starts its siblings from its own folder. A desktop program also
# brings resources/<program>/<program>.desktop and its icon
# resources/<program>/icons/<program>.svg, which go where a freedesktop
# desktop looks for them. Programs that are not part of this build are skipped.
include(GNUInstallDirs)

set(SL_PROGRAMS stationlink suitepad alignedit drawexport coordbook codebook routebook legacyxfer x4sim stationlink-cli)
foreach(program IN LISTS SL_PROGRAMS)
    if(NOT TARGET ${program})
        continue()
    endif()
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(_sl_resources ${PROJECT_SOURCE_DIR}/resources/${program})
    if(EXISTS ${_sl_resources}/${program}.desktop)
        install(FILES ${_sl_resources}/${program}.desktop
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${_sl_resources}/icons/${program}.svg
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stationlink-suite)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Data exchange with an X4 SERIES total station over a serial line")
set(CPACK_PACKAGE_DESCRIPTION
    "stationlink moves jobs, code lists and road alignments between the instrument and PC files; \
suitepad starts the suite's tools; alignedit edits road alignment files; drawexport turns GSI jobs \
and point files into DXF drawings and GIS files; coordbook edits point files and GSI coordinate \
jobs for upload; codebook keeps the feature code lists of the instrument and how their points are drawn; \
routebook draws, checks and sets out road alignments; stationlink-cli does the instrument work from \
scripts; x4sim simulates an instrument on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "StationLink suite maintainers <maintainers@stationlink.invalid>")
# Library dependencies come from dpkg-shlibdeps; the SVG icon plugins are
# loaded at run time, so no linked library names their package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
include(CPack)
