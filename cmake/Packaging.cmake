# The installed layout and the Debian package made from it by CPack (`cmake --build build
# --target package`, or tools/build-package.sh for a Release build of its own).
#
#   /usr/bin/velmora, /usr/bin/velmora-update    the two programs, under lower-case command names
#   /usr/share/velmora/skin/N.skn                 the shipped themes, read-only; each user's data
#                                                 files live in the user's own data folder
#   /usr/share/applications, icons, metainfo      what a desktop needs to list and show the program
#
# The build tree keeps the names Velmora and Velmoraupdate: the tests and run.sh start those.

set(VELMORA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VELMORA_APP_ID ir.velmorasoft.Velmora)

# The package carries the program's own version, read from the one header that says it.
set(VELMORA_VERSION_HEADER ${PROJECT_SOURCE_DIR}/src/common/AppVersion.h)
file(STRINGS ${VELMORA_VERSION_HEADER} VELMORA_VERSION_LINES REGEX "constexpr int kM(ajor|inor) = [0-9]+;")
string(REGEX MATCH "kMajor = ([0-9]+)" _ "${VELMORA_VERSION_LINES}")
set(VELMORA_VERSION_MAJOR ${CMAKE_MATCH_1})
string(REGEX MATCH "kMinor = ([0-9]+)" _ "${VELMORA_VERSION_LINES}")
set(VELMORA_VERSION_MINOR ${CMAKE_MATCH_1})
if(VELMORA_VERSION_MAJOR STREQUAL "" OR VELMORA_VERSION_MINOR STREQUAL "")
  message(FATAL_ERROR "No kMajor/kMinor version found in ${VELMORA_VERSION_HEADER}")
endif()
set(VELMORA_VERSION ${VELMORA_VERSION_MAJOR}.${VELMORA_VERSION_MINOR})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELMORA_VERSION_HEADER})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A program target installed under another name. install(TARGETS) cannot rename, so this does what
# it does for an executable, file copy and optional strip, with the new name; the install manifest
# then lists the file under the name it really has.
function(velmora_install_program TARGET NAME)
  install(CODE "
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/bin\" TYPE PROGRAM
         RENAME \"${NAME}\" FILES \"$<TARGET_FILE:${TARGET}>\")
    if(CMAKE_INSTALL_DO_STRIP)
      # As Debian's own packages are stripped: no symbols, no compiler comment.
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${NAME}\"
                      RESULT_VARIABLE stripped)
      if(NOT stripped EQUAL 0)
        message(FATAL_ERROR \"Stripping ${NAME} failed\")
      endif()
    endif()")
endfunction()

velmora_install_program(Velmora velmora)
velmora_install_program(Velmoraupdate velmora-update)
# The network module, where the installed program looks for it (/usr/lib/<processor>/velmora).
install(TARGETS velmora_network LIBRARY DESTINATION ${VELMORA_MODULE_FOLDER}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(GLOB VELMORA_INSTALLED_SKINS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/skin/*.skn)
install(FILES ${VELMORA_INSTALLED_SKINS} DESTINATION share/velmora/skin)

install(FILES ${VELMORA_PACKAGING_DIR}/${VELMORA_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${VELMORA_PACKAGING_DIR}/${VELMORA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${VELMORA_PACKAGING_DIR}/icons/${VELMORA_APP_ID}.svg
        DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${VELMORA_PACKAGING_DIR}/icons/hicolor/${size}x${size}/apps/${VELMORA_APP_ID}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${VELMORA_PACKAGING_DIR}/copyright DESTINATION share/doc/velmora)

# Debian wants the changelog and the manual pages compressed at the highest level, without a
# name or time in the gzip header (so that the same sources give the same package). Compressed
# when configuring, so that installing needs no build step of its own; a changed source
# configures again.
set(VELMORA_COMPRESSED_DIR ${PROJECT_BINARY_DIR}/packaging)
function(velmora_install_compressed SOURCE DESTINATION NAME)
  set(compressed ${VELMORA_COMPRESSED_DIR}/${NAME}.gz)
  file(MAKE_DIRECTORY ${VELMORA_COMPRESSED_DIR})
  execute_process(COMMAND gzip -9 --no-name --stdout ${SOURCE} OUTPUT_FILE ${compressed}
                  RESULT_VARIABLE compressedResult)
  if(NOT compressedResult EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${SOURCE}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SOURCE})
  install(FILES ${compressed} DESTINATION ${DESTINATION})
endfunction()

velmora_install_compressed(${VELMORA_PACKAGING_DIR}/changelog share/doc/velmora changelog)
velmora_install_compressed(${VELMORA_PACKAGING_DIR}/man/velmora.1 share/man/man1 velmora.1)
velmora_install_compressed(${VELMORA_PACKAGING_DIR}/man/velmora-update.1 share/man/man1 velmora-update.1)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${VELMORA_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora Soft")
set(CPACK_PACKAGE_CONTACT "Velmora Soft <info@velmorasoft.ir>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "needs questionnaire for psychologists and counselling clinics")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.velmorasoft.ir)
# The long description under the summary line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora registers examinees, administers a questionnaire of 35 items on screen
or takes a typed paper answer sheet, and scores the answers into five need
scales: survival, love and belonging, freedom, power and fun. The scores are
charted for one person or compared for a couple, and printed with the clinic's
name, address and logo.
.
The interface is Persian and right to left; dates are Jalali. Several
workstations of a clinic can keep one record on a PostgreSQL server.")
# The libraries the programs link come from dpkg-shlibdeps; what they load at run time it cannot
# see: the X11 platform plugin, the SQLite driver of the data files and the PostgreSQL one of the
# clinic server, the Persian typefaces and Qt's own Persian texts.
# Nor the libraries of the file formats, which the program opens only when it writes such a file
# (their packages are found in src/formatlibs/).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN VELMORA_LATE_LIBRARY_PACKAGES ", " VELMORA_LATE_LIBRARY_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, fonts-farsiweb, qt6-translations-l10n, ${VELMORA_LATE_LIBRARY_DEPENDS}")
# Documents and web pages are opened with the desktop's default handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
