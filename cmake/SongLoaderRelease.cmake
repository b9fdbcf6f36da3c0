# The release this source makes, read from the top entry of packaging/changelog: its version must
# be the project's (so the programs, the package and the changelog tell one number), and its date
# dates the manual pages and the AppStream release. Sets SONGLOADER_RELEASE_DATE (2026-12-07),
# SONGLOADER_RELEASE_MONTH (December 2026) and SONGLOADER_RELEASE_TIME (the entry's own text).
set(SONGLOADER_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SONGLOADER_CHANGELOG})
file(READ ${SONGLOADER_CHANGELOG} changelog_text)

if(NOT changelog_text MATCHES "^songloader \\(([^)]+)\\)")
    message(FATAL_ERROR "${SONGLOADER_CHANGELOG}: the first line is no 'songloader (VERSION)' entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${SONGLOADER_CHANGELOG}: the top entry is version ${CMAKE_MATCH_1}, the "
        "project is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()

# The top entry's trailer: " -- NAME <MAIL>  Mon, 07 Dec 2026 12:00:00 +0000".
set(trailer_date "[A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) [0-9:]+ [-+][0-9]+")
if(NOT changelog_text MATCHES "\n -- [^\n]+>  (${trailer_date})")
    message(FATAL_ERROR "${SONGLOADER_CHANGELOG}: the top entry has no ' -- NAME <MAIL>  DATE' line")
endif()
set(SONGLOADER_RELEASE_TIME "${CMAKE_MATCH_1}")
set(day "${CMAKE_MATCH_2}")
set(month_abbreviation "${CMAKE_MATCH_3}")
set(year "${CMAKE_MATCH_4}")

set(month_abbreviations Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(month_names January February March April May June July August September October November
    December)
list(FIND month_abbreviations "${month_abbreviation}" month_index)
if(month_index LESS 0)
    message(FATAL_ERROR "${SONGLOADER_CHANGELOG}: '${month_abbreviation}' is no month")
endif()
list(GET month_names ${month_index} month_name)
math(EXPR month_number "${month_index} + 1")
string(LENGTH "${day}" day_length)
if(day_length EQUAL 1)
    set(day "0${day}")
endif()
if(month_number LESS 10)
    set(month_number "0${month_number}")
endif()
set(SONGLOADER_RELEASE_DATE "${year}-${month_number}-${day}")
set(SONGLOADER_RELEASE_MONTH "${month_name} ${year}")
