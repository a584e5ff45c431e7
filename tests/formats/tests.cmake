# Readers and writers of exchange formats, judged by independent readers where one exists.
papyrant_logic_tests(${CMAKE_CURRENT_LIST_DIR} tst_TagMaps
  tst_CitationWriters)
