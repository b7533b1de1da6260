# The PDF library: G4 encoding and whole documents (see bench/README.md, section PDF, and
# bench/pdf_vs_img2pdf.sh for the comparison with img2pdf).
add_executable(pdf_bench ${CMAKE_CURRENT_LIST_DIR}/pdf_bench.cpp)
target_link_libraries(pdf_bench PRIVATE vellumo_pdf benchmark::benchmark benchmark::benchmark_main)
