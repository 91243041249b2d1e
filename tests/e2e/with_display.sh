#!/bin/sh
# with_display.sh STATE COMMAND...: runs a command with an X display, the caller's or else
# an Xvfb shared by the runs that name the same STATE path prefix, started on first use.
#
# Xvfb is never killed: a Wine session outlives the test that started it, and its
# explorer, cut off from its display, can hang the session. Started with -terminate, it
# ends by itself a few seconds after its last client; a client of our own holds it for
# the length of this run.
set -eu
state=$1
shift

keeper=""
hold() {
  xprop -display ":$1" -root -spy >/dev/null 2>&1 9>&- &
  keeper=$!
  sleep 0.3
  kill -0 "$keeper" 2>/dev/null
}

if [ -z "${DISPLAY:-}" ]; then
  exec 9>"$state.lock"
  flock 9
  number=$(cat "$state.display" 2>/dev/null || true)
  if [ -z "$number" ] || ! hold "$number"; then
    fifo="$state.fifo"
    rm -f "$fifo"
    mkfifo "$fifo"
    setsid Xvfb -displayfd 3 -terminate 3 -nolisten tcp -screen 0 1024x768x24 \
      3>"$fifo" 9>&- </dev/null >/dev/null 2>&1 &
    read -r number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ] || ! hold "$number"; then
      echo "with_display.sh: Xvfb did not start" >&2
      exit 1
    fi
    echo "$number" >"$state.display"
  fi
  exec 9>&-
  DISPLAY=":$number"
  export DISPLAY
fi

status=0
"$@" || status=$?
[ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true
exit "$status"
