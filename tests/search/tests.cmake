papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_QueryComposition tst_TrigramSearch
  tst_ResultManagement)
papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_CriteriaGrid tst_ReportForm
  tst_ResultExport)
