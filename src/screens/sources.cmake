# The screen kit every working screen is built on: the registry and the working-screen
# base, the busy state and wait cursor, the tick driver of long work, picture buttons,
# window placement, scrolling forms and fitted boxes, and what every window gets for the
# keyboard and screen readers (ScreenKit, AccessibleNames, ReadingOrder,
# FocusRingStyle).
list(APPEND PAPYRANT_SCREEN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ScreenRegistry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkingScreen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BusyState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TickDriver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureButtons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrollingForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FittedTextBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenKit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AccessibleNames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadingOrder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FocusRingStyle.cpp
)
