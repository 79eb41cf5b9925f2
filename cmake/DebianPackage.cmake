# The Linux program as a Debian package, made by CPack's DEB generator (scripts/package.sh):
#   /usr/bin/ebrona-installer, its window module in /usr/lib/<architecture>/ebrona-installer/ (app/),
#   /usr/share/man/man1/ebrona-installer.1.gz, in Swedish (app/),
#   /usr/share/doc/ebrona-installer/copyright and changelog.gz,
#   /usr/share/doc/ebrona-installer/examples/: the Ansible playbook for Linux hosts and its inventory.
# Its dependencies are computed from the binaries by dpkg-shlibdeps; wine is only recommended,
# since /CHECK does not need it.
set(EBRONA_PACKAGE_MAINTAINER "Ebrona <support@ebrona.invalid>" CACHE STRING
    "The Maintainer field of the Debian package, as in scripts/package-files/changelog")

# The changelog, compressed as Debian asks (gzip -9, no name or time stored), and the copyright file.
set(package_files ${PROJECT_SOURCE_DIR}/scripts/package-files)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nc ${package_files}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${package_files}/changelog)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${package_files}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION share/doc/ebrona-installer)
install(FILES ${PROJECT_SOURCE_DIR}/deploy/ansible/linux.yml ${PROJECT_SOURCE_DIR}/deploy/ansible/inventory.yml
        DESTINATION share/doc/ebrona-installer/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ebrona-installer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "installerar Ebronaprogrammens systemfiler i Wine-prefix")
set(CPACK_PACKAGE_DESCRIPTION
  "Kopierar Ebronaprogrammens gemensamma komponentfiler (ActiveX-kontroller och
DLL-filer) till Windows systemmapp i ett Wine-prefix och registrerar dem med
regsvr32.exe, med fönster eller utan (/S, /CHECK). Se ebrona-installer(1).")
set(CPACK_PACKAGE_CONTACT "${EBRONA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # ebrona-installer_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders 0755 and files as installed, whatever the umask of the one who packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
