# The PDF embedding of every kind of image file: the writer's own paths and the decoders'.
vellumo_add_fuzzer(fuzz_pdf_embed ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pdf_embed.cpp vellumo_pdf)
