# SPDX-License-Identifier: Apache-2.0
# Installs the build tree BUILD into PREFIX with a file of the user's among the samples in
# SAMPLES (the source tree's), and checks that only the samples are installed, into DATADIR under
# PREFIX: cmake -DBUILD=... -DPREFIX=... -DDATADIR=... -DSAMPLES=... -P install_samples.cmake
set(stray ${SAMPLES}/stray-install-check.txt)
file(WRITE ${stray} "0 0 0\n")
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    OUTPUT_QUIET RESULT_VARIABLE status)
file(REMOVE ${stray})
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} failed")
endif()
set(dir ${PREFIX}/${DATADIR}/vantor/samples)
file(GLOB installed RELATIVE ${dir} ${dir}/*)
list(SORT installed)
set(expected ball.txt bore.txt cone.txt edge.txt face.txt flange probe.csv scan.ply shaft.txt)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed samples: ${installed}; expected: ${expected}")
endif()
# The flanged part's plan and its point files, which the demo inspects.
file(GLOB installed RELATIVE ${dir}/flange ${dir}/flange/*)
list(SORT installed)
set(expected bore_b.txt face_a.txt flat_c.txt holes.txt plan.json rim_d.txt top_face.txt)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed flange: ${installed}; expected: ${expected}")
endif()
