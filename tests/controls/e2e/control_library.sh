#!/usr/bin/env bash
# End to end: the control-library demo under an Xvfb of its own, driven by xdotool. The first row
# holds OK buttons in the normal, hot, pressed, focused and disabled looks; each call of the
# dialog's PBTAMAM handler counts itself in the window title. Checked: a click calls once, Space and
# Enter on the focused button once each, a press dragged off and released calls nothing, a disabled
# button calls nothing. Screenshots go to the output folder to be looked at.
#
#   control_library.sh DEMO OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2

source "$(dirname "$0")/../../support/xvfb_session.sh"
window_script "$out"

"$program" classic >"$out/program.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Düğmeler$' 2>/dev/null | head -n1) || true
[ -n "$window" ] || fail "the demo window did not appear"
for _ in $(seq 50); do grep -q '^buttons ' "$out/program.log" && break; sleep 0.1; done
read -r _ normal _ _ _ disabled < <(grep '^buttons ' "$out/program.log") || fail "no button places printed"
sleep 0.3
import -window root "$out/1-shown.png"

expect_title() {
  local want=$1 title
  for _ in $(seq 30); do
    title=$(xdotool getwindowname "$window")
    [ "$title" = "$want" ] && return 0
    sleep 0.1
  done
  fail "$2: the title is '$title', expected '$want'"
}

xdotool mousemove --window "$window" "${normal%,*}" "${normal#*,}" click 1
expect_title "Tamam 1" "a click"
xdotool key space
expect_title "Tamam 2" "Space on the focused button"
xdotool key Return
expect_title "Tamam 3" "Enter on the focused button"
import -window root "$out/2-clicked.png"

# Pressed, dragged off and released outside: no call.
xdotool mousemove --window "$window" "${normal%,*}" "${normal#*,}" mousedown 1
sleep 0.2
xdotool mousemove --window "$window" 5 5
sleep 0.2
import -window root "$out/3-dragged-off.png"
xdotool mouseup 1
sleep 0.3
expect_title "Tamam 3" "a press dragged off"

xdotool mousemove --window "$window" "${disabled%,*}" "${disabled#*,}" click 1
sleep 0.3
expect_title "Tamam 3" "a disabled button"
echo "control library: click, Space and Enter called once each; drag-off and disabled called nothing"
