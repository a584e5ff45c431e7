#!/bin/sh
# The accessibility test: the screen tour under a virtual X display with its own session
# bus and accessibility bus, walked by walk_screens.py. Started by CTest as
#   xvfb-run -a dbus-run-session -- run_accessibility.sh <screen_tour> <walk_screens.py>
# Qt joins the accessibility bus only when asked to, as no desktop asks it here.
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill $launcher 2>/dev/null' EXIT
# The bus launcher registers itself on the session bus; the walker waits for the program.
timeout 120 /usr/bin/python3 "$2" "$1"
