# Mail: composing a message with a scanned-PDF-sized attachment (speed and peak memory).
add_executable(mail_bench ${CMAKE_CURRENT_LIST_DIR}/mail_bench.cpp)
target_link_libraries(mail_bench PRIVATE vellumo_mail benchmark::benchmark_main)
