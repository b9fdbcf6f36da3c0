# Every target of ours builds with the same strict warnings, as errors unless SONGLOADER_WERROR
# is off (the package build, where a newer compiler's new warning must not stop a user).
function(songloader_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${SONGLOADER_WERROR}>:/WX>)
        # The C library's own functions (fopen, getenv, _wfopen) are used on purpose.
        target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS)
        return()
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
        $<$<BOOL:${SONGLOADER_WERROR}>:-Werror>)
    # GCC 12's optimiser reports these falsely inside the standard library's vector, string and
    # function code; in optimised builds they stay warnings rather than stop the build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
        target_compile_options(${target} PRIVATE
            $<$<NOT:$<CONFIG:Debug>>:-Wno-error=array-bounds -Wno-error=restrict
                -Wno-error=maybe-uninitialized -Wno-error=stringop-overflow>)
    endif()
endfunction()
