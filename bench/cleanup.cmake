# The page clean-up on A4 pages rendered from text (the clean-up tests' renderer, Ghostscript):
# timings against a memcpy of the page, and the quality figures over whole sets of pages.
set(cleanup_test_pages ${PROJECT_SOURCE_DIR}/tests/cleanup/test_pages.cpp)
add_executable(cleanup_bench ${CMAKE_CURRENT_LIST_DIR}/cleanup_bench.cpp ${cleanup_test_pages})
target_link_libraries(cleanup_bench PRIVATE vellumo_cleanup benchmark::benchmark)
add_executable(cleanup_quality ${CMAKE_CURRENT_LIST_DIR}/cleanup_quality.cpp ${cleanup_test_pages})
target_link_libraries(cleanup_quality PRIVATE vellumo_cleanup)
