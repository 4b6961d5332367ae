# Installation and packages. Installed on Linux, moxtal keeps the conventional layout that its
# program-folder rule looks for: bin/moxtal, its core library, editor module and packages under
# lib/moxtal, the catalogues and a sample registry file under share/moxtal. On Windows everything
# sits beside moxtal.exe, as in the build tree. Only the product is installed (component
# "moxtal"): neither the tests nor libxml2's own install rules.
#
# `scripts/package` turns the installation into dist/moxtal_VERSION_amd64.deb on Linux and
# dist/moxtal-VERSION-win64.zip from the Windows build, with this project's CPack configuration.

include(GNUInstallDirs)
if(WIN32)
  set(mx_bin_dest .)
  set(mx_module_dest .)
  set(mx_data_dest .)
  set(mx_doc_dest .)
else()
  set(mx_bin_dest ${CMAKE_INSTALL_BINDIR})
  set(mx_module_dest ${CMAKE_INSTALL_LIBDIR}/moxtal)
  set(mx_data_dest ${CMAKE_INSTALL_DATADIR}/moxtal)
  set(mx_doc_dest ${CMAKE_INSTALL_DATADIR}/doc/moxtal)
  # Binaries find the core relative to themselves, wherever the prefix is.
  set_target_properties(moxtal PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}/moxtal")
  set_target_properties(Mx50BCC PROPERTIES INSTALL_RPATH "$ORIGIN/..")
  if(TARGET Mx50Editor)
    set_target_properties(Mx50Editor PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
endif()

# Installed binaries are stripped (the build tree keeps their debug information): this block
# runs before the files below are copied, as `cmake --install --strip` would.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)" COMPONENT moxtal)

install(TARGETS moxtal RUNTIME DESTINATION ${mx_bin_dest} COMPONENT moxtal)
install(TARGETS mx_core RUNTIME DESTINATION ${mx_module_dest} COMPONENT moxtal
                        LIBRARY DESTINATION ${mx_module_dest} COMPONENT moxtal)
install(TARGETS Mx50BCC LIBRARY DESTINATION ${mx_module_dest}/packages COMPONENT moxtal)
if(TARGET Mx50Editor)
  install(TARGETS Mx50Editor LIBRARY DESTINATION ${mx_module_dest} COMPONENT moxtal)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/BCBCompilerWarnings.txt
              ${PROJECT_SOURCE_DIR}/data/BCBLinkerWarnings.txt
              ${PROJECT_SOURCE_DIR}/data/BCBOptimize.txt
        DESTINATION ${mx_data_dest} COMPONENT moxtal)
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/registry-windows.sample.reg DESTINATION ${mx_data_dest}
          RENAME registry.sample.reg COMPONENT moxtal)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/README-Windows.txt DESTINATION ${mx_doc_dest}
          RENAME README.txt COMPONENT moxtal)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/registry.sample.reg DESTINATION ${mx_data_dest}
          COMPONENT moxtal)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${mx_doc_dest} COMPONENT moxtal)
  # The demos, for the README's walk-through from an installed package (the registry template
  # and make transcript belong to the build tree's stand-in tools).
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/demo ${PROJECT_SOURCE_DIR}/examples/cb2006
          DESTINATION ${mx_doc_dest}/examples COMPONENT moxtal
          PATTERN "*.in" EXCLUDE PATTERN "make-transcript.txt" EXCLUDE)
endif()

# CPack: this project's configuration, written after libxml2's (which add_subdirectory also
# writes to CPackConfig.cmake) and replacing it.
set(CPACK_PACKAGE_NAME moxtal)
set(CPACK_PACKAGE_VENDOR "Moxtal")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Build host with C++Builder 5/6 and 2006/2007 build actions (Mx50BCC)")
set(CPACK_PACKAGE_CONTACT "Moxtal maintainers <moxtal@localhost>")
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};moxtal;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_SOURCE_DIR}/dist")
set(CPACK_PACKAGE_CHECKSUM SHA256)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "moxtal-${PROJECT_VERSION}-win64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Build host with C++Builder 5/6 and 2006/2007 build actions
moxtal runs build scripts whose actions build Borland C++Builder 5/6 projects
(.bpr, .bpk) and C++Builder 2006/2007 projects (.bdsproj, .cbproj) with the
C++Builder command-line tools, without writing the user's project files.")
  # The run-time dependencies are computed from the binaries by dpkg-shlibdeps; the core
  # library is the package's own.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The core library sits in a folder of moxtal's own, which ldconfig has no business with: these
  # maintainer scripts replace the ones CPack would write to call it.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/packaging/debian/postinst"
                                         "${PROJECT_SOURCE_DIR}/packaging/debian/postrm")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      "${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/moxtal-${PROJECT_VERSION}-Linux/usr/${CMAKE_INSTALL_LIBDIR}/moxtal")
endif()
include(CPack)
