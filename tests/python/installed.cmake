# SPDX-License-Identifier: Apache-2.0
# Installs the Python component of the build BUILD_DIR into PREFIX and imports the installed
# package from PACKAGE_DIR with PYTHON, without LD_LIBRARY_PATH: the module must find the
# shared libraries beside it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component python
        --prefix ${PREFIX}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH --unset=PYTHONPATH
        ${PYTHON} -c "import sys; sys.path.insert(0, sys.argv[1]); import vantor; assert vantor.__file__.startswith(sys.argv[1]), vantor.__file__; print(vantor.flatness([[0, 0, 0], [1, 0, 0], [0, 1, 0.5]], direction=(0, 0, 1)).value)"
        ${PACKAGE_DIR}
    COMMAND_ERROR_IS_FATAL ANY)
