# Imaging operations on an A4 page at 300 dpi, each measured against a memcpy of its pixels.
add_executable(imaging_ops_bench ${CMAKE_CURRENT_LIST_DIR}/imaging_ops_bench.cpp)
target_link_libraries(imaging_ops_bench PRIVATE vellumo_imaging benchmark::benchmark)
