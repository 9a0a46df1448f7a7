#!/usr/bin/env bash
# End to end: the grid harness under an Xvfb of its own (a free display), driven by xdotool: a click
# on a price cell, "12,5" typed and Enter, fourteen steps right (the grid scrolls sideways under its
# frozen name column), Home, and a typed key on an out-of-stock row. Checked: the stored edit as the
# owner normalised it, and that the out-of-stock row took nothing. Screenshots go to the output folder
# to be looked at.
#
#   grid_window.sh GRID_SHOW OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2

source "$(dirname "$0")/../../support/xvfb_session.sh"
window_script "$out"

stored=$out/stored.txt
"$program" 60 86 --stored "$stored" >"$out/program.log" 2>&1 &
pids+=($!)
grid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Izgara$' 2>/dev/null | head -n1) || true
[ -n "$grid" ] || fail "the grid window did not appear"
sleep 0.5
import -window root "$out/1-shown.png"

# Cells from the geometry the harness prints: row n's middle is caption + (n - 0.5) rows down, and
# the first price column starts right of the frozen name column.
for _ in $(seq 50); do grep -q '^geometry ' "$out/program.log" && break; sleep 0.1; done
read -r _ caption row frozen < <(grep '^geometry ' "$out/program.log") || fail "no geometry printed"
row_y() { echo $((caption + ($1 - 1) * row + row / 2)); }
price_x=$((frozen + 20))
xdotool mousemove --window "$grid" "$price_x" "$(row_y 1)" click 1
sleep 0.3
xdotool type --delay 60 "12,5"
xdotool key Return
sleep 0.3
for _ in $(seq 14); do xdotool key Right; done
sleep 0.3
import -window root "$out/2-scrolled.png"
xdotool key Home
sleep 0.3
import -window root "$out/3-home.png"

# Row 5 is out of stock: a typed key opens no edit there.
xdotool mousemove --window "$grid" "$price_x" "$(row_y 5)" click 1
sleep 0.3
xdotool type --delay 60 "7"
xdotool key Return
sleep 0.5
import -window root "$out/4-out-of-stock.png"

[ -f "$stored" ] || fail "no edit was stored"
expected="1 2 12.500"
[ "$(cat "$stored")" = "$expected" ] || fail "stored edits are '$(cat "$stored")', expected '$expected'"
echo "grid window: edit stored as '$expected', out-of-stock row untouched"
