# Bringing pages in: thumbnails of 50 A4 JPEGs and of a 100-page PDF (import_bench), and the
# page viewer's time to its first picture (viewer_bench).
add_executable(import_bench ${CMAKE_CURRENT_LIST_DIR}/import_bench.cpp)
target_link_libraries(import_bench PRIVATE vellumo_pdf)
if(TARGET vellumo_viewer)
    add_executable(viewer_bench ${CMAKE_CURRENT_LIST_DIR}/viewer_bench.cpp)
    target_link_libraries(viewer_bench PRIVATE vellumo_viewer)
endif()
