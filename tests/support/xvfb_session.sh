# Sourced by the scripts that drive real windows. `xvfb_session [DIR]` gives the script a fresh home
# (HOME and the XDG folders, QT_QPA_PLATFORM unset) and an Xvfb of its own on a free display
# (DISPLAY exported; the number and Xvfb's output in DIR, the home by default), and ends every process
# in `pids` (latest first) and removes the home when the script exits. Answers 1 when Xvfb did not
# start.
xvfb_session() {
  home=$(mktemp -d)
  pids=()
  trap xvfb_session_end EXIT
  local dir=${1:-$home}
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$dir/display" 2>"$dir/xvfb.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
  [ -s "$dir/display" ] || return 1
  export DISPLAY=:$(head -n1 "$dir/display")
}

xvfb_session_end() {
  # The programs first, the display last, so no program sees its display go.
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}

# The start of an end-to-end script: `fail` reports (with the program's log, OUT/program.log) and
# ends the script; `window_script OUT` checks the tools, empties OUT and opens the session there.
fail() {
  echo "FAIL: $*" >&2
  [ -f "$out/program.log" ] && sed 's/^/program: /' "$out/program.log" >&2
  exit 1
}

window_script() {
  out=$1
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/deps.sh installs it)"
  done
  rm -rf "$out"
  mkdir -p "$out"
  xvfb_session "$out" || fail "Xvfb did not start"
}
