# Exchange formats: the tagged-export readers and the citation writers (logic only).
list(APPEND PAPYRANT_LOGIC_SOURCES
)
# Tagged exports read by their tags: grammars, the record cursor, detection, tag maps.
list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TaggedGrammar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MedlineGrammar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RisGrammar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WosGrammar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlainTagGrammar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TaggedRecordCursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatDetection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagVocabulary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadyTagMaps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagMapProposal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TagMapStore.cpp
)
