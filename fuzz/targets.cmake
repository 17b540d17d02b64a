# The fuzz targets: fuzz/fuzz_<name>.cpp each, with its seed corpus in
# fuzz/corpus/<name>/. Built as libFuzzer programs in the fuzz preset
# (fuzz/CMakeLists.txt) and as corpus replay tests everywhere the tests are
# built (tests/proof/CMakeLists.txt).
set(RIZUZ_FUZZ_TARGETS definitions init_file requests)
set(RIZUZ_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
