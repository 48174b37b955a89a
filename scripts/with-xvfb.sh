#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb on a free display number, then stops that server.
#   scripts/with-xvfb.sh COMMAND [ARGS...]
# -noreset keeps the server alive between clients; -ardelay 10000 stops held keys from repeating. The screen is
# 1024x768x24 unless XVFB_SCREEN names another (e.g. 2048x1536x24, room for a window at --scale 3).
set -uo pipefail
[[ $# -gt 0 ]] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

xvfb_pid=""
stop() { [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; }
trap stop EXIT

for n in $(seq 90 250); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset -ardelay 10000 >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    # Only a server whose lock file names our Xvfb is ours: another one may have won the race for :N.
    lock_pid=$(cat "/tmp/.X$n-lock" 2>/dev/null | tr -d ' ' || true)
    if [[ "$lock_pid" == "$xvfb_pid" ]] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      DISPLAY=":$n" "$@"
      exit $?
    fi
    sleep 0.1
  done
  stop
  xvfb_pid=""
done
echo "with-xvfb: could not start Xvfb" >&2
exit 1
