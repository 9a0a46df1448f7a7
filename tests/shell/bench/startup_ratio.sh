#!/usr/bin/env bash
# Time from the start of the process to its shown main window, the program against a bare
# QMainWindow program, under an Xvfb of its own. Run by hand from a Release build:
#
#   tests/shell/bench/startup_ratio.sh build/rel/bin/VEXO_Zud build/rel/tests/shell/bare_main_window [RUNS]
#
# The program starts with a fresh home and the start-up options off (a first start sets the home up
# and is not counted). Prints the median of each and their ratio.
set -euo pipefail
program=$1
bare=$2
runs=${3:-15}

# shellcheck source=../e2e/session.sh
source "$(dirname "$0")/../e2e/session.sh"

# Milliseconds from the start of the process until a visible window with the name is mapped.
time_to_window() {
  local name=$1; shift
  local t0 t1 pid
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  # xdotool's own --sync polls twice a second; a tight loop measures finer.
  local deadline=$((t0 + 30000000000))
  until xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; do
    if [ "$(date +%s%N)" -gt "$deadline" ]; then
      echo "no window '$name' within 30 s; windows:" >&2
      xdotool search --name . getwindowname %@ >&2 2>/dev/null || true
      kill "$pid" 2>/dev/null || true
      exit 1
    fi
    sleep 0.005
  done
  t1=$(date +%s%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo $(((t1 - t0) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

time_to_window '^VEXO_Zud' "$program" >/dev/null # the first start sets the home up
time_to_window '^bare main window$' "$bare" >/dev/null
program_ms=$(for _ in $(seq "$runs"); do time_to_window '^VEXO_Zud' "$program"; done | median)
bare_ms=$(for _ in $(seq "$runs"); do time_to_window '^bare main window$' "$bare"; done | median)
echo "time to the shown window (median of $runs): program ${program_ms} ms, bare QMainWindow ${bare_ms} ms"
awk -v p="$program_ms" -v b="$bare_ms" 'BEGIN {printf "ratio %.2f\n", p / b}'
