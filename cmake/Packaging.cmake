# Installing Vellumo on a Linux desktop (cmake --install) and its Debian package (cpack, see
# tools/package.sh). The installed program finds its data in share/vellumo beside bin/: the help
# page and the SANE configuration that adds the SANE test scanner to the system's scanners.
include(GNUInstallDirs)

# One id for the desktop entry, the icon and the AppStream metainfo.
set(VELLUMO_APP_ID org.vellumo.Vellumo)
set(vellumo_datadir ${CMAKE_INSTALL_DATADIR}/vellumo)

install(FILES ${PROJECT_SOURCE_DIR}/res/sane/dll.conf ${PROJECT_SOURCE_DIR}/res/sane/test.conf
    DESTINATION ${vellumo_datadir}/sane)

if(VELLUMO_GUI)
    # The help page in English and every translated language; the desktop entry and the
    # AppStream metadata carry every language inside (res/localize).
    install(FILES ${PROJECT_SOURCE_DIR}/res/help/Vellumo.html ${VELLUMO_LOCALIZED_HELP_PAGES}
        DESTINATION ${vellumo_datadir})
    install(FILES ${VELLUMO_LOCALIZED_DIR}/${VELLUMO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(CODE "
        set(PROJECT_VERSION ${PROJECT_VERSION})
        configure_file(${VELLUMO_LOCALIZED_DIR}/${VELLUMO_APP_ID}.metainfo.xml.in
            ${PROJECT_BINARY_DIR}/res/linux/${VELLUMO_APP_ID}.metainfo.xml @ONLY)")
    install(FILES ${PROJECT_BINARY_DIR}/res/linux/${VELLUMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The program icon as the artwork generator renders it, at every size it renders.
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/res/images/18_${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VELLUMO_APP_ID}.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/res/images/18.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELLUMO_APP_ID}.svg)
endif()

# The Debian package: vellumo_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vellumo developers")
set(CPACK_PACKAGE_CONTACT "Vellumo developers <support@vellumo.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://vellumo.org)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scan paper into PDF files and mail them")
# Debian wants the long description in lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vellumo scans pages from a SANE scanner (flatbed or document feeder) or"
    "loads image files (TIFF, BMP, JPEG, PCX, GIF, PNG, TGA), shows them as"
    "thumbnails and lets the user rotate, invert, mirror, crop, reorder and"
    "delete them. All pages are saved as one PDF file or sent as a PDF"
    "attachment, through the desktop's mail program or directly through an"
    "SMTP server."
    ""
    "The package also holds vellumo-cli, a command-line program that scans,"
    "builds PDFs from image files and mails files with the same engine, and a"
    "SANE configuration that adds the SANE test scanner, for trying the"
    "program without a scanner.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vellumo developers <support@vellumo.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries (Qt, SANE with its back ends in libsane1, CUPS, the codec
# libraries, OpenSSL); the rest are what the program runs or draws with: xdg-open and xdg-email
# for the help page and the desktop's mail program, a font for the window's texts. Network
# scanners (eSCL, WSD) come with sane-airscan; the page count is drawn in Lato like the artwork.
# Turning pages upright needs Tesseract's orientation data (without it pages stay as scanned).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-dejavu-core | fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sane-airscan, fonts-lato, tesseract-ocr-osd")
set(CPACK_STRIP_FILES ON)
# The program finds its data relative to its own folder, so any build can be packaged for /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
