# The manual pages, installed compressed in share/man/man1. Those of the two command-line programs
# are made at build time by help2man from their --help and --version (with an include file for
# files, exit status and examples; songloader-cli's commands each from their own --help), so that
# they never drift from the programs. The desktop program's page is written by hand. All are
# dated by the release (see SongLoaderRelease.cmake), so that a rebuild makes the same pages.
find_program(SONGLOADER_HELP2MAN help2man REQUIRED)
find_program(SONGLOADER_GZIP gzip REQUIRED)

set(man_sources ${PROJECT_SOURCE_DIR}/packaging/man)
set(man_build ${PROJECT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${man_build})

# help2man takes the page's date from SOURCE_DATE_EPOCH.
execute_process(
    COMMAND date -u -d "${SONGLOADER_RELEASE_TIME}" +%s
    OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)

# songloader_help2man_page(TARGET DESCRIPTION [INCLUDES...]): man/TARGET.1.gz from the program.
function(songloader_help2man_page target description)
    set(page ${man_build}/${target}.1)
    set(include_options)
    foreach(include IN LISTS ARGN)
        list(APPEND include_options --include=${include})
    endforeach()
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${release_epoch}
            ${SONGLOADER_HELP2MAN} --no-info --name=${description} ${include_options}
            --output=${page} $<TARGET_FILE:${target}>
        COMMAND ${SONGLOADER_GZIP} -9nf ${page}
        DEPENDS ${target} ${ARGN}
        COMMENT "Writing the manual page of ${target}"
        VERBATIM)
endfunction()

add_custom_command(
    OUTPUT ${man_build}/songloader-cli-commands.h2m
    COMMAND bash ${man_sources}/command-help.sh $<TARGET_FILE:songloader-cli>
        ${man_build}/songloader-cli-commands.h2m
    DEPENDS songloader-cli ${man_sources}/command-help.sh ${man_sources}/help-to-roff.awk
    COMMENT "Reading the help of every songloader-cli command"
    VERBATIM)
songloader_help2man_page(songloader-cli "prepare songs for TAV devices and load them over MIDI"
    ${man_build}/songloader-cli-commands.h2m ${man_sources}/songloader-cli.h2m)
songloader_help2man_page(tav-emulator "a software TAV device on virtual MIDI ports"
    ${man_sources}/tav-emulator.h2m)

# The hand-written page gets the version and date of the release.
configure_file(${man_sources}/songloader.1.in ${man_build}/written/songloader.1 @ONLY)
add_custom_command(
    OUTPUT ${man_build}/songloader.1.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${man_build}/written/songloader.1 ${man_build}/songloader.1
    COMMAND ${SONGLOADER_GZIP} -9nf ${man_build}/songloader.1
    DEPENDS ${man_build}/written/songloader.1
    VERBATIM)

set(man_pages ${man_build}/songloader.1.gz ${man_build}/songloader-cli.1.gz
    ${man_build}/tav-emulator.1.gz)
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
