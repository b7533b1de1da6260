# Speed of the file codecs on an A4 page at 300 dpi, against the reference command-line tools.
add_executable(imaging_codecs_bench ${CMAKE_CURRENT_SOURCE_DIR}/imaging_codecs_bench.cpp)
target_link_libraries(imaging_codecs_bench PRIVATE vellumo_imaging benchmark::benchmark)
