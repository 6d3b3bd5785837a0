# Installation: the library as a CMake package with pkg-config files, its
# tools with man pages, and the game as a desktop application; CPack makes the
# Debian package of all of it.
#
# A library component joins the package as soon as its target exists; the
# platform targets it links come along on their own.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Component name -> target morvane_<name>, exported as Morvane::<name>.
set(MORVANE_INSTALL_COMPONENTS debug midi sound draw drawex 3d)
# The tools installed into bin/ with a man page each, when they are built.
set(MORVANE_INSTALL_TOOLS mvmidi mvsound mvdraw mv3d)
# Headers that include any of these stay behind: the installed interface never
# reaches a system library's header.
set(MORVANE_PRIVATE_INCLUDE_REGEX "#[ \t]*include[ \t]*[<\"](SDL|fluidsynth|GL/|GLES|EGL/|epoxy/)")

set(MORVANE_INCLUDE_SUBDIR ${CMAKE_INSTALL_INCLUDEDIR}/morvane)
set(MORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Morvane)
set(MORVANE_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(MORVANE_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/templates)

# The direct link dependencies of a target, $<LINK_ONLY:...> unwrapped.
function(morvane_link_deps target out)
  set(deps)
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs ${target} ${prop})
    if(libs)
      foreach(lib ${libs})
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
        list(APPEND deps ${lib})
      endforeach()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES deps)
  set(${out} ${deps} PARENT_SCOPE)
endfunction()

