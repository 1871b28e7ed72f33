# The Debian package: `cpack -G DEB` in the build folder (or ./dev.sh
# package). Its run-time dependencies are worked out by dpkg-shlibdeps from
# the libraries the executable links.
set(CPACK_PACKAGE_NAME quillary)
set(CPACK_PACKAGE_VENDOR "Quillary")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keep the income and expense records you need at tax time")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillary keeps the income and expense records that a household or a small business needs at tax time: enter, browse, correct, add, delete, sort and search them, and list and print the records of each tax category with running totals.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillary.org/")
set(CPACK_PACKAGE_CONTACT "Quillary developers <developers@quillary.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a platform plugin Qt opens no window at all.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The forms are laid out for a narrow font, whose widths Liberation Sans
# has; the desktop's menus, file types and icons pick up what the package
# brings.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, desktop-file-utils, shared-mime-info, hicolor-icon-theme")
# Stripped, as Debian installs programs.
set(CPACK_STRIP_FILES ON)
include(CPack)
