# Windows tests: one GoogleTest program per file in tests/windows, run by CTest through Wine.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Paths as the Windows side sees them (Wine maps the Linux root to drive Z:).
function(windows_path out path)
  string(REPLACE "/" "\\\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
windows_path(WIN_BINARY_DIR ${CMAKE_BINARY_DIR})
windows_path(WIN_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(FIXTURE_DIR ${CMAKE_SOURCE_DIR}/build/fixtures CACHE PATH "Generated audio files")
windows_path(WIN_FIXTURE_DIR ${FIXTURE_DIR})

enable_testing()
file(GLOB support_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(win_test_support STATIC ${support_sources})
target_link_libraries(win_test_support PUBLIC da3 gtest)
target_compile_options(win_test_support PRIVATE ${DA3_WARNINGS})
target_compile_definitions(win_test_support PUBLIC
  DA3_TEST_BINARY_DIR="${WIN_BINARY_DIR}" DA3_TEST_SOURCE_DIR="${WIN_SOURCE_DIR}"
  DA3_TEST_FIXTURE_DIR="${WIN_FIXTURE_DIR}")

file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*_test.cpp)
foreach(source ${test_sources})
  get_filename_component(name ${source} NAME_WE)
  # The program's resources, its manifest among them: windows are tested with the common controls
  # the program gets.
  add_executable(${name} ${source} app/DA3Zur.rc)
  target_link_libraries(${name} PRIVATE win_test_support gtest_main)
  target_compile_options(${name} PRIVATE ${DA3_WARNINGS})
  target_link_options(${name} PRIVATE ${DA3_LINK_OPTIONS})
  add_dependencies(${name} DA3Zur)
  if(name STREQUAL "cover_e2e_test")
    # Its saves are read back by an independent reader (Debian's python3-mutagen) as well.
    add_test(NAME ${name} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_cover_saves.sh
                                  $<TARGET_FILE:${name}> ${FIXTURE_DIR})
  elseif(name STREQUAL "names_e2e_test")
    add_test(NAME ${name} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_name_saves.sh
                                  $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  # Wine takes the ANSI code page from the Unix locale: this program runs as on a Russian Windows.
  if(name STREQUAL "cyrillic_code_page_test")
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "LANG=ru_RU.UTF-8;LC_ALL=ru_RU.UTF-8")
  endif()
endforeach()

# One-field saves read back by an independent reader (Debian's python3-mutagen).
add_executable(save_field tests/programs/save_field_win.cpp)
target_link_libraries(save_field PRIVATE da3)
target_compile_options(save_field PRIVATE ${DA3_WARNINGS})
target_link_options(save_field PRIVATE ${DA3_LINK_OPTIONS})
add_test(NAME one_field_saves_read_by_mutagen
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check_one_field_saves.sh
                 $<TARGET_FILE:save_field> ${FIXTURE_DIR})
set_tests_properties(one_field_saves_read_by_mutagen PROPERTIES TIMEOUT 600)

# The window "Tags from file names" alone, for the README's picture (scripts/screenshots.sh).
add_executable(show_names_window tests/programs/show_names_window_win.cpp app/DA3Zur.rc)
target_link_libraries(show_names_window PRIVATE da3)
target_compile_options(show_names_window PRIVATE ${DA3_WARNINGS})
target_link_options(show_names_window PRIVATE ${DA3_LINK_OPTIONS} -municode)
include(cmake/bench.cmake)
