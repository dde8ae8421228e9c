# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/add-license-lines on a small tree of every kind of file it meets: each row is a file,
# what it holds and what it must hold after the script has run. Then a second run must change
# nothing, the check must pass, and the check must name a file without the line and a file of a
# type the script does not know. Usage: cmake -DSCRIPT=... -DTREE=... -P license_lines_test.cmake
set(gpl "SPDX-License-Identifier: GPL-3.0-or-later")
# (No semicolon in a row: it would split the list.)
set(rows
    "src/core/a.h" "#pragma once\n" "// ${gpl}\n#pragma once\n"
    "src/core/a.cpp" "#include \"a.h\"\r\nint a = 1 + 1\r\n" "// ${gpl}\r\n#include \"a.h\"\r\nint a = 1 + 1\r\n"
    "src/CMakeLists.txt" "add_library(a a.cpp)\n" "# ${gpl}\nadd_library(a a.cpp)\n"
    "cmake/Package.cmake" "set(A 1)\n" "# ${gpl}\nset(A 1)\n"
    "scripts/run" "#!/bin/sh\necho run\n" "#!/bin/sh\n# ${gpl}\necho run\n"
    "scripts/tool.py" "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\nprint()\n"
        "#!/usr/bin/env python3\n# -*- coding: utf-8 -*-\n# ${gpl}\nprint()\n"
    "scripts/leaks.supp" "leak:libfoo\n" "# ${gpl}\nleak:libfoo\n"
    "packaging/a.desktop" "[Desktop Entry]\n" "# ${gpl}\n[Desktop Entry]\n"
    "packaging/a.metainfo.xml" "<?xml version=\"1.0\"?>\n<component/>\n"
        "<?xml version=\"1.0\"?>\n<!-- SPDX-License-Identifier: CC0-1.0 -->\n<component/>\n"
    "packaging/b.xml" "<?xml version=\"1.0\"?><a/>\n" "<?xml version=\"1.0\"?>\n<!-- ${gpl} -->\n<a/>\n"
    "src/gui/icon.svg" "<svg/>\n" "<!-- ${gpl} -->\n<svg/>\n"
    "src/gui/icons.qrc" "<RCC/>\n" "<!-- ${gpl} -->\n<RCC/>\n"
    "packaging/a.1" ".TH A 1\n" ".\\\" ${gpl}\n.TH A 1\n"
    "packaging/b.1" "'\\\" t\n.TH B 1\n" "'\\\" t\n.\\\" ${gpl}\n.TH B 1\n"
    # Files with a line of their own, and data, stay as they are.
    "src/core/mit.cpp" "// SPDX-License-Identifier: MIT\nint m = 0\n"
        "// SPDX-License-Identifier: MIT\nint m = 0\n"
    "tests/golden/screen.txt" "QWidget \"screen\"\n" "QWidget \"screen\"\n"
    "fuzz/corpus/reader/seed" "[a]\r\nb=c\r\n" "[a]\r\nb=c\r\n"
    "packaging/presets.json" "{}\n" "{}\n")

file(REMOVE_RECURSE "${TREE}" "${TREE}.expected")
set(i 0)
list(LENGTH rows n)
while(i LESS n)
    math(EXPR j "${i} + 1")
    list(GET rows ${i} name)
    list(GET rows ${j} text)
    file(WRITE "${TREE}/${name}" "${text}")
    math(EXPR i "${i} + 3")
endwhile()

function(run expected_result)
    execute_process(COMMAND "${SCRIPT}" ${ARGN} --root "${TREE}"
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL expected_result)
        message(FATAL_ERROR "add-license-lines ${ARGN}: exit ${result}, not ${expected_result}\n"
                            "${out}${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

run(0)
set(i 0)
while(i LESS n)
    math(EXPR k "${i} + 2")
    list(GET rows ${i} name)
    list(GET rows ${k} expected)
    # Compared as bytes: file(READ) as text drops carriage returns.
    file(WRITE "${TREE}.expected" "${expected}")
    file(READ "${TREE}.expected" expected_bytes HEX)
    file(READ "${TREE}/${name}" actual_bytes HEX)
    if(NOT actual_bytes STREQUAL expected_bytes)
        file(READ "${TREE}/${name}" actual)
        message(SEND_ERROR "${name} holds\n${actual}\ninstead of\n${expected}")
    endif()
    math(EXPR i "${i} + 3")
endwhile()

run(0)
if(NOT out STREQUAL "")
    message(SEND_ERROR "a second run changed files again:\n${out}")
endif()
run(0 --check)

file(WRITE "${TREE}/src/core/new.cpp" "int n;\n")
file(WRITE "${TREE}/src/core/notes.unknown" "notes\n")
run(1 --check)
foreach(name src/core/new.cpp src/core/notes.unknown)
    string(FIND "${err}" "${name}: no SPDX-License-Identifier line" at)
    if(at EQUAL -1)
        message(SEND_ERROR "the check does not name ${name}:\n${err}")
    endif()
endforeach()
file(READ "${TREE}/src/core/new.cpp" unchanged)
if(NOT unchanged STREQUAL "int n;\n")
    message(SEND_ERROR "the check changed src/core/new.cpp")
endif()
