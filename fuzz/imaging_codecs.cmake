# Fuzzers for every image decoder and for the DIB decoder.
foreach(format tiff bmp jpeg png gif pcx tga dib)
    vellumo_add_fuzzer(fuzz_${format} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_${format}.cpp vellumo_imaging)
endforeach()
