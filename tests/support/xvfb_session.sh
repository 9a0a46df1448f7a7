# Sourced by the scripts that drive real windows. `xvfb_session [DIR]` gives the script a fresh home
# (HOME and the XDG folders, QT_QPA_PLATFORM unset) and an Xvfb of its own on a free display
# (DISPLAY exported; the number and Xvfb's output in DIR, the home by default), and ends every process
# in `pids` and removes the home when the script exits. Answers 1 when Xvfb did not start.
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
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
