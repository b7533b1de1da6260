# Peak memory of loading and of making a PDF page of every file of the image corpus, against
# the size of the decoded picture (bench/image_memory.sh).
add_executable(image_memory_probe ${CMAKE_CURRENT_SOURCE_DIR}/image_memory_probe.cpp)
target_link_libraries(image_memory_probe PRIVATE vellumo_imaging vellumo_platform_core)
