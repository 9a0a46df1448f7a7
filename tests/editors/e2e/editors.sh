#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own opens a fixture problem, which shows the
# ingredient editor. xdotool types a new price for MISIR with a decimal comma, solves from the
# editor's tool bar, opens the nutrient and ratio editors from the navigation pane, closes the editor
# from its own menu and leaves with the exit and save questions answered Yes. Checked: the typed
# price in the saved problem (read back with python3-dbfread), the exit. Screenshots of each editor
# go to the output folder to be looked at.
#
#   editors.sh PROGRAM MAKE_FIXTURE OUTPUT_FOLDER SOURCE_DIR
set -euo pipefail
program=$1
make_fixture=$2
out=$3

# shellcheck source=../../shell/e2e/problem_session.sh
source "$4/tests/shell/e2e/problem_session.sh"

open_problem
xdotool windowmove --sync "$main" 0 0
xdotool windowsize --sync "$main" 1260 900
sleep 0.8
shot 1-ingredient-editor

# The ingredient editor has the focus on MISIR's name: one step right, a price with a comma, Enter.
xdotool windowfocus --sync "$main"
xdotool key --delay 120 Right 0 comma 3 5 Return
sleep 0.3
# The editor's tool bar stands in for the main window's: its tenth slot is "Çözüm".
xdotool mousemove --sync 237 38 click 1
sleep 1.5
shot 2-ingredient-solved

# The navigation pane opens the other two editors.
xdotool mousemove --sync 84 178 click 1
sleep 1
shot 3-nutrient-editor
xdotool mousemove --sync 84 313 click 1
sleep 1
shot 4-ratio-editor

# "&Pencere" > "Ka&pat..." closes the editor; then leave, saving the problem.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.5
leave_saving

/usr/bin/python3 - "$fixture" <<'PY' || fail "the saved problem does not hold the typed price"
import sys, dbfread
rows = {r['YMADI'].strip(): r for r in dbfread.DBF(sys.argv[1], encoding='cp1254', load=True) if r['YMADI'].strip()}
assert rows['MISIR']['YMFIAT'].strip() == '0.350', rows['MISIR']['YMFIAT']
PY
echo "end to end: price typed, solved, three editors shown, saved and left; screenshots in $out"
