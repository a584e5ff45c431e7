papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_QueryComposition tst_SearchRun)
papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_CriteriaGrid)
papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_ResultOutput)
