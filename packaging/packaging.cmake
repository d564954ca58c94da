# Installing and packaging. The executable writes every file beside itself, so the package keeps
# it and a pristine sample program folder apart, and the launcher `crinova` gives each user a
# program folder of their own (see crinova-preparar).
install(TARGETS crinova RUNTIME DESTINATION lib/crinova)
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/crinova-preparar DESTINATION lib/crinova)
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/crinova.sh DESTINATION bin RENAME crinova)
# The generator's pristine copy: build/programa may hold a developer's clients and slots.
install(DIRECTORY ${CRINOVA_TEST_SAMPLES}/ DESTINATION share/crinova/programa
        PATTERN "foto[1-6].bmp" EXCLUDE)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/crinova.desktop DESTINATION share/applications)
install(DIRECTORY ${CRINOVA_ICONS}/ DESTINATION share/icons/hicolor)
install(FILES ${CRINOVA_TRANSLATIONS}/crinova_es.qm DESTINATION share/qt6/translations)
# What the salon's technician runs once on the server (README, "Several stations").
install(FILES ${CMAKE_CURRENT_LIST_DIR}/servidor.sql DESTINATION share/crinova)

set(CPACK_PACKAGE_NAME crinova)
set(CPACK_PACKAGE_VENDOR "Crinova")
set(CPACK_PACKAGE_CONTACT "Equipo de Crinova <crinova@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Prueba de peinados sobre la fotografía del cliente, para peluquerías")
set(CPACK_PACKAGE_DESCRIPTION
    "El estilista muestra la foto del cliente y prueba peinados sobre ella antes de cortar.")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SQLite driver, the X11 platform
# plugin, Qt's Spanish catalogue and GStreamer's elements for cameras.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
# Only a station that works on the salon's server needs PostgreSQL's driver.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
include(CPack)
