list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RepeatedRecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoRemoveOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutoRemoveRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RepeatedPairReview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Cleanup.cpp
)