# The project targets a set of targets stands on (themselves included), and the
# imported system targets among their dependencies.
function(morvane_closure roots out_targets out_imported)
  set(seen)
  set(imported)
  set(queue ${roots})
  while(queue)
    list(POP_FRONT queue t)
    if(t IN_LIST seen OR t IN_LIST imported)
      continue()
    endif()
    # Imported targets are local to the folder that found them: known by name.
    if(t MATCHES "::")
      list(APPEND imported ${t})
      continue()
    endif()
    if(NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    morvane_link_deps(${t} deps)
    list(APPEND queue ${deps})
  endwhile()
  set(${out_targets} ${seen} PARENT_SCOPE)
  set(${out_imported} ${imported} PARENT_SCOPE)
endfunction()

set(morvane_roots)
set(morvane_components)
foreach(c ${MORVANE_INSTALL_COMPONENTS})
  if(TARGET morvane_${c})
    list(APPEND morvane_roots morvane_${c})
    list(APPEND morvane_components ${c})
  endif()
endforeach()
morvane_closure("${morvane_roots}" morvane_targets morvane_imported)

# With BUILD_SHARED_LIBS the modules still build their own static archives
# (the programs here link those); the package gets a shared twin of each,
# built from the same sources and linking the other twins.
function(morvane_installed_target t out)
  get_target_property(type ${t} TYPE)
  if(NOT BUILD_SHARED_LIBS OR NOT type STREQUAL "STATIC_LIBRARY")
    set(${out} ${t} PARENT_SCOPE)
    return()
  endif()
  get_target_property(dir ${t} SOURCE_DIR)
  get_target_property(sources ${t} SOURCES)
  set(absolute)
  foreach(s ${sources})
    cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY ${dir} OUTPUT_VARIABLE path)
    list(APPEND absolute ${path})
  endforeach()
  add_library(${t}_shared SHARED ${absolute})
  # Per-source flags (an instruction set for one file) belong to the module's
  # folder; the twin here needs them too.
  foreach(path ${absolute})
    get_source_file_property(flags ${path} DIRECTORY ${dir} COMPILE_OPTIONS)
    if(flags)
      set_property(SOURCE ${path} TARGET_DIRECTORY ${t}_shared PROPERTY COMPILE_OPTIONS ${flags})
    endif()
  endforeach()
  # Generated sources come from the static archive's own folder.
  add_dependencies(${t}_shared ${t})
  # Installed side by side, they find each other in any prefix.
  set_target_properties(${t}_shared PROPERTIES OUTPUT_NAME ${t} POSITION_INDEPENDENT_CODE ON
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/shared INSTALL_RPATH "$ORIGIN"
    SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  foreach(prop COMPILE_DEFINITIONS COMPILE_OPTIONS INCLUDE_DIRECTORIES)
    get_target_property(value ${t} ${prop})
    if(value)
      set_property(TARGET ${t}_shared PROPERTY ${prop} ${value})
    endif()
  endforeach()
  get_target_property(public ${t} INTERFACE_LINK_LIBRARIES)
  get_target_property(all ${t} LINK_LIBRARIES)
  foreach(scope public all)
    set(mapped_${scope})
    foreach(lib ${${scope}})
      if(lib MATCHES "^\\$<LINK_ONLY:")
        continue()
      endif()
      if(lib IN_LIST morvane_targets AND NOT lib STREQUAL "morvane_options")
        set(lib ${lib}_shared)
      endif()
      list(APPEND mapped_${scope} ${lib})
    endforeach()
  endforeach()
  target_link_libraries(${t}_shared PUBLIC ${mapped_public})
  list(REMOVE_ITEM mapped_all ${mapped_public})
  target_link_libraries(${t}_shared PRIVATE ${mapped_all})
  set(${out} ${t}_shared PARENT_SCOPE)
endfunction()

# The shared settings target: warnings-as-errors and the library's include root stay
# with this build; consumers get C++20 and the installed include folder.
get_target_property(options_flags morvane_options INTERFACE_COMPILE_OPTIONS)
set(wrapped)
foreach(flag ${options_flags})
  list(APPEND wrapped "$<BUILD_INTERFACE:${flag}>")
endforeach()
set_target_properties(morvane_options PROPERTIES
  INTERFACE_COMPILE_OPTIONS "${wrapped}"
  INTERFACE_INCLUDE_DIRECTORIES "$<BUILD_INTERFACE:${MORVANE_LIBRARY_ROOT}>;$<INSTALL_INTERFACE:${MORVANE_INCLUDE_SUBDIR}>")
target_compile_features(morvane_options INTERFACE cxx_std_20)

# Headers: every header of an installed target's folder but those that
# include a system library's header, at the path sources include them by.
set(morvane_headers)
foreach(t ${morvane_targets})
  get_target_property(type ${t} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    continue()
  endif()
  get_target_property(dir ${t} SOURCE_DIR)
  file(GLOB headers ${dir}/*.h)
  foreach(h ${headers})
    file(STRINGS ${h} private_includes REGEX "${MORVANE_PRIVATE_INCLUDE_REGEX}")
    if(NOT private_includes)
      file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${h})
      list(APPEND morvane_headers ${rel})
    endif()
  endforeach()
endforeach()
# A header that includes one of the tree's headers left out (private, or of
# a module the libraries do not link yet) cannot compile installed: it stays
# out too, and so on until none is missing.
set(morvane_headers_left_out)
set(changed TRUE)
while(changed)
  set(changed FALSE)
  foreach(rel ${morvane_headers})
    file(STRINGS ${CMAKE_SOURCE_DIR}/${rel} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"(library|platform|game|tools|tests)/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
      if(NOT included IN_LIST morvane_headers)
        list(REMOVE_ITEM morvane_headers ${rel})
        list(APPEND morvane_headers_left_out ${rel})
        set(changed TRUE)
        break()
      endif()
    endforeach()
  endforeach()
endwhile()
if(morvane_headers_left_out)
  list(JOIN morvane_headers_left_out ", " left_out)
  message(STATUS "Headers not installed, as they include headers the package lacks: ${left_out}")
endif()
foreach(rel ${morvane_headers})
  get_filename_component(folder ${rel} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/${rel} DESTINATION ${MORVANE_INCLUDE_SUBDIR}/${folder} COMPONENT devel)
endforeach()

# The shared twins live here, where the system targets their modules found
# are not visible: find those again.
if(BUILD_SHARED_LIBS)
  foreach(dep ${morvane_imported})
    if(TARGET ${dep})
      continue()
    elseif(dep MATCHES "^SDL2::")
      find_package(SDL2 REQUIRED)
    elseif(dep MATCHES "^PkgConfig::(.+)$")
      # The same call again: it finds its cached result and makes the
      # target here, with the libraries it links.
      set(p ${CMAKE_MATCH_1})
      pkg_check_modules(${p} ${__pkg_config_arguments_${p}})
      if(NOT TARGET ${dep})
        message(FATAL_ERROR "Could not make ${dep} again for the shared libraries")
      endif()
    endif()
  endforeach()
endif()

# Libraries, exported as Morvane::<name without the morvane_ prefix>.
set(morvane_installed)
foreach(t ${morvane_targets})
  string(REGEX REPLACE "^morvane_" "" name ${t})
  morvane_installed_target(${t} installed)
  set_target_properties(${installed} PROPERTIES EXPORT_NAME ${name})
  list(APPEND morvane_installed ${installed})
endforeach()
# Archives of a sanitized build call into the sanitizer runtime: a consumer
# must link it to link them at all.
if(MORVANE_SANITIZER_LINK_OPTIONS)
  foreach(t ${morvane_installed})
    target_link_options(${t} INTERFACE "$<INSTALL_INTERFACE:${MORVANE_SANITIZER_LINK_OPTIONS}>")
  endforeach()
endif()
install(TARGETS ${morvane_installed} EXPORT MorvaneTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT devel
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT devel
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(EXPORT MorvaneTargets NAMESPACE Morvane:: DESTINATION ${MORVANE_CMAKE_DIR} COMPONENT devel)

# How the package config finds each system target the libraries link, and
# the pkg-config module behind it.
set(MORVANE_FIND_DEPENDENCIES "")
set(morvane_pc_modules_of_imported)
foreach(dep ${morvane_imported})
  if(dep STREQUAL "Threads::Threads")
    string(APPEND MORVANE_FIND_DEPENDENCIES "find_dependency(Threads)\n")
  elseif(dep MATCHES "^SDL2::")
    string(APPEND MORVANE_FIND_DEPENDENCIES "find_dependency(SDL2)\n")
    set(pc_${dep} sdl2)
  elseif(dep MATCHES "^PkgConfig::(.+)$")
    set(prefix ${CMAKE_MATCH_1})
    if(NOT ${prefix}_MODULE_NAME)
      message(FATAL_ERROR "No pkg-config module recorded for ${dep}")
    endif()
    set(pc_${dep} ${${prefix}_MODULE_NAME})
    string(APPEND MORVANE_FIND_DEPENDENCIES
      "if(NOT TARGET ${dep})\n  pkg_check_modules(${prefix} REQUIRED QUIET IMPORTED_TARGET ${${prefix}_MODULE_NAME})\nendif()\n")
  else()
    message(FATAL_ERROR "Installing a library that links ${dep}: tell cmake/MorvaneInstall.cmake how to find it")
  endif()
endforeach()

set(MORVANE_COMPONENT_LIST "${morvane_components}")
configure_package_config_file(${MORVANE_TEMPLATES}/MorvaneConfig.cmake.in
  ${CMAKE_BINARY_DIR}/install/MorvaneConfig.cmake INSTALL_DESTINATION ${MORVANE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/install/MorvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/install/MorvaneConfig.cmake ${CMAKE_BINARY_DIR}/install/MorvaneConfigVersion.cmake
  DESTINATION ${MORVANE_CMAKE_DIR} COMPONENT devel)

# One pkg-config file per library: morvane-<name>.pc. Static libraries need
# their system libraries at link time, shared ones only privately.
file(RELATIVE_PATH MORVANE_PC_PREFIX_FROM_PCDIR /${MORVANE_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" MORVANE_PC_PREFIX_FROM_PCDIR "${MORVANE_PC_PREFIX_FROM_PCDIR}")
foreach(t ${morvane_targets})
  string(REGEX REPLACE "^morvane_" "" name ${t})
  morvane_link_deps(${t} deps)
  set(requires)
  set(system)
  set(MORVANE_PC_LIBS "")
  get_target_property(type ${t} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    set(MORVANE_PC_LIBS "-L\${libdir} -l${t}")
  endif()
  foreach(flag ${MORVANE_SANITIZER_LINK_OPTIONS})
    string(APPEND MORVANE_PC_LIBS " ${flag}")
  endforeach()
  foreach(d ${deps})
    if(d IN_LIST morvane_targets)
      string(REGEX REPLACE "^morvane_" "morvane-" d ${d})
      list(APPEND requires ${d})
    elseif(d STREQUAL "Threads::Threads")
      string(APPEND MORVANE_PC_LIBS " -pthread")
    elseif(DEFINED pc_${d})
      list(APPEND system ${pc_${d}})
    endif()
  endforeach()
  if(BUILD_SHARED_LIBS)
    set(requires_private ${system})
  else()
    list(APPEND requires ${system})
    set(requires_private)
  endif()
  set(MORVANE_PC_NAME morvane-${name})
  list(JOIN requires " " MORVANE_PC_REQUIRES)
  list(JOIN requires_private " " MORVANE_PC_REQUIRES_PRIVATE)
  if(t STREQUAL "morvane_options")
    set(MORVANE_PC_CFLAGS "-I\${includedir} -std=c++20")
  else()
    set(MORVANE_PC_CFLAGS "")
  endif()
  configure_file(${MORVANE_TEMPLATES}/morvane.pc.in ${CMAKE_BINARY_DIR}/install/morvane-${name}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/install/morvane-${name}.pc DESTINATION ${MORVANE_PKGCONFIG_DIR} COMPONENT devel)
endforeach()


# The tools, each with a man page made from its --help text. A help that
# fails or writes to stderr fails the page (help-for-man.sh).
find_program(MORVANE_HELP2MAN help2man)
set(man_pages)
foreach(tool ${MORVANE_INSTALL_TOOLS})
  if(NOT TARGET ${tool})
    continue()
  endif()
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  if(NOT MORVANE_HELP2MAN)
    continue()
  endif()
  set(wrapper ${CMAKE_BINARY_DIR}/man/help/${tool})
  file(GENERATE OUTPUT ${wrapper}
    CONTENT "#!/bin/sh\nexec sh \"${MORVANE_TEMPLATES}/help-for-man.sh\" \"$<TARGET_FILE:${tool}>\" \"$@\"\n"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(page ${CMAKE_BINARY_DIR}/man/${tool}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${MORVANE_HELP2MAN} --no-info --section=1 --version-string=${PROJECT_VERSION}
      "--name=${tool} tool of the Morvane Game Library" --output=${page} ${wrapper}
    DEPENDS ${tool} ${MORVANE_TEMPLATES}/help-for-man.sh COMMENT "Writing the man page of ${tool}" VERBATIM)
  list(APPEND man_pages ${page})
endforeach()
if(man_pages)
  add_custom_target(morvane-man-pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
elseif(NOT MORVANE_HELP2MAN)
  message(WARNING "help2man not found (scripts/install-deps.sh installs it): tools install without man pages")
endif()

# The game: the real program under libexec, and bin/dovrex, the launcher that
# runs it in the player's own folder (the game opens its data and its score
# table relative to the current directory).
if(TARGET dovrex)
  set(DOVREX_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/dovrex)
  set(DOVREX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/dovrex)
  file(RELATIVE_PATH DOVREX_PREFIX_FROM_BIN /${CMAKE_INSTALL_BINDIR} /)
  string(REGEX REPLACE "/$" "" DOVREX_PREFIX_FROM_BIN "${DOVREX_PREFIX_FROM_BIN}")
  configure_file(${CMAKE_SOURCE_DIR}/packaging/dovrex-launcher.sh.in ${CMAKE_BINARY_DIR}/install/dovrex @ONLY)
  install(TARGETS dovrex RUNTIME DESTINATION ${DOVREX_LIBEXEC_DIR} COMPONENT runtime)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/install/dovrex DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  # The folders the game opens; the pictures it embeds (res/) stay out.
  foreach(folder bmp wav mid)
    install(DIRECTORY ${MORVANE_DATA_DIR}/${folder} DESTINATION ${DOVREX_DATA_DIR} COMPONENT runtime)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/dovrex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    COMPONENT runtime)
  if(TARGET dovrex-icons)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT runtime)
  endif()
endif()

# Everything the install takes, without the tests and benchmarks that a
# full build makes too: cmake --build B --target morvane-installable.
add_custom_target(morvane-installable)
foreach(t ${morvane_installed} ${MORVANE_INSTALL_TOOLS} morvane-man-pages dovrex game-data dovrex-icons)
  if(TARGET ${t})
    add_dependencies(morvane-installable ${t})
  endif()
endforeach()

# The Debian package of everything above: dovrex_<version>_<arch>.deb. The
# shared libraries the programs link are found by dpkg-shlibdeps; what they
# open at run time is named here: the General MIDI SoundFont the synthesizer
# reads and, for a program on the 3D device, the GL and EGL drivers libepoxy
# loads (Mesa's, software rendering included).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dovrex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Dovrex")
set(CPACK_PACKAGE_CONTACT "Dovrex developers <dovrex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Two-stage vertical shoot 'em up, with the Morvane Game Library")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Dovrex is a two-stage vertical shoot 'em up with MIDI music, for keyboard or joystick."
  "The package also holds the Morvane Game Library it is made with: headers, libraries,"
  "a CMake package and pkg-config files, and its tools.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | fluid-soundfont-gm")
set(morvane_programs)
foreach(t dovrex ${MORVANE_INSTALL_TOOLS})
  if(TARGET ${t})
    list(APPEND morvane_programs ${t})
  endif()
endforeach()
morvane_closure("${morvane_programs}" morvane_program_targets morvane_program_imported)
if(morvane_gl IN_LIST morvane_program_targets)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libgl1, libegl1, libgl1-mesa-dri, libegl-mesa0")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsdl2-dev, libfluidsynth-dev, pkg-config, cmake, g++")
set(CPACK_STRIP_FILES ON)
include(CPack)
