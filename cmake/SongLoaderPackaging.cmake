# Installation layout and the Debian package. Each program installs itself where it is defined,
# the desktop program with its desktop entry and 256 px icon; here come the smaller icons, the
# AppStream metadata, the Debian copyright file and changelog and the manual pages. The package
# is built from the `package` preset: `cpack -G DEB` in its build folder makes the .deb.
include(GNUInstallDirs)
include(SongLoaderRelease)

set(resources ${PROJECT_SOURCE_DIR}/src/ui/resources)
foreach(size 48 128)
    install(FILES ${resources}/songloader-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
        RENAME songloader.png)
endforeach()

configure_file(${resources}/org.example.songloader.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/packaging/org.example.songloader.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/org.example.songloader.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The documents a Debian package carries, in the folder named after the package, and the
# manual pages; both are made with tools of a Linux system. The sanitizer builds are for the
# tests and leave them out.
if(LINUX AND NOT SONGLOADER_SANITIZE)
    set(package_docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/songloader)
    find_program(SONGLOADER_GZIP gzip REQUIRED)
    add_custom_command(
        OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${SONGLOADER_CHANGELOG}
            ${PROJECT_BINARY_DIR}/packaging/changelog
        COMMAND ${SONGLOADER_GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog
        DEPENDS ${SONGLOADER_CHANGELOG}
        VERBATIM)
    add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${package_docs})

    include(SongLoaderManPages)
endif()

set(CPACK_PACKAGE_NAME "songloader")
set(CPACK_PACKAGE_VENDOR "SongLoader developers")
set(CPACK_PACKAGE_CONTACT "SongLoader developers <maintainers@songloader.example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load Standard MIDI Files into Orvik and Melko devices")
# The extended description, in lines of the length Debian's tools show.
set(CPACK_PACKAGE_DESCRIPTION "\
SongLoader loads songs into the TAV, a family of MIDI-connected devices (the
Orvik and the Melko) that keep songs in their own memory. It vets each
Standard MIDI File, converts it into the device's own song file and sends it
to the device over MIDI as File Dump messages.

The package holds songloader, the desktop program; songloader-cli, which
converts, exports and sends songs from the command line; and tav-emulator, a
software device for trying SongLoader out without the hardware.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "songloader")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries the programs link become dependencies: Qt (libqt6gui6 also holds the
# platform plugins the desktop program loads, xcb and offscreen), RtMidi, the C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# RtMidi reaches a JACK server through the JACK client library, which the programs need where
# there is no ALSA sequencer; the server itself is only recommended.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjack-jackd2-0 | libjack-0.125")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "jackd2")
set(CPACK_STRIP_FILES ON)
include(CPack)
