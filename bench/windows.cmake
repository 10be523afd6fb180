# The main window's benchmarks under Wine, on Google Benchmark built from its Debian source
# (scripts/fetch-benchmark-source.sh puts it in build/deps/benchmark).
set(QUENDA_BENCHMARK_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps/benchmark" CACHE PATH
    "Google Benchmark sources")
if(NOT EXISTS "${QUENDA_BENCHMARK_SOURCE_DIR}/CMakeLists.txt")
  message(STATUS "No Google Benchmark sources at ${QUENDA_BENCHMARK_SOURCE_DIR}: no Windows benchmarks")
  return()
endif()
set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_GTEST_TESTS OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_WERROR OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUENDA_BENCHMARK_SOURCE_DIR} ${CMAKE_BINARY_DIR}/deps/benchmark EXCLUDE_FROM_ALL)
target_compile_options(benchmark PRIVATE -w)

add_executable(quenda_win_bench ${CMAKE_CURRENT_LIST_DIR}/main_window_bench.cpp
               ${PROJECT_SOURCE_DIR}/src/resources/quenda.rc)
target_link_libraries(quenda_win_bench PRIVATE quenda_app benchmark::benchmark)
target_link_options(quenda_win_bench PRIVATE -static)

add_executable(quenda_capture_bench ${CMAKE_CURRENT_LIST_DIR}/capture_bench.cpp)
target_include_directories(quenda_capture_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(quenda_capture_bench PRIVATE quenda_app benchmark::benchmark)
target_link_options(quenda_capture_bench PRIVATE -static)
if(TARGET fake_browser)
  add_dependencies(quenda_capture_bench fake_browser)
endif()
