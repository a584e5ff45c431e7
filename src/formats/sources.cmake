# Exchange formats (logic only): the tagged-export readers and the citation writers.
list(APPEND PAPYRANT_LOGIC_SOURCES
  # Tagged exports read by their tags: grammars, the record cursor, detection, tag maps.
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
  # Citation writers: RIS, BibTeX and CSL-JSON over stored records, and the export file.
  ${CMAKE_CURRENT_LIST_DIR}/FieldSplitting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RisWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BibTexWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CslJsonWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationExport.cpp
)
