# Sourced by the end-to-end run and the start-up benchmark: a fresh home with the start-up options
# off, an Xvfb of its own on a free display (tests/support/xvfb_session.sh), and the clean-up of
# both at exit. Processes added to `pids` are ended at exit too.

# shellcheck source=../../support/xvfb_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/xvfb_session.sh"
if ! xvfb_session; then
  echo "FAIL: no Xvfb could be reached" >&2
  cat "$home/xvfb.log" >&2
  exit 1
fi
mkdir -p "$XDG_CONFIG_HOME/VEXO_Zud"
printf '[HKEY_LOCAL_MACHINE\\Software\\Tarvex_Int\\VK6Setings]\n"VKlstrt"="0"\n"VKlogo"="0"\n"VKldlg"="0"\n"VKrmdo"="0"\n' \
  >"$XDG_CONFIG_HOME/VEXO_Zud/registry.ini"

# Starts a program in the background (its output into the file named first) and waits until a
# visible window whose name matches appears; prints the window and sets `started` to the process id.
# A start that could not reach the display (it happens now and then on a loaded machine, to any Qt
# program) is tried once more; a program that ends otherwise, or no window in 30 s, fails.
start_and_wait() {
  local log=$1 name=$2 attempt win
  shift 2
  for attempt in 1 2; do
    "$@" >/dev/null 2>"$log" &
    started=$!
    pids+=($started)
    for _ in $(seq 1500); do
      win=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1) || true
      [ -n "$win" ] && echo "$win" && return 0
      kill -0 "$started" 2>/dev/null || break
      sleep 0.02
    done
    kill -0 "$started" 2>/dev/null && return 1
    grep -q "could not connect to display" "$log" || return 1
  done
  return 1
}

# Waits for a window whose name matches, and prints its id.
window() {
  timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1
}

# Ctrl+X in the main window (`main`, process `main_pid`): Yes to the exit question and to the offer to
# save when it comes, then the program's end. `leave_saving SHOT` takes a screenshot of the question
# through the script's `shot` when SHOT is given.
leave_saving() {
  xdotool windowfocus --sync "$main"
  xdotool key ctrl+x
  local box save
  box=$(window '^Çıkış\.\.\.$' 10) || true
  [ -n "$box" ] || fail "Ctrl+X did not ask to exit"
  [ -z "${1:-}" ] || shot "$1"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  if save=$(window '^Uyarı\.\.\.$' 5) && [ -n "$save" ]; then
    xdotool windowfocus --sync "$save"
    xdotool key Return
  fi
  for _ in $(seq 100); do kill -0 "$main_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$main_pid" 2>/dev/null; then fail "the program did not end after the exit question"; fi
  wait "$main_pid" || fail "the program ended with an error"
}
