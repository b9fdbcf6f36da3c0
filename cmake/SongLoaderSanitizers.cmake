# Sanitizers apply to the whole build so that every object agrees on them.
if(SONGLOADER_SANITIZE)
    add_compile_options(-fsanitize=${SONGLOADER_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${SONGLOADER_SANITIZE})
endif()
if(SONGLOADER_FUZZ)
    # Instrument the libraries for coverage; only the fuzz targets link the fuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
