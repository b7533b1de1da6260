# The PDF embedding of every kind of image file: the writer's own paths and the decoders'.
vellumo_add_fuzzer(fuzz_pdf_embed ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pdf_embed.cpp vellumo_pdf)

# The JBIG2 encoder, round trip through jbig2dec's library.
find_package(PkgConfig REQUIRED)
pkg_check_modules(JBIG2DEC REQUIRED IMPORTED_TARGET jbig2dec)
vellumo_add_fuzzer(fuzz_jbig2_round_trip ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_jbig2_round_trip.cpp
    vellumo_pdf PkgConfig::JBIG2DEC)
vellumo_layer(fuzz_jbig2_round_trip tests)  # the test suite's jbig2dec reader
