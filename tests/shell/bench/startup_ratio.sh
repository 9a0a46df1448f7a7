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

home=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/VEXO_Zud" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
printf '[HKEY_LOCAL_MACHINE\\Software\\Tarvex_Int\\VK6Setings]\n"VKlstrt"="0"\n"VKlogo"="0"\n"VKldlg"="0"\n"VKrmdo"="0"\n' \
  >"$XDG_CONFIG_HOME/VEXO_Zud/registry.ini"

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$home/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$home/display")

# Milliseconds from the start of the process until a visible window with the name is mapped.
time_to_window() {
  local name=$1; shift
  local t0 t1 pid
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  timeout 30 xdotool search --sync --onlyvisible --name "$name" >/dev/null
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
