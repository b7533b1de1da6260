# The codec libraries behind the image file formats.
find_package(TIFF REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(ZLIB REQUIRED)
target_link_libraries(vellumo_imaging PUBLIC TIFF::TIFF JPEG::JPEG PNG::PNG GIF::GIF ZLIB::ZLIB)
