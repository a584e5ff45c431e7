papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_OptionForm)
