# Installation layout and the Debian package: `cmake --install` puts the programs in bin, the
# desktop entry in share/applications and the icon in the hicolor theme (each target installs
# itself where it is defined); `cpack -G DEB` in the build folder builds the .deb.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME "songloader")
set(CPACK_PACKAGE_VENDOR "SongLoader developers")
set(CPACK_PACKAGE_CONTACT "SongLoader developers <songloader@localhost>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Loads Standard MIDI Files into Orvik and Melko (TAV) devices over MIDI")
set(CPACK_PACKAGE_DESCRIPTION
    "SongLoader vets Standard MIDI Files, converts them into the TAV device's own song files \
and sends them to the device as MIDI File Dump messages. It comes with songloader (the \
desktop program), songloader-cli and tav-emulator, an emulated device for trying it out.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "songloader")
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The shared libraries the programs link (Qt, RtMidi, the C++ runtime) become dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins are loaded at run time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "jackd2")
set(CPACK_STRIP_FILES ON)
include(CPack)
