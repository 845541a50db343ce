# Install rules and the Debian package (scripts/package). The layout: the programs in bin/, the
# FFmpeg module in lib/<multiarch>/vidlark/, everything else the application folder of the build
# holds (skins, the emulator, images, the SWFObject script, the default configuration) in
# share/vidlark/. The scratch folder temp/ is not installed: its absence is what tells an
# installed program from a portable folder (platform/AppPaths).

install(TARGETS vidlark vidlark-cli flvmdi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vidlark-ffmpeg LIBRARY DESTINATION ${VIDLARK_INSTALL_MODULEDIR})
install(DIRECTORY ${VIDLARK_APP_DIR}/swfs ${VIDLARK_APP_DIR}/ruffle ${VIDLARK_APP_DIR}/images
                  ${VIDLARK_APP_DIR}/config
        DESTINATION ${VIDLARK_INSTALL_DATADIR}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${VIDLARK_APP_DIR}/zevoswf.js DESTINATION ${VIDLARK_INSTALL_DATADIR})

# The package's own documents: its copyright and its changelog, gzipped without a time stamp so
# two builds of one version give the same bytes.
set(VIDLARK_PACKAGE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/support/package)
set(VIDLARK_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/package/changelog.gz)
add_custom_command(OUTPUT ${VIDLARK_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${VIDLARK_PACKAGE_DIR}/changelog
            ${VIDLARK_CHANGELOG_GZ}
    DEPENDS ${VIDLARK_PACKAGE_DIR}/changelog VERBATIM)
add_custom_target(package-documents ALL DEPENDS ${VIDLARK_CHANGELOG_GZ})
install(FILES ${VIDLARK_PACKAGE_DIR}/copyright ${VIDLARK_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vidlark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vidlark developers")
set(CPACK_PACKAGE_CONTACT "Vidlark developers <developers@vidlark.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video for web pages without writing player code")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vidlark.com/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps sees the libraries the programs and the module link; Qt's platform plug-in, which
# the desktop program loads at start, and the program that opens the browser it cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
file(READ ${VIDLARK_PACKAGE_DIR}/description VIDLARK_DESCRIPTION)
string(STRIP "${VIDLARK_DESCRIPTION}" VIDLARK_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${VIDLARK_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
