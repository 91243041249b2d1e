#!/bin/sh
# Runs a command with an X display: the caller's, or else a private Xvfb for just this run.
set -e
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$@"
