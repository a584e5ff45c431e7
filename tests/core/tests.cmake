papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_RecordSet)
