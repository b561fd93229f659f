find_package(Qt6 REQUIRED COMPONENTS Test)
orlix_test(core_chooser_tests SOURCES choosecontact_test.cpp contactlookup_test.cpp
  contacthistorytabs_test.cpp DEPS Qt6::Test)
