# Shared build settings and helpers for every module.

add_library(morvane_options INTERFACE)
target_compile_options(morvane_options INTERFACE -Wall -Wextra)
if(MORVANE_WERROR)
  target_compile_options(morvane_options INTERFACE -Werror)
endif()
# GCC 12 sees overlapping copies inside libstdc++'s string concatenation once
# it inlines at -O2 and above, where there are none (GCC bugs 105329 and
# 105651); other releases and compilers keep the warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION MATCHES "^12\\.")
  target_compile_options(morvane_options INTERFACE -Wno-restrict)
endif()

# Include roots. Sources name headers from the top ("library/...", "game/..."),
# but the repository root is on no include path: each layer gets a folder of
# links that reaches only the layers it may use, so a wrong include fails to
# compile. The library root travels with morvane_options, so every library
# and platform target has it; game, tools, tests and benchmarks add wider ones.
set(MORVANE_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# morvane_include_root(name folder...): the root's path in MORVANE_<NAME>_ROOT.
function(morvane_include_root name)
  set(root ${MORVANE_INCLUDE_ROOTS}/${name})
  file(MAKE_DIRECTORY ${root})
  # Made afresh on every configure, so a moved source tree is followed.
  foreach(folder ${ARGN})
    file(REMOVE ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  string(TOUPPER ${name} upper)
  set(MORVANE_${upper}_ROOT ${root} PARENT_SCOPE)
endfunction()

morvane_include_root(library library platform)
morvane_include_root(game library platform game)
morvane_include_root(programs library platform game tools tests)
target_include_directories(morvane_options INTERFACE $<BUILD_INTERFACE:${MORVANE_LIBRARY_ROOT}>)

# morvane_program_includes(target...): tools, tests and benchmarks may use
# every layer and their own helpers.
function(morvane_program_includes)
  foreach(target ${ARGN})
    target_include_directories(${target} PRIVATE ${MORVANE_PROGRAMS_ROOT})
  endforeach()
endfunction()

# The sanitizer runtime every program linking our instrumented objects needs;
# the installed package hands it on to its consumers too.
set(MORVANE_SANITIZER_LINK_OPTIONS)
if(MORVANE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  list(APPEND MORVANE_SANITIZER_LINK_OPTIONS -fsanitize=address,undefined)
elseif(MORVANE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  list(APPEND MORVANE_SANITIZER_LINK_OPTIONS -fsanitize=thread)
elseif(NOT MORVANE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "MORVANE_SANITIZE must be empty, 'address' or 'thread'")
endif()

# A fuzz build instruments every library too, so the fuzzer sees the loaders'
# branches and not only the harness's.
if(MORVANE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  list(APPEND MORVANE_SANITIZER_LINK_OPTIONS -fsanitize=address,undefined)
endif()
list(REMOVE_DUPLICATES MORVANE_SANITIZER_LINK_OPTIONS)
if(MORVANE_SANITIZER_LINK_OPTIONS)
  add_link_options(${MORVANE_SANITIZER_LINK_OPTIONS})
endif()

# morvane_test(name SOURCES ... LIBS ... [LABELS ...] [ENV ...])
# One GoogleTest program under build/tests, run by CTest as one test.
function(morvane_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/headless_drivers.cpp)
  target_link_libraries(${name} PRIVATE morvane_options GTest::gtest GTest::gtest_main ${T_LIBS})
  morvane_program_includes(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # No working directory of its own: a test finds its files by compiled-in
  # paths and writes only to folders it makes, so it runs from anywhere.
  add_test(NAME ${name} COMMAND ${name})
  set(env "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
  list(APPEND env ${T_ENV})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# morvane_help_test(program): `program --help` exits 0 and prints its usage.
function(morvane_help_test program)
  add_test(NAME ${program}_help
    COMMAND sh -c "out=$(\"$0\" --help) && printf '%s\\n' \"$out\" | grep -q \"^usage: $1 \""
            $<TARGET_FILE:${program}> ${program})
endfunction()

# morvane_fuzz(name SOURCE file LIBS ... CORPUS dir [ENV ...])
# The source defines LLVMFuzzerTestOneInput. With MORVANE_FUZZ (clang) it becomes
# a libFuzzer program; otherwise a replay program that feeds every corpus file
# through the target, run by CTest so the corpus stays a regression suite.
function(morvane_fuzz name)
  cmake_parse_arguments(F "" "SOURCE;CORPUS" "LIBS;ENV" ${ARGN})
  if(MORVANE_FUZZ)
    add_executable(${name} ${F_SOURCE} ${CMAKE_SOURCE_DIR}/tests/support/headless_drivers.cpp)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    morvane_program_includes(${name})
  else()
    add_executable(${name} ${F_SOURCE} ${CMAKE_SOURCE_DIR}/cmake/fuzz_replay.cpp
      ${CMAKE_SOURCE_DIR}/tests/support/headless_drivers.cpp)
    target_link_libraries(${name} PRIVATE morvane_options ${F_LIBS})
    morvane_program_includes(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name} ${F_CORPUS})
    if(F_ENV)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${F_ENV}")
    endif()
  endif()
endfunction()

# morvane_resources(target ENTRIES type name file [type name file ...])
# Compiles named blobs into the program; library loaders find them by type and
# name before they look on disk. One resource table per executable.
function(morvane_resources target)
  cmake_parse_arguments(R "" "" "ENTRIES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(files)
  list(LENGTH R_ENTRIES n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 2 ${last} 3)
    list(GET R_ENTRIES ${i} f)
    list(APPEND files ${f})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND morvane-embed ${out} ${R_ENTRIES}
    DEPENDS morvane-embed ${files}
    COMMENT "Embedding resources of ${target}" VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
