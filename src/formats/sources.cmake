# Exchange formats: the tagged-export readers and the citation writers (logic only).
list(APPEND PAPYRANT_LOGIC_SOURCES
)
