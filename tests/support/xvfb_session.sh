# Sourced by every script that drives real windows. `xvfb_session [DIR]` gives the script a fresh home
# (HOME and the XDG folders, QT_QPA_PLATFORM unset, a UTF-8 locale) and an Xvfb of its own on a free
# display (DISPLAY exported; Xvfb's output in DIR/xvfb.log, the home by default), and ends every
# process in `pids` (latest first, so the display goes last) and removes the home when the script
# exits. Answers 1 when no display could be reached.
xvfb_session() {
  home=$(mktemp -d)
  pids=()
  trap xvfb_session_end EXIT
  local dir=${1:-$home}
  export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM
  # Turkish window names reach xdotool intact only in a UTF-8 locale (the test command may run in C).
  export LC_ALL=C.UTF-8

  # A free number far above the ones people start by hand (low numbers, :0 first, come and go with
  # other sessions' servers, and a client may reach one of those through the abstract socket); the
  # server's own lock decides whether it is free, and a client must reach it before it counts.
  local n display=
  for n in $(shuf -i 300-899 -n 20); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp 2>"$dir/xvfb.log" &
    pids+=($!)
    for _ in $(seq 50); do
      kill -0 "${pids[-1]}" 2>/dev/null || break # taken meanwhile: the server gave up
      DISPLAY=:$n xdotool getmouselocation >/dev/null 2>&1 && display=$n && break
      sleep 0.1
    done
    [ -n "$display" ] && break
  done
  [ -n "$display" ] || return 1
  export DISPLAY=:$display
}

xvfb_session_end() {
  local status=$?
  # The programs first, the display last, so no program sees its display go.
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
  # In the sanitizer build a program that was ended by the script could have reported a fault that
  # no check of the script saw: any report in a program's log fails the run.
  local log
  for log in "${out:-/nonexistent}"/*.log; do
    [ -f "$log" ] || continue
    if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error: ' "$log"; then
      echo "FAIL: a sanitizer reported a fault in $log" >&2
      sed 's/^/program: /' "$log" >&2
      status=1
    fi
  done
  exit "$status"
}

# The start of an end-to-end script: `fail` reports (with the program's log, OUT/program.log) and
# ends the script; `prepare_output OUT` checks the tools and empties OUT; `window_script OUT` does
# that and opens the session there.
fail() {
  echo "FAIL: $*" >&2
  [ -f "$out/program.log" ] && sed 's/^/program: /' "$out/program.log" >&2
  exit 1
}

prepare_output() {
  out=$1
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/deps.sh installs it)"
  done
  rm -rf "$out"
  mkdir -p "$out"
}

window_script() {
  prepare_output "$1"
  xvfb_session "$out" || { cat "$out/xvfb.log" >&2; fail "no Xvfb could be reached"; }
}
