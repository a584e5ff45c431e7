list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/RecordModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LikeMatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FastDeletion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeyList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataBinding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DistinctValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BibliographyCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BibliographyFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Captions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommonPrompts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Prompts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
)
