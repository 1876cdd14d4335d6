# Installs Tivaro as a self-contained program folder plus desktop integration:
#   <prefix>/lib/tivaro/tivaro, <prefix>/lib/tivaro/pics/   the program and its bitmaps
#   <prefix>/bin/tivaro                                      launcher on the PATH
#   <prefix>/share/applications/tivaro.desktop, <prefix>/share/icons/hicolor/scalable/apps/tivaro.svg
# The program keeps Tivaro.ini beside its executable, and an installed program
# folder is shared and often read-only; so the launcher gives every user a
# program folder of their own (see packaging/tivaro.in).
include(GNUInstallDirs)

set(TIVARO_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/tivaro)

install(TARGETS tivaro RUNTIME DESTINATION ${TIVARO_INSTALL_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/pics DESTINATION ${TIVARO_INSTALL_DIR})

# The launcher finds the program folder relative to itself, so the prefix can move.
file(RELATIVE_PATH TIVARO_LAUNCHER_TO_PROGRAM
     /${CMAKE_INSTALL_BINDIR} /${TIVARO_INSTALL_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/tivaro.in ${CMAKE_BINARY_DIR}/packaging/tivaro @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/tivaro DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/tivaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tivaro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
