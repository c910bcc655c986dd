# Installation and the Debian package.
# Executables go to bin/; what the program keeps in its program folder goes to
# share/vomra/, from where an installed program seeds the user's own folder at
# first start.
include(GNUInstallDirs)

install(TARGETS vomra vomra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(vomra_share ${CMAKE_INSTALL_DATADIR}/vomra)
install(FILES ${CMAKE_SOURCE_DIR}/assets/QOBR.Ini ${VOMRA_HELP_FILE} DESTINATION ${vomra_share})
if(EXISTS ${CMAKE_SOURCE_DIR}/assets/Theme)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/Theme DESTINATION ${vomra_share})
else()
  install(DIRECTORY DESTINATION ${vomra_share}/Theme)
endif()
# The starter recipe library: its folders go straight into the program folder.
if(EXISTS ${CMAKE_SOURCE_DIR}/assets/recipes)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/recipes/ DESTINATION ${vomra_share} PATTERN README.md EXCLUDE)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/assets/vomra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/assets/org.vomra.vomra.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are installed compressed, without a time stamp
# (reproducible).
set(vomra_gz)
foreach(pair "vomra.1:man1/vomra.1" "vomra-cli.1:man1/vomra-cli.1" "debian/changelog.Debian:doc/changelog.Debian")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  set(gz ${CMAKE_BINARY_DIR}/gz/${to}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND sh -c "mkdir -p \"$(dirname \"$2\")\" && gzip -9nc \"$1\" > \"$2\"" sh ${CMAKE_SOURCE_DIR}/assets/${from} ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/${from}
    VERBATIM)
  list(APPEND vomra_gz ${gz})
endforeach()
add_custom_target(vomra_man ALL DEPENDS ${vomra_gz})
install(FILES ${CMAKE_BINARY_DIR}/gz/man1/vomra.1.gz ${CMAKE_BINARY_DIR}/gz/man1/vomra-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(vomra_doc ${CMAKE_INSTALL_DATADIR}/doc/vomra)
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/copyright ${CMAKE_BINARY_DIR}/gz/doc/changelog.Debian.gz
  DESTINATION ${vomra_doc})
install(FILES ${CMAKE_SOURCE_DIR}/assets/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vomra)
install(FILES ${CMAKE_SOURCE_DIR}/assets/bash-completion/vomra-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Everything the package ships, and nothing else (scripts/package builds this).
add_custom_target(vomra_ship DEPENDS vomra vomra-cli vomra_help vomra_man)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vomra)
set(CPACK_PACKAGE_VENDOR "Vomra")
set(CPACK_PACKAGE_CONTACT "Vomra developers <vomra@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "character art maker and chat text library for QQ users")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Vomra makes GBK text that looks like a picture when it is pasted into a chat:\n\
words drawn in a font, bitmaps ground through a gray ramp, and a drawing board\n\
of character cells. It keeps a library of ready-made chat texts and can paste\n\
them straight into a chat window. vomra-cli offers the conversions to scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision: the package is not native, its changelog is changelog.Debian.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/vomra")
# Install and package only; building is done before (scripts/package builds
# what ships, not the tests).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found by shlibdeps, and besides the libraries opened on first use
# (base/LazyLibrary.h), which no executable names: fontconfig, ICU, libX11 and
# libXtst, libwayland-client.
string(REGEX MATCH "^[0-9]+" vomra_icu_major "${ICU_VERSION}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfontconfig1, libicu${vomra_icu_major}, libx11-6, libxtst6, libwayland-client0")
# The Song-style face the texts are drawn in, the help viewer and the desktop opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming, xchm, xdg-utils")
include(CPack)
