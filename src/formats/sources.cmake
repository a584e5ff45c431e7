# Exchange formats: the tagged-export readers and the citation writers (logic only).
list(APPEND PAPYRANT_LOGIC_SOURCES
)
# Citation writers: RIS, BibTeX and CSL-JSON over stored records, and the export file.
list(APPEND PAPYRANT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FieldSplitting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RisWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BibTexWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CslJsonWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CitationExport.cpp
)
