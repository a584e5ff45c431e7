papyrant_screen_tests(${CMAKE_CURRENT_LIST_DIR} tst_ScreenRegistry tst_KeyboardUse)

# The accessibility test: every screen walked over the accessibility bus, as a screen
# reader sees it, under a virtual display (Debian: xvfb, xauth, dbus-bin, at-spi2-core,
# python3-pyatspi, all installed by scripts/setup).
add_executable(screen_tour ${CMAKE_CURRENT_LIST_DIR}/screen_tour.cpp)
target_link_libraries(screen_tour PRIVATE papyrant_screen_test_support)
set_target_properties(screen_tour PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME tst_Accessibility
  COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session --
    ${CMAKE_CURRENT_LIST_DIR}/run_accessibility.sh $<TARGET_FILE:screen_tour> ${CMAKE_CURRENT_LIST_DIR}/walk_screens.py)
set_tests_properties(tst_Accessibility PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 180)
