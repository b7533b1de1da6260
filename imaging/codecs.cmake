# The codec libraries behind the image file formats.
find_package(TIFF REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(ZLIB REQUIRED)
target_link_libraries(vellumo_imaging PUBLIC TIFF::TIFF JPEG::JPEG PNG::PNG GIF::GIF ZLIB::ZLIB)
# libjpeg-turbo's transform interface: photos turned upright without decoding them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
target_link_libraries(vellumo_imaging PUBLIC PkgConfig::TURBOJPEG)
