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
  local name=$1 t0 t1
  shift
  t0=$(date +%s%N)
  start_and_wait "$home/program.err" "$name" "$@" >/dev/null || {
    echo "no window '$name'; the program said:" >&2
    cat "$home/program.err" >&2
    exit 1
  }
  t1=$(date +%s%N)
  kill "$started" 2>/dev/null || true
  wait "$started" 2>/dev/null || true
  echo $(((t1 - t0) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

time_to_window '^VEXO_Zud' "$program" >/dev/null # the first start sets the home up
time_to_window '^bare main window$' "$bare" >/dev/null
program_ms=$(for _ in $(seq "$runs"); do time_to_window '^VEXO_Zud' "$program"; done | median)
bare_ms=$(for _ in $(seq "$runs"); do time_to_window '^bare main window$' "$bare"; done | median)
echo "time to the shown window (median of $runs): program ${program_ms} ms, bare QMainWindow ${bare_ms} ms"
awk -v p="$program_ms" -v b="$bare_ms" 'BEGIN {printf "ratio %.2f\n", p / b}'
