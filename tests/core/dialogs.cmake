find_package(Qt6 REQUIRED COMPONENTS Test)
orlix_test(core_dialog_tests SOURCES goodinputbox_test.cpp datepicker_test.cpp contacthistory_test.cpp contactchoiceline_test.cpp DEPS Qt6::Test)
