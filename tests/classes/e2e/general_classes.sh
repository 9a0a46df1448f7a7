#!/usr/bin/env bash
# End to end: the general-classes demo under an Xvfb of its own, driven by xdotool. Checked: the
# painted client area shows the gradient's top colour; the mouse-tracking window tells the reporting
# label when the mouse enters and leaves it; a click on the hyperlink text opens its caption; a double
# click on a list-box row hands the row's value to the owner (shown in the title). Screenshots go to
# the output folder to be looked at.
#
#   general_classes.sh DEMO OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2

source "$(dirname "$0")/../../support/xvfb_session.sh"
window_script "$out"
command -v convert >/dev/null || fail "convert is missing (tools/deps.sh installs ImageMagick)"

"$program" >"$out/program.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Genel Sınıflar$' 2>/dev/null | head -n1) || true
[ -n "$window" ] || fail "the demo window did not appear"
for _ in $(seq 50); do grep -q '^row2=' "$out/program.log" && break; sleep 0.1; done
read -r _ list link label < <(grep '^places ' "$out/program.log") || fail "no places printed"
read -r row2 client < <(grep '^row2=' "$out/program.log") || fail "no row printed"
list=${list#list=}; link=${link#link=}; label=${label#label=}; row2=${row2#row2=}; client=${client#client=}
sleep 0.3
import -window root "$out/1-shown.png"

# The client area's top row, right of the child window: the gradient's top colour (cyan).
eval "$(xdotool getwindowgeometry --shell "$window")"
px=$((X + ${client%,*} + WIDTH - 20))
py=$((Y + ${client#*,}))
colour=$(convert "$out/1-shown.png" -format "%[hex:p{$px,$py}]" info:)
[ "${colour:0:6}" = "00FFFF" ] || fail "the client area's top shows $colour, expected cyan"

expect_line() {
  for _ in $(seq 30); do
    grep -qx "$1" "$out/program.log" && return 0
    sleep 0.1
  done
  fail "$2: no line '$1'"
}

xdotool mousemove --window "$window" "${label%,*}" "${label#*,}"
expect_line "enter label" "the mouse over the label"
xdotool mousemove --window "$window" "${link%,*}" "${link#*,}"
expect_line "exit label" "the mouse off the label"
import -window root "$out/2-over-link.png"
xdotool click 1
expect_line "open https://example.invalid/vexo" "a click on the hyperlink text"

xdotool mousemove --window "$window" "${row2%,*}" "${row2#*,}" click --repeat 2 --delay 80 1
for _ in $(seq 30); do
  [ "$(xdotool getwindowname "$window")" = "Seçilen: SOYA" ] && break
  sleep 0.1
done
[ "$(xdotool getwindowname "$window")" = "Seçilen: SOYA" ] || fail "a double click on a row: title '$(xdotool getwindowname "$window")'"
import -window root "$out/3-double-clicked.png"
echo "general classes: gradient shown; enter and exit reported; link opened; row value handed over"
