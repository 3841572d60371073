# Install layout, exported CMake package, pkg-config files and Debian packages, all in one place.
# Each folder adds one call:
#   vkrsim_install([LIBRARIES lib...] [PROGRAMS prog...] [HEADERS face.h...])
# LIBRARIES become versioned shared libraries in lib/ with imported targets VKRsim::<lib> and a
# pkg-config file <lib>.pc; PROGRAMS go to bin/ with docs/man/<prog>.1; HEADERS name the public
# face headers (relative to the top source or build folder) and install them with every project
# header they include, under include/vkrsim/ in the same relative layout.
#
# Install components, one Debian package each: "programs" (bin, data, man pages, desktop entry),
# "runtime" (the shared libraries) and "development" (headers, link symlinks, CMake package,
# pkg-config files).
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VKRSIM_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/vkrsim)
set(VKRSIM_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/VKRsim)
set(VKRSIM_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME programs)

# Installed programs and libraries find the project's libraries beside them, wherever the prefix
# is moved to.
file(RELATIVE_PATH _vkrsim_bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
set(CMAKE_INSTALL_RPATH "$ORIGIN/${_vkrsim_bin_to_lib}")

# Project headers reachable from `header` through #include "...", as paths relative to the top
# source folder or the generated root; only those under the same top folder as `header` (one library family's
# headers never drag in another's).
function(_vkrsim_header_closure header out)
  string(REGEX MATCH "^[^/]+" family "${header}")
  set(pending ${header})
  set(found)
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST found)
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" top "${current}")
    if(NOT top STREQUAL family)
      continue()
    endif()
    if(EXISTS ${PROJECT_SOURCE_DIR}/${current})
      set(file ${PROJECT_SOURCE_DIR}/${current})
    elseif(EXISTS ${VKRSIM_GENERATED_DIR}/${current})
      set(file ${VKRSIM_GENERATED_DIR}/${current})
    else()
      message(FATAL_ERROR "vkrsim_install: public header ${current} not found")
    endif()
    if(current MATCHES "_p\\.h$")
      message(FATAL_ERROR "vkrsim_install: ${header} reaches the private header ${current}")
    endif()
    list(APPEND found ${current})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(_vkrsim_install_headers)
  get_property(installed GLOBAL PROPERTY VKRSIM_INSTALLED_HEADERS)
  foreach(face IN LISTS ARGN)
    _vkrsim_header_closure(${face} headers)
    foreach(header IN LISTS headers)
      if(header IN_LIST installed)
        continue()
      endif()
      list(APPEND installed ${header})
      if(EXISTS ${PROJECT_SOURCE_DIR}/${header})
        set(file ${PROJECT_SOURCE_DIR}/${header})
      else()
        set(file ${VKRSIM_GENERATED_DIR}/${header})
      endif()
      get_filename_component(dir ${header} DIRECTORY)
      install(FILES ${file} DESTINATION ${VKRSIM_INSTALL_INCLUDEDIR}/${dir} COMPONENT development)
    endforeach()
  endforeach()
  set_property(GLOBAL PROPERTY VKRSIM_INSTALLED_HEADERS ${installed})
endfunction()

