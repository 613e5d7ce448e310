# Builds the .deb with cpack into a fresh folder and checks what it would install and what it
# declares it needs. Run by CTest as: cmake -DCPACK=... -DCPACK_CONFIG=... -DBUILD_DIR=...
#   -DBUILD_CONFIG=... -DWORK_DIR=... -DVERSION=... -P check_deb.cmake
cmake_minimum_required(VERSION 3.22)

function(skip why)
    # CTest reports the test as skipped when this text appears (SKIP_REGULAR_EXPRESSION).
    message("package test skipped: ${why}")
endfunction()

function(fail why)
    message(FATAL_ERROR "package check failed: ${why}")
endfunction()

foreach(var CPACK CPACK_CONFIG BUILD_DIR WORK_DIR VERSION)
    if(NOT DEFINED ${var})
        fail("${var} is not set")
    endif()
endforeach()

find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
    skip("dpkg-deb was not found; it is part of Debian's dpkg")
    return()
endif()
# cpack picks the programs out with file and asks dpkg-shlibdeps for the libraries they need.
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT DPKG_SHLIBDEPS)
    skip("dpkg-shlibdeps was not found; install the dpkg-dev package")
    return()
endif()
find_program(FILE_PROGRAM file)
if(NOT FILE_PROGRAM)
    skip("the file program was not found; install the file package")
    return()
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(config_args)
if(BUILD_CONFIG)
    set(config_args --config "${BUILD_CONFIG}")
endif()
# Left to itself cpack would first build the preinstall target, that is every target of the
# build, while other tests run those programs. So the package is made from an installation of
# what is built, staged under the package's prefix, with the build's own package settings.
include("${CPACK_CONFIG}")
set(stage "${WORK_DIR}/stage")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}"
        --prefix "${stage}${CPACK_PACKAGING_INSTALL_PREFIX}" ${config_args}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("cmake --install exited with ${result}:\n${output}")
endif()
file(WRITE "${WORK_DIR}/staged.cmake"
    "include(\"${CPACK_CONFIG}\")\n"
    "set(CPACK_INSTALL_CMAKE_PROJECTS \"\")\n"
    "set(CPACK_INSTALLED_DIRECTORIES \"${stage};.\")\n")
execute_process(
    COMMAND "${CPACK}" -G DEB --config "${WORK_DIR}/staged.cmake" -B "${WORK_DIR}/out"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("cpack exited with ${result}:\n${output}")
endif()

file(GLOB debs "${WORK_DIR}/out/velmor_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    fail("expected one velmor_*.deb in ${WORK_DIR}/out, found ${count}: ${debs}")
endif()
list(GET debs 0 deb)

# --- the files
execute_process(COMMAND "${DPKG_DEB}" -c "${deb}"
    RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_VARIABLE error)
if(NOT result EQUAL 0)
    fail("dpkg-deb -c ${deb} exited with ${result}: ${error}")
endif()
set(programs usr/bin/velmor usr/bin/recomp.exe usr/bin/decomp.exe usr/bin/velmor-patch
    usr/bin/velmor-render usr/bin/velmor-course usr/bin/velmor-rom)
set(data_files
    usr/share/applications/velmor.desktop
    usr/share/icons/hicolor/32x32/apps/velmor.png
    usr/share/icons/hicolor/256x256/apps/velmor.png
    usr/share/man/man1/velmor.1
    usr/share/man/man1/recomp.exe.1
    usr/share/man/man1/decomp.exe.1
    usr/share/man/man1/velmor-patch.1
    usr/share/man/man1/velmor-render.1
    usr/share/man/man1/velmor-course.1
    usr/share/man/man1/velmor-rom.1)
# A listing line: permissions owner/group size date time ./path
foreach(path IN LISTS programs data_files)
    string(REPLACE "." "\\." pattern "${path}")
    if(NOT listing MATCHES "(^|\n)([-rwx]+) [^\n]* \\./${pattern}(\n|$)")
        fail("${path} is not in the package. It holds:\n${listing}")
    endif()
    set(mode "${CMAKE_MATCH_2}")
    if(path IN_LIST programs AND NOT mode MATCHES "^-rwxr-xr-x$")
        fail("${path} is not an executable file for everyone (${mode})")
    endif()
endforeach()

# --- the control fields
foreach(field Package Version Depends)
    execute_process(COMMAND "${DPKG_DEB}" -f "${deb}" ${field}
        RESULT_VARIABLE result OUTPUT_VARIABLE value ERROR_VARIABLE error
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        fail("dpkg-deb -f ${deb} ${field} exited with ${result}: ${error}")
    endif()
    set(field_${field} "${value}")
endforeach()
if(NOT field_Package STREQUAL "velmor")
    fail("the package is called \"${field_Package}\", not velmor")
endif()
if(NOT field_Version STREQUAL VERSION)
    fail("the package's version is \"${field_Version}\", the project's ${VERSION}")
endif()
# Whole package names, so that libqt6core6-dbg does not pass for the library; Debian after 12
# renamed the libraries with a t64 suffix.
foreach(library libqt6core6 libqt6gui6 libqt6widgets6)
    if(NOT field_Depends MATCHES "(^|[ ,|])${library}(t64)?( |,|$)")
        fail("Depends does not name ${library}: ${field_Depends}")
    endif()
endforeach()
# The faces the window's texts are measured for.
if(NOT field_Depends MATCHES "(^|[ ,|])fonts-liberation2( |,|$)")
    fail("Depends does not name fonts-liberation2: ${field_Depends}")
endif()

message("checked ${deb}\nDepends: ${field_Depends}")
