# The page clean-up on A4 pages rendered from text (the clean-up tests' renderer, Ghostscript):
# timings against a memcpy of the page, and the quality figures over whole sets of pages.
add_library(cleanup_bench_pages STATIC ${PROJECT_SOURCE_DIR}/tests/cleanup/test_pages.cpp)
vellumo_layer(cleanup_bench_pages tests)
target_link_libraries(cleanup_bench_pages PUBLIC vellumo_imaging)
add_executable(cleanup_bench ${CMAKE_CURRENT_LIST_DIR}/cleanup_bench.cpp)
target_link_libraries(cleanup_bench PRIVATE cleanup_bench_pages vellumo_cleanup benchmark::benchmark)
add_executable(cleanup_quality ${CMAKE_CURRENT_LIST_DIR}/cleanup_quality.cpp)
target_link_libraries(cleanup_quality PRIVATE cleanup_bench_pages vellumo_cleanup)
