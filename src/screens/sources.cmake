# The screen kit every working screen is built on: the registry and the working-screen
# base, the busy state and wait cursor, the tick driver of long work, picture buttons.
list(APPEND PAPYRANT_SCREEN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ScreenRegistry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkingScreen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BusyState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TickDriver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureButtons.cpp
)
