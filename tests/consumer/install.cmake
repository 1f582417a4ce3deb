# SPDX-License-Identifier: Apache-2.0
# Installs the build tree BUILD into PREFIX, afresh: cmake -DBUILD=... -DPREFIX=... -P install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} failed")
endif()
