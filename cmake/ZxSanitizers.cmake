# ASan + UBSan for every target when ZX_SANITIZE is on.
if(ZX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer builds (clang): every library is compiled with coverage counters, not only the
# harnesses, so the fuzzer can steer by the code under test. Only the *-libfuzzer programs
# take libFuzzer's own main; everything else links its no-main runtime for the counters.
if(ZX_LIBFUZZER)
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_link_options(-fsanitize=fuzzer-no-link)
endif()
