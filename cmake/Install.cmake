# What `cmake --install` puts where, for a desktop that finds the program in
# its menu: the executable, its desktop entry, its AppStream description, the
# file type of its data files and its icon in every size. The help guide is
# built into the executable, so it is found wherever the program is.
include(GNUInstallDirs)

set(QUILLARY_APP_ID org.quillary.Quillary)
# The day this version was released, for the AppStream release entry.
set(QUILLARY_RELEASE_DATE 2026-12-10)

install(TARGETS quillary RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/data/${QUILLARY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

configure_file(${PROJECT_SOURCE_DIR}/data/${QUILLARY_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${QUILLARY_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${QUILLARY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/data/${QUILLARY_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${QUILLARY_APP_ID}.xml)

foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/${QUILLARY_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/${QUILLARY_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
