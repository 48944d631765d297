#!/usr/bin/env bash
# Starts the application when a display is available; says how to start it otherwise.
set -eu
app="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display: start it with  xvfb-run -a $app  or run 'make run' from a desktop session."
    exit 0
fi
exec "$app"
