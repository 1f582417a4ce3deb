# SPDX-License-Identifier: Apache-2.0
# Decides whether the Python package is built and for which interpreter; sets vantor_python to ON
# when it is, with Python3 (Interpreter, Development.Module) and pybind11 found.
#
# VANTOR_BUILD_PYTHON is AUTO (build when the dependencies are found), ON (they must be) or OFF.
# The package needs an interpreter that imports NumPy and has its C headers. The first python3
# on the PATH may be another one (a pyenv or virtualenv interpreter without NumPy), so unless
# Python3_EXECUTABLE names one, every python3 on the PATH and then /usr/bin/python3 is tried in
# turn, and the first that qualifies is kept in the cache as Python3_EXECUTABLE.
#
# Not with VANTOR_SANITIZE: an extension module built with AddressSanitizer loads only into an
# interpreter started with the ASan runtime preloaded (LD_PRELOAD), which CTest and users do not
# do, so the sanitizer build leaves the package out.

if(vantor_top_level)
    set(vantor_python_default AUTO)
else()
    set(vantor_python_default OFF)
endif()
set(VANTOR_BUILD_PYTHON ${vantor_python_default} CACHE STRING
    "Build the Python package: AUTO (when its dependencies are found), ON or OFF")
set_property(CACHE VANTOR_BUILD_PYTHON PROPERTY STRINGS AUTO ON OFF)

set(vantor_python OFF)

# Reports why the package is not built: an error when it was asked for, a status line otherwise.
macro(vantor_python_unavailable reason)
    if(VANTOR_BUILD_PYTHON STREQUAL "ON")
        message(FATAL_ERROR "VANTOR_BUILD_PYTHON is ON, but ${reason}")
    endif()
    message(STATUS "Python package not built: ${reason}")
    return()
endmacro()

# True in `result` when `python` imports NumPy and has the C headers of its own version.
function(vantor_python_qualifies python result)
    execute_process(
        COMMAND "${python}" -c
            "import os, sys, sysconfig, numpy; sys.exit(not os.path.isfile(os.path.join(sysconfig.get_paths()['include'], 'Python.h')))"
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(status EQUAL 0)
        set(${result} ON PARENT_SCOPE)
    else()
        set(${result} OFF PARENT_SCOPE)
    endif()
endfunction()

if(VANTOR_BUILD_PYTHON STREQUAL "OFF")
    return()
endif()
if(VANTOR_SANITIZE)
    vantor_python_unavailable(
        "VANTOR_SANITIZE is ON (an ASan-built module needs the ASan runtime preloaded into the interpreter)")
endif()
if(NOT VANTOR_BUILD_TOOLS)
    vantor_python_unavailable("VANTOR_BUILD_TOOLS is OFF (the package's tests compare it with the program)")
endif()

if(Python3_EXECUTABLE)
    vantor_python_qualifies("${Python3_EXECUTABLE}" qualifies)
    if(NOT qualifies)
        vantor_python_unavailable(
            "Python3_EXECUTABLE ${Python3_EXECUTABLE} does not import numpy or lacks Python.h")
    endif()
else()
    set(candidates "")
    string(REPLACE ":" ";" path_entries "$ENV{PATH}")
    foreach(dir IN LISTS path_entries)
        if(dir AND EXISTS "${dir}/python3" AND NOT IS_DIRECTORY "${dir}/python3")
            list(APPEND candidates "${dir}/python3")
        endif()
    endforeach()
    list(APPEND candidates /usr/bin/python3)
    list(REMOVE_DUPLICATES candidates)
    foreach(candidate IN LISTS candidates)
        vantor_python_qualifies("${candidate}" qualifies)
        if(qualifies)
            set(Python3_EXECUTABLE "${candidate}" CACHE FILEPATH
                "The Python interpreter the package is built for and tested with")
            break()
        endif()
    endforeach()
    if(NOT Python3_EXECUTABLE)
        list(JOIN candidates ", " tried)
        vantor_python_unavailable(
            "no python3 imports numpy and has Python.h (tried ${tried}); install python3-numpy and python3-dev or set Python3_EXECUTABLE")
    endif()
endif()

find_package(Python3 COMPONENTS Interpreter Development.Module QUIET)
if(NOT Python3_Development.Module_FOUND)
    vantor_python_unavailable("the development files of ${Python3_EXECUTABLE} were not found")
endif()
find_package(pybind11 CONFIG QUIET)
if(NOT pybind11_FOUND)
    vantor_python_unavailable("pybind11 was not found (Debian package pybind11-dev)")
endif()

# Where `cmake --install` puts the package directory vantor/: the interpreter's site-packages
# directory when it lies under the install prefix (then relative to the prefix, so that
# `cmake --install --prefix P` puts it into the same place under P), otherwise
# lib/pythonX.Y/site-packages under the prefix. Absolute or relative to the prefix.
execute_process(
    COMMAND "${Python3_EXECUTABLE}" -c "import sysconfig; print(sysconfig.get_path('platlib'))"
    OUTPUT_VARIABLE vantor_python_platlib OUTPUT_STRIP_TRAILING_WHITESPACE)
string(FIND "${vantor_python_platlib}" "${CMAKE_INSTALL_PREFIX}/" prefix_at)
if(prefix_at EQUAL 0)
    file(RELATIVE_PATH vantor_python_install_default
        "${CMAKE_INSTALL_PREFIX}" "${vantor_python_platlib}")
else()
    set(vantor_python_install_default
        "lib/python${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}/site-packages")
endif()
set(VANTOR_PYTHON_INSTALL_DIR "${vantor_python_install_default}" CACHE STRING
    "Where cmake --install puts the Python package (absolute, or relative to the install prefix)")

set(vantor_python ON)
message(STATUS "Python package built for ${Python3_EXECUTABLE} (Python ${Python3_VERSION}); "
    "installed into ${VANTOR_PYTHON_INSTALL_DIR}")
