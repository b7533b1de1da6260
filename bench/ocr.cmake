# Text recognition and searchable PDFs against the tesseract command (see bench/README.md,
# section Text recognition). The pages are set by the tests' page maker.
add_executable(ocr_bench ${CMAKE_CURRENT_LIST_DIR}/ocr_bench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/text_pages.cpp)
target_include_directories(ocr_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(ocr_bench PRIVATE vellumo_ocr vellumo_pdf benchmark::benchmark)
