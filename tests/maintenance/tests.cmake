papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_Maintenance)
papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_MaintenanceForm)
