#!/bin/sh
# Starts and stops the JACK dummy servers of the device tests (a CTest fixture). No sound card
# is needed: the dummy driver runs the JACK clock in real time.
#   jack_server.sh start STATE_DIR NAME RATE [NAME RATE ...]
#   jack_server.sh stop STATE_DIR
# JACK_PERIOD sets the frames per period (1024 by default). ZELMAR_JACK_RECLAIM names the
# program that frees the registry entries of servers that died elsewhere
# (tests/devices/jack_registry_reclaim.cpp); JACK's registry holds eight servers, and such
# entries would otherwise refuse every new one with "Too many servers already active".
set -eu
period=${JACK_PERIOD:-1024}
# How long a server waits for the registry to have room for it: servers of other test runs
# end and give theirs back.
registry_wait=${JACK_REGISTRY_WAIT:-60}
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

reclaim_registry() {
  if [ -n "${ZELMAR_JACK_RECLAIM:-}" ]; then "$ZELMAR_JACK_RECLAIM" >&2 || true; fi
}

# Starts server $1 at rate $2; 0 when it answers, 1 when it failed, 2 when the registry had no
# room for it.
start_server() {
  jackd --no-realtime -n "$1" -d dummy -r "$2" -p "$period" >"$state/$1.log" 2>&1 &
  pid=$!
  echo $pid >"$state/$1.pid"
  for _ in $(seq 40); do
    [ "$(jack_wait -s "$1" -c 2>/dev/null)" = running ] && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      rm -f "$state/$1.pid"
      grep -q "Too many servers" "$state/$1.log" && return 2
      return 1
    fi
    sleep 0.25
  done
  stop_server "$state/$1.pid"
  return 1
}

case $action in
start)
  mkdir -p "$state"
  # A server left behind by an interrupted run would keep its name taken.
  for pidfile in "$state"/*.pid; do
    [ -f "$pidfile" ] && stop_server "$pidfile"
  done
  reclaim_registry
  while [ $# -ge 2 ]; do
    waited=0
    while :; do
      result=0
      start_server "$1" "$2" || result=$?
      [ "$result" -eq 0 ] && break
      if [ "$result" -eq 2 ] && [ "$waited" -lt "$registry_wait" ]; then
        reclaim_registry
        sleep 2
        waited=$((waited + 2))
        continue
      fi
      echo "The JACK server $1 did not start:" >&2
      cat "$state/$1.log" >&2
      exit 1
    done
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
