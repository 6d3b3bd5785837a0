# One step of the install checks, run with cmake -P:
#   prefix             install the build into WORK/prefix, afresh
#   headers            every installed header compiles alone against the prefix
#                      and reaches no SDL, OpenGL, EGL or FluidSynth header
#   cmake_consumer     find_package(Morvane) from a project outside the tree,
#                      one program per component, each run
#   pkgconfig_consumer the same programs built from the pkg-config files
#   launcher           bin/dovrex prepares the per-user folder and runs there
#   tools              every installed tool's --help succeeds on stdout and has
#                      a man page made from it; the tools work on the
#                      installed data
cmake_minimum_required(VERSION 3.25)
set(install_prefix ${WORK}/prefix)

function(run)
  cmake_parse_arguments(R "" "DIR;WHAT" "COMMAND" ${ARGN})
  if(NOT R_DIR)
    set(R_DIR ${WORK})
  endif()
  execute_process(COMMAND ${R_COMMAND} WORKING_DIRECTORY ${R_DIR}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${R_WHAT} failed (${rc}):\n${out}\n${err}")
  endif()
  set(run_output "${out}${err}" PARENT_SCOPE)
endfunction()

file(GLOB consumer_sources ${SOURCE}/consumer/use_*.cpp)

if(STEP STREQUAL "prefix")
  # A check stopped midway may have left the data read-only.
  if(EXISTS ${install_prefix})
    execute_process(COMMAND chmod -R u+w ${install_prefix})
  endif()
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK})
  run(WHAT "cmake --install" COMMAND ${CMAKE_EXE} --install ${BUILD_DIR} --prefix ${install_prefix})
  foreach(required lib/cmake/Morvane/MorvaneConfig.cmake bin/dovrex share/dovrex/bmp share/dovrex/wav
                   share/dovrex/mid share/applications/dovrex.desktop)
    if(NOT EXISTS ${install_prefix}/${required})
      message(FATAL_ERROR "The install lacks ${required}")
    endif()
  endforeach()
  file(GLOB_RECURSE leaked RELATIVE ${install_prefix}/include ${install_prefix}/include/*test* ${install_prefix}/include/*/game/*)
  if(leaked)
    message(FATAL_ERROR "Test or game headers installed: ${leaked}")
  endif()

elseif(STEP STREQUAL "headers")
  if(NOT EXISTS ${install_prefix}/include/morvane/library)
    message(FATAL_ERROR "No library headers installed under ${install_prefix}/include/morvane")
  endif()
  run(WHAT "The header check" COMMAND sh ${SOURCE}/check_headers.sh ${CXX} ${install_prefix}/include/morvane)
  message(STATUS "${run_output}")

elseif(STEP STREQUAL "cmake_consumer")
  set(build ${WORK}/cmake_consumer)
  file(REMOVE_RECURSE ${build})
  run(WHAT "Configuring the consumer"
    COMMAND ${CMAKE_EXE} -S ${SOURCE}/consumer -B ${build} -DCMAKE_PREFIX_PATH=${install_prefix}
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release)
  if(run_output MATCHES "has no consumer program")
    message(WARNING "${run_output}")
  endif()
  run(WHAT "Building the consumer" COMMAND ${CMAKE_EXE} --build ${build} -j 2)
  run(WHAT "Running the consumer" DIR ${build} COMMAND ${CTEST_EXE} --output-on-failure)
  message(STATUS "${run_output}")

elseif(STEP STREQUAL "pkgconfig_consumer")
  set(build ${WORK}/pkgconfig_consumer)
  file(REMOVE_RECURSE ${build})
  file(MAKE_DIRECTORY ${build})
  file(GLOB pc_dirs ${install_prefix}/lib*/pkgconfig ${install_prefix}/lib/*/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "${pc_dirs}")
  # pkg-config gives no run path: shared libraries in the prefix are found
  # the way a user of an unusual prefix would find them.
  list(TRANSFORM pc_dirs REPLACE "/pkgconfig$" "")
  string(REPLACE ";" ":" lib_dirs "${pc_dirs}")
  set(ENV{LD_LIBRARY_PATH} "${lib_dirs}")
  foreach(source ${consumer_sources})
    get_filename_component(program ${source} NAME_WE)
    string(REGEX REPLACE "^use_" "morvane-" module ${program})
    execute_process(COMMAND pkg-config --exists ${module} RESULT_VARIABLE missing)
    if(NOT missing EQUAL 0)
      continue()
    endif()
    run(WHAT "pkg-config ${module}" COMMAND pkg-config --cflags --libs ${module})
    string(STRIP "${run_output}" flags)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    run(WHAT "Building ${program} from ${module}.pc" DIR ${build}
      COMMAND ${CXX} -o ${build}/${program} ${source} ${flags})
    run(WHAT "Running ${program}" DIR ${build} COMMAND ${build}/${program})
    message(STATUS "${run_output}")
  endforeach()

elseif(STEP STREQUAL "tools")
  file(GLOB tools RELATIVE ${install_prefix}/bin ${install_prefix}/bin/*)
  list(REMOVE_ITEM tools dovrex)
  if(NOT tools)
    message(FATAL_ERROR "No tool installed in ${install_prefix}/bin")
  endif()
  foreach(tool ${tools})
    execute_process(COMMAND ${install_prefix}/bin/${tool} --help WORKING_DIRECTORY ${WORK}
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "^usage: ${tool} ")
      message(FATAL_ERROR "${tool} --help must print its usage on stdout and exit 0; exit ${rc}\n"
        "stdout:\n${out}\nstderr:\n${err}")
    endif()
    set(page ${install_prefix}/share/man/man1/${tool}.1)
    if(NOT EXISTS ${page})
      message(FATAL_ERROR "${tool} has no man page")
    endif()
    file(READ ${page} man)
    string(REGEX MATCH "^usage: ${tool} ([^ \n]+)" first_form "${out}")
    if(NOT man MATCHES "\\.SH SYNOPSIS\n[^\n]*${tool}" OR NOT man MATCHES "${CMAKE_MATCH_1}")
      message(FATAL_ERROR "The man page of ${tool} lacks the synopsis of its usage")
    endif()
  endforeach()
  # Each on what the install holds or what it makes itself.
  set(data ${install_prefix}/share/dovrex)
  set(bin ${install_prefix}/bin)
  if(EXISTS ${bin}/mvmidi)
    run(WHAT "mvmidi info" COMMAND ${bin}/mvmidi info ${data}/mid/m0.mid)
    if(NOT run_output MATCHES "format: [01]\ntracks: [1-9]")
      message(FATAL_ERROR "mvmidi info did not describe the installed piece:\n${run_output}")
    endif()
  endif()
  if(EXISTS ${bin}/mvsound)
    run(WHAT "mvsound info" COMMAND ${bin}/mvsound info ${data}/wav/s01.wav)
    if(NOT run_output MATCHES "format tag: 1\n")
      message(FATAL_ERROR "mvsound info did not describe the installed sound:\n${run_output}")
    endif()
  endif()
  if(EXISTS ${bin}/mvdraw)
    run(WHAT "mvdraw demo" COMMAND ${bin}/mvdraw demo --frames 3)
  endif()
  if(EXISTS ${bin}/mv3d)
    file(WRITE ${WORK}/tri.obj "v 0 0 0\nv 1 0 0\nv 0 1 0\no tri\nf 1 2 3\n")
    run(WHAT "mv3d convert" COMMAND ${bin}/mv3d convert ${WORK}/tri.obj ${WORK}/tri.mvx)
    run(WHAT "mv3d info" COMMAND ${bin}/mv3d info ${WORK}/tri.mvx)
    if(NOT run_output MATCHES "name=\"tri\" vertices=3 indices=3")
      message(FATAL_ERROR "mv3d did not keep the converted triangle:\n${run_output}")
    endif()
  endif()
  list(JOIN tools ", " names)
  message(STATUS "tools: ${names} give their help and man page and run from the prefix")

elseif(STEP STREQUAL "launcher")
  run(WHAT "The launcher check" COMMAND sh ${SOURCE}/check_launcher.sh ${install_prefix} ${WORK})
  message(STATUS "${run_output}")

else()
  message(FATAL_ERROR "Unknown step '${STEP}'")
endif()
