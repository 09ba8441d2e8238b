# The Windows build: the program, and (with DA3_WINDOWS_TESTS) its tests run under Wine.
enable_language(RC)
option(DA3_WINDOWS_TESTS "Build the Windows tests" OFF)

set(TAGLIB_PREFIX ${CMAKE_SOURCE_DIR}/build/deps/taglib-${CMAKE_SYSTEM_PROCESSOR}
    CACHE PATH "TagLib built for this architecture")
# A large stack reserve: TagLib recurses into nested atoms without limit.
set(DA3_LINK_OPTIONS -static -Wl,--stack,67108864)

add_library(da3 STATIC ${DA3_CORE_SOURCES} ${DA3_WIN_SOURCES})
target_include_directories(da3 PUBLIC ${CMAKE_SOURCE_DIR} ${TAGLIB_PREFIX}/include)
target_compile_definitions(da3 PUBLIC TAGLIB_STATIC NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_options(da3 PRIVATE ${DA3_WARNINGS})
target_link_libraries(da3 PUBLIC ${TAGLIB_PREFIX}/lib/libtag_c.a ${TAGLIB_PREFIX}/lib/libtag.a
                      comctl32 comdlg32 shell32 ole32 uuid windowscodecs advapi32 gdi32 user32)

add_executable(DA3Zur WIN32 app/main_win.cpp app/DA3Zur.rc)
target_compile_options(DA3Zur PRIVATE ${DA3_WARNINGS})
target_link_libraries(DA3Zur PRIVATE da3)
target_link_options(DA3Zur PRIVATE ${DA3_LINK_OPTIONS})

# What a Windows user downloads: the executable, the catalogs and the installation notes.
file(GLOB DA3_CATALOGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/catalogs/*.catalog)
set(DA3_ZIP_FILES DA3Zur.exe INSTALL.txt)
foreach(catalog ${DA3_CATALOGS})
  configure_file(${catalog} ${CMAKE_BINARY_DIR} COPYONLY)
  get_filename_component(name ${catalog} NAME)
  list(APPEND DA3_ZIP_FILES ${name})
endforeach()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")  # the 32-bit build is the product
  configure_file(docs/INSTALL.txt ${CMAKE_BINARY_DIR} COPYONLY)
  add_custom_command(OUTPUT DA3Zur-1.0.zip
                     COMMAND ${CMAKE_COMMAND} -E tar cf DA3Zur-1.0.zip --format=zip ${DA3_ZIP_FILES}
                     DEPENDS DA3Zur ${DA3_CATALOGS} docs/INSTALL.txt
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                     COMMENT "Packing DA3Zur-1.0.zip")
  add_custom_target(download_zip ALL DEPENDS DA3Zur-1.0.zip)
endif()

if(DA3_WINDOWS_TESTS)
  include(cmake/windows_tests.cmake)
  include(cmake/crash_tests.cmake)
endif()
