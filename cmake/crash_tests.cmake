# Programs the crash report test starts: DA3ZurFaults.exe, the program's own sources plus a fault
# trigger that only this test build carries, and a stand-in for the user's mail program.
add_executable(DA3ZurFaults WIN32 app/main_win.cpp app/DA3Zur.rc
               tests/programs/fault_trigger_win.cpp)
target_compile_options(DA3ZurFaults PRIVATE ${DA3_WARNINGS})
target_link_libraries(DA3ZurFaults PRIVATE da3)
target_link_options(DA3ZurFaults PRIVATE ${DA3_LINK_OPTIONS})

add_executable(mail_stand_in WIN32 tests/programs/mail_stand_in_win.cpp base/utf16.cpp)
target_include_directories(mail_stand_in PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(mail_stand_in PRIVATE ${DA3_WARNINGS})
target_link_options(mail_stand_in PRIVATE -static)

add_dependencies(crash_report_test DA3ZurFaults mail_stand_in)
