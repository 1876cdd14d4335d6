# Installs Tivaro as a program folder plus desktop integration:
#   <prefix>/lib/tivaro/tivaro, pics/, installed   the program, its bitmaps and the mark of an installed copy
#   <prefix>/bin/tivaro                             a relative link to the program
#   <prefix>/share/applications/, icons/, metainfo/, man/man1/, doc/tivaro/
# The program finds its bitmaps beside its executable, which it locates through
# the resolved link. The file "installed" makes it keep Tivaro.ini in each
# user's configuration folder instead of beside itself.
include(GNUInstallDirs)

set(TIVARO_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/tivaro)

install(TARGETS tivaro RUNTIME DESTINATION ${TIVARO_INSTALL_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/pics DESTINATION ${TIVARO_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/installed DESTINATION ${TIVARO_INSTALL_DIR})

# Relative, so the prefix can move.
file(RELATIVE_PATH TIVARO_LINK_TO_PROGRAM /${CMAKE_INSTALL_BINDIR} /${TIVARO_INSTALL_DIR}/tivaro)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ${TIVARO_LINK_TO_PROGRAM} ${CMAKE_BINARY_DIR}/packaging/tivaro SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/tivaro DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/tivaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tivaro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.tivaro.Tivaro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tivaro.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tivaro)
