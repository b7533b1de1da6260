# Bringing pages in: thumbnails of 50 A4 JPEGs and of a 100-page PDF (import_bench), the page
# viewer's time to its first picture (viewer_bench), and "LOAD PAGE" of the 50 JPEGs through
# the window's page list (window_load_bench).
add_library(vellumo_bench_pages STATIC ${CMAKE_CURRENT_LIST_DIR}/scan_like_page.cpp)
target_link_libraries(vellumo_bench_pages PUBLIC vellumo_imaging)
target_include_directories(vellumo_bench_pages PUBLIC ${CMAKE_CURRENT_LIST_DIR})
add_executable(import_bench ${CMAKE_CURRENT_LIST_DIR}/import_bench.cpp)
target_link_libraries(import_bench PRIVATE vellumo_pdf vellumo_bench_pages)
if(TARGET vellumo_viewer)
    add_executable(viewer_bench ${CMAKE_CURRENT_LIST_DIR}/viewer_bench.cpp)
    target_link_libraries(viewer_bench PRIVATE vellumo_viewer)
endif()
if(TARGET vellumo_mainwnd)
    add_executable(window_load_bench ${CMAKE_CURRENT_LIST_DIR}/window_load_bench.cpp)
    target_link_libraries(window_load_bench PRIVATE vellumo_mainwnd vellumo_editing
        vellumo_bench_pages)
endif()
