papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_HelpLayout)
papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_Help1)
