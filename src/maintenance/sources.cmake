list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RepeatedRecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScanRecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoRemoveOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoRemoveRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RepeatedPairReview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Cleanup.cpp
)
list(APPEND PAPYRANT_SCREEN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MaintOptionForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RepeatedRecordsTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MaintenanceForm.cpp
)