function(_vkrsim_install_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

  # Installed users include from include/vkrsim; the source and build folders are for the build.
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(wrapped)
  foreach(dir IN LISTS dirs)
    if(dir AND NOT dir MATCHES "^\\$<")
      list(APPEND wrapped "$<BUILD_INTERFACE:${dir}>")
    elseif(dir)
      list(APPEND wrapped "${dir}")
    endif()
  endforeach()
  list(APPEND wrapped "$<INSTALL_INTERFACE:${VKRSIM_INSTALL_INCLUDEDIR}>")
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${wrapped}")

  # No public header includes a third-party header, and a shared library names its own runtime
  # dependencies: third-party (imported) link dependencies stay out of the installed interface,
  # so users need only this project's package. Project libraries it uses stay (pkg-config
  # Requires too), since their headers are part of this library's face.
  get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
  set(kept)
  set(requires)
  foreach(link IN LISTS links)
    if(NOT link)
      continue()
    endif()
    if(TARGET ${link})
      get_target_property(imported ${link} IMPORTED)
      if(imported)
        list(APPEND kept "$<BUILD_INTERFACE:${link}>")
        continue()
      endif()
      list(APPEND requires ${link})
    endif()
    list(APPEND kept "${link}")
  endforeach()
  set_target_properties(${target} PROPERTIES INTERFACE_LINK_LIBRARIES "${kept}")

  install(TARGETS ${target} EXPORT VKRsimTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)

  # pkg-config file with a prefix relative to its own folder, so a moved prefix still works.
  file(RELATIVE_PATH pc_to_prefix /${VKRSIM_INSTALL_PKGCONFIGDIR} /)
  string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
  list(JOIN requires " " requires)
  set(pc ${PROJECT_BINARY_DIR}/pkgconfig/${target}.pc)
  file(WRITE ${pc}
    "prefix=\${pcfiledir}/${pc_to_prefix}\n"
    "libdir=\${prefix}/${CMAKE_INSTALL_LIBDIR}\n"
    "includedir=\${prefix}/${VKRSIM_INSTALL_INCLUDEDIR}\n\n"
    "Name: ${target}\n"
    "Description: ${target}, a library of ${PROJECT_NAME}\n"
    "Version: ${PROJECT_VERSION}\n"
    "Requires: ${requires}\n"
    "Cflags: -I\${includedir}\n"
    "Libs: -L\${libdir} -l${target}\n")
  install(FILES ${pc} DESTINATION ${VKRSIM_INSTALL_PKGCONFIGDIR} COMPONENT development)
endfunction()

function(_vkrsim_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  set(page ${PROJECT_SOURCE_DIR}/docs/man/${target}.1)
  if(EXISTS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
  else()
    message(WARNING "vkrsim_install: ${target} has no manual page docs/man/${target}.1")
  endif()
endfunction()

function(vkrsim_install)
  cmake_parse_arguments(I "" "" "LIBRARIES;PROGRAMS;HEADERS" ${ARGN})
  if(I_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vkrsim_install: unexpected ${I_UNPARSED_ARGUMENTS}")
  endif()
  foreach(library IN LISTS I_LIBRARIES)
    _vkrsim_install_library(${library})
  endforeach()
  foreach(program IN LISTS I_PROGRAMS)
    _vkrsim_install_program(${program})
  endforeach()
  _vkrsim_install_headers(${I_HEADERS})
endfunction()

# --- What is installed once: CMake package, desktop entry, icon -------------------------------
install(EXPORT VKRsimTargets NAMESPACE VKRsim:: DESTINATION ${VKRSIM_INSTALL_CMAKEDIR}
  COMPONENT development)
file(WRITE ${PROJECT_BINARY_DIR}/cmake/VKRsimConfig.cmake
  "# Imported targets VKRsim::<library> for the libraries of ${PROJECT_NAME}.\n"
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/VKRsimTargets.cmake\")\n")
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/VKRsimConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cmake/VKRsimConfig.cmake
              ${PROJECT_BINARY_DIR}/cmake/VKRsimConfigVersion.cmake
  DESTINATION ${VKRSIM_INSTALL_CMAKEDIR} COMPONENT development)

install(FILES ${PROJECT_SOURCE_DIR}/data/VKRsim.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT programs)
install(FILES ${PROJECT_SOURCE_DIR}/data/vkrsim.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT programs)

# --- Debian packages (cpack -G DEB) ------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vkrsim)
set(CPACK_PACKAGE_VENDOR "VKRsim developers")
set(CPACK_PACKAGE_CONTACT "VKRsim developers <vkrsim@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operator workstation of the sight unit on instrumented test ranges")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL programs runtime development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# Third-party dependencies come from dpkg-shlibdeps. Our own libraries are found in the build
# tree; the dependency on their package comes from the component dependencies below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME vkrsim)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvkrsim${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file, so that packages built against the libraries get their dependency from
# dpkg-shlibdeps too.
# (Only the runtime package holds shared objects.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvkrsim-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
cpack_add_component(runtime DISPLAY_NAME "VKRsim libraries"
  DESCRIPTION "Range middleware, local classes, object models and the basic-implementation callback families")
cpack_add_component(programs DISPLAY_NAME "VKRsim" DEPENDS runtime
  DESCRIPTION "VKRsim, the execution manager, uutsim, rangemon and the installation data")
cpack_add_component(development DISPLAY_NAME "VKRsim development files" DEPENDS runtime
  DESCRIPTION "Headers, CMake package and pkg-config files of the VKRsim libraries")
