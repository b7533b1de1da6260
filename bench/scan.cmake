# Scanning: from StartAcquire to the image handed over and on to the page file and thumbnail,
# against scanimage writing the same page.
add_executable(scan_bench ${CMAKE_CURRENT_LIST_DIR}/scan_bench.cpp)
target_link_libraries(scan_bench PRIVATE vellumo_scan benchmark::benchmark)
target_compile_definitions(scan_bench PRIVATE VELLUMO_SOURCE_TREE="${PROJECT_SOURCE_DIR}")
if(TARGET vellumo_document)
    # The thumbnail is made by the windows' layer (Qt).
    target_link_libraries(scan_bench PRIVATE vellumo_document)
    target_compile_definitions(scan_bench PRIVATE VELLUMO_BENCH_THUMBNAIL)
endif()
