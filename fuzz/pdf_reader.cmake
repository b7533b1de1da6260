# Our PDF reader: structure, page content and page images.
vellumo_add_fuzzer(fuzz_pdf_reader ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pdf_reader.cpp vellumo_pdf)
