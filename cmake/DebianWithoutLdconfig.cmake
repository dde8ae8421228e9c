# SPDX-License-Identifier: GPL-3.0-or-later
# CPack post-build script (CPACK_POST_BUILD_SCRIPTS): takes out of each built Debian package the
# postinst and postrm that CPack writes to run ldconfig, and nothing else. The package installs no
# shared library on the linker's path (the QtWebEngine module lies in /usr/lib/velmora and is
# loaded by its full path), so ldconfig has nothing to do. A postinst or postrm that does more
# stops the packaging.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.deb$")
        continue()
    endif()
    set(tree "${deb}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    set(removed FALSE)
    foreach(script postinst postrm)
        set(path "${tree}/DEBIAN/${script}")
        if(NOT EXISTS "${path}")
            continue()
        endif()
        file(READ "${path}" text)
        string(CONCAT ldconfig_only
            "^#!/bin/sh\n+set -e\n+if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then\n"
            "\tldconfig\nfi\n*$")
        string(REGEX REPLACE "${ldconfig_only}" "" rest "${text}")
        if(NOT rest STREQUAL "")
            message(FATAL_ERROR "${script} of ${deb} does more than run ldconfig:\n${text}")
        endif()
        file(REMOVE "${path}")
        set(removed TRUE)
    endforeach()
    if(removed)
        # The tree was unpacked with the packager's ownership; the package's files are root's.
        execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}"
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(REMOVE_RECURSE "${tree}")
endforeach()
