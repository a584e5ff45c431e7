list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/QueryComposition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SearchRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SearchItems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SearchSnapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Presentation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultEditing.cpp
)
qt_add_resources(PAPYRANT_SEARCH_ART ${CMAKE_CURRENT_LIST_DIR}/art/search_art.qrc)
list(APPEND PAPYRANT_SCREEN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CriteriaGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportToolBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultsTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManageTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ManageActions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputActions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportForm.cpp
  ${PAPYRANT_SEARCH_ART}
)
list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RtfWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultCopy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultDeletion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultCategory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultExport.cpp
)
