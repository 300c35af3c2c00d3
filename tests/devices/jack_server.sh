#!/bin/sh
# Starts and stops the JACK dummy servers of the device tests (a CTest fixture). No sound card
# is needed: the dummy driver runs the JACK clock in real time.
#   jack_server.sh start STATE_DIR NAME RATE [NAME RATE ...]
#   jack_server.sh stop STATE_DIR
# JACK_PERIOD sets the frames per period (1024 by default).
set -eu
period=${JACK_PERIOD:-1024}
action=$1
state=$2
shift 2

stop_server() {
  pid=$(cat "$1")
  kill "$pid" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$1"
}

case $action in
start)
  mkdir -p "$state"
  # A server left behind by an interrupted run would keep its name taken.
  for pidfile in "$state"/*.pid; do
    [ -f "$pidfile" ] && stop_server "$pidfile"
  done
  while [ $# -ge 2 ]; do
    jackd --no-realtime -n "$1" -d dummy -r "$2" -p "$period" >"$state/$1.log" 2>&1 &
    echo $! >"$state/$1.pid"
    if ! jack_wait -s "$1" -w -t 10 >/dev/null 2>&1; then
      echo "The JACK server $1 did not start:" >&2
      cat "$state/$1.log" >&2
      exit 1
    fi
    shift 2
  done
  ;;
stop)
  for pidfile in "$state"/*.pid; do
    [ -f "$pidfile" ] && stop_server "$pidfile"
  done
  ;;
*)
  echo "usage: $0 start|stop STATE_DIR [NAME RATE ...]" >&2
  exit 2
  ;;
esac
