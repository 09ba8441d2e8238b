# Benchmark programs, run by scripts/bench_*.sh (not by CTest).
add_executable(trivial_gui WIN32 ${CMAKE_SOURCE_DIR}/bench/trivial_gui.cpp)
target_compile_options(trivial_gui PRIVATE ${DA3_WARNINGS})
target_link_options(trivial_gui PRIVATE ${DA3_LINK_OPTIONS})

foreach(name sorter_bench editor_bench)
  add_executable(${name} ${CMAKE_SOURCE_DIR}/bench/${name}.cpp)
  target_link_libraries(${name} PRIVATE win_test_support psapi)
  target_compile_options(${name} PRIVATE ${DA3_WARNINGS})
  target_link_options(${name} PRIVATE ${DA3_LINK_OPTIONS})
  add_dependencies(${name} DA3Zur trivial_gui)
endforeach()
