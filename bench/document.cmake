# The page document: writing the journal of a long list after a change (document_bench), and the
# memory of a window's pages over cycles of loading, saving and clearing (page_memory_bench).
if(TARGET vellumo_output)
    add_executable(document_bench ${CMAKE_CURRENT_LIST_DIR}/document_bench.cpp)
    target_link_libraries(document_bench PRIVATE vellumo_document benchmark::benchmark)
    add_executable(page_memory_bench ${CMAKE_CURRENT_LIST_DIR}/page_memory_bench.cpp)
    target_link_libraries(page_memory_bench PRIVATE vellumo_editing vellumo_output)
endif()
