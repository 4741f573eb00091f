#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program with its window and starts it in its program
# folder build/Zorvel/, which holds the delivered sample data on the first build.
# Without a display the program runs under xvfb-run (a virtual screen); end it with Ctrl+C.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
configure_and_build build -DZORVEL_GUI=ON
program="$ZORVEL_ROOT/build/Zorvel/zorvel"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  say "Starting $program"
  exec "$program"
fi
say "No display: starting $program under xvfb-run"
echo "The window is drawn on a virtual screen nobody sees; end it with Ctrl+C."
echo "To see it, run this on a desktop session, or use e.g. ssh -X."
exec xvfb-run -a "$program"
