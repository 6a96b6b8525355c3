# Manual pages, bash completion, AppStream metadata, the package's documents, and the
# Debian package made from all that is installed (cpack -G DEB, or scripts/make-deb.sh).

include(GNUInstallDirs)

set(PEDAL_RELEASE_DATE 2026-12-07)
set(PEDAL_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(PEDAL_PACKAGE_MAINTAINER "Pedal Editor developers <pedal-editor@example.org>"
    CACHE STRING "The maintainer named in the Debian package")

# Manual pages and the changelog are installed gzipped, as Debian keeps them; gzip -n
# leaves out the time stamp, so that builds of the same sources give the same files.
set(PEDAL_GZIPPED_DOCS)
function(pedal_gzip_doc source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
  set(PEDAL_GZIPPED_DOCS ${PEDAL_GZIPPED_DOCS} ${output} PARENT_SCOPE)
endfunction()

set(PEDAL_DOC_DIR ${PROJECT_BINARY_DIR}/docs)
foreach(page pedal-editor pedal-session virtual-pedal)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${PEDAL_DOC_DIR}/man/${page}.1 @ONLY)
  pedal_gzip_doc(${PEDAL_DOC_DIR}/man/${page}.1 ${PEDAL_DOC_DIR}/man/${page}.1.gz)
  install(FILES ${PEDAL_DOC_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/docs/debian/changelog.in ${PEDAL_DOC_DIR}/changelog @ONLY)
pedal_gzip_doc(${PEDAL_DOC_DIR}/changelog ${PEDAL_DOC_DIR}/changelog.gz)
add_custom_target(pedal_docs ALL DEPENDS ${PEDAL_GZIPPED_DOCS})

install(FILES ${PEDAL_DOC_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/docs/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pedal-editor)
install(FILES ${PROJECT_SOURCE_DIR}/docs/completion/pedal-session.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pedal-session)
configure_file(${PROJECT_SOURCE_DIR}/resources/pedal-editor.metainfo.xml.in
               ${PEDAL_DOC_DIR}/local.pedaleditor.PedalEditor.metainfo.xml @ONLY)
install(FILES ${PEDAL_DOC_DIR}/local.pedaleditor.PedalEditor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package: pedal-editor_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pedal-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pedal Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and librarian for a tap-tempo MIDI foot pedal")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pedal Editor keeps a whole session of a tap-tempo and MIDI-controller foot
pedal with four configurable jacks: 128 songs, the setlist, 128 MIDI stacks,
the global settings and a library of described MIDI messages. It edits the
session on five pages, saves it as a text file, sends it to the pedal over
USB serial or loads it back, and updates the pedal's firmware.
.
The package also holds pedal-session, which creates, checks, converts, sends
and receives session files from the command line, and virtual-pedal, which
plays the pedal on a pseudo-terminal for trying everything without one.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PEDAL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries, as dpkg-shlibdeps finds them; the flashing tool of firmware updates.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bossa-cli)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
