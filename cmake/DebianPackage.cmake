# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (cpack -G DEB, run by scripts/package). Its dependencies come from
# dpkg-shlibdeps for the linked libraries, plus what is loaded at run time rather than linked:
# QtWebEngine's helper process, Qt's SVG plugins that draw every picture and icon, and the fonts
# metric-compatible with the families the windows name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "electronic course book with tests and grades")
# The extended description: Debian wants its lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "ЭУИ Velmora is the electronic course book of one university course.
Students register and sign in, read the lectures, laboratory works and
practical lessons, and take multiple-choice tests graded 1 to 5; passing
a test opens the next lecture and test. The teacher signs in as
administrator to read grades and the test log and to make test files;
velmora-admin does the same from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation 2 has the Kazakh letters that Liberation 1 lacks.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2, fonts-paratype")
# Qt's own Wayland platform; without it Qt runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# velmora-admin course add-document turns .docx, .odt and Markdown lectures into pages with pandoc.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pandoc")
if(VELMORA_WEBENGINE)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6webenginecore6-bin")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack adds maintainer scripts that run ldconfig when a shared object lies in /usr/lib or one
# folder below it, as the QtWebEngine module does in /usr/lib/velmora; that folder is not on the
# linker's path, so the scripts are taken out of the built package again.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianWithoutLdconfig.cmake)

include(CPack)
