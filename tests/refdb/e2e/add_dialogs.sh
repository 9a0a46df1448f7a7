#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own opens the shell's fixture problem beside a
# small reference database. From the ingredient editor's menu "Yem Maddesi Ekle" opens; xdotool
# chooses the group MINERAL, searches "t", ticks every row and adds them. From the nutrient editor's
# menu "Besin Maddesi Ekleme Diyaloğu" opens; CA and P are ticked with the space key and added. The
# program leaves saving, and the saved problem must hold the new ingredients and the reference
# contents of the new nutrients. Screenshots go to the output folder to be looked at.
#
#   add_dialogs.sh PROGRAM MAKE_FIXTURE MAKE_REFERENCE OUTPUT_FOLDER
set -euo pipefail
program=$1
make_fixture=$2
make_reference=$3
out=$4

# shellcheck source=../../shell/e2e/problem_session.sh
source "$(dirname "$0")/../../shell/e2e/problem_session.sh"

HOME=$home "$make_reference" "$home/Documents/VEXO_Rir26 Veriler" || fail "the reference tables could not be written"
open_problem

menu_command() { # the active editor's "Y&azım" menu, then the item's mnemonic
  xdotool windowfocus --sync "$main"
  xdotool key --delay 200 alt+a
  sleep 0.4
  xdotool key "$1"
}

# The ingredient editor opened with the problem: "Y&azım" > "Yem Maddesi &Ekle".
menu_command e
dialog=$(window '^Yem Maddesi Ekle$') || true
[ -n "$dialog" ] || fail "the add-ingredients dialog did not appear"
sleep 0.5
shot 1-ingredients-prompt
# The grid has the focus: Shift+Tab reaches the group combo, Down chooses "HEPSİ" and gives the focus
# back to the list; again Shift+Tab and End choose the last group, MINERAL.
xdotool key --delay 300 shift+Tab Down
sleep 0.5
shot 2-ingredients-all
xdotool key --delay 300 shift+Tab End
sleep 0.5
# A typed letter opens the search; Enter finds TUZ.
xdotool key --delay 200 t Return
sleep 0.3
shot 3-ingredients-search
# Escape closes the search; Tab reaches "H. Seç ", whose space ticks every row and gives the focus
# back to the list; three Tabs reach "Ekle ".
xdotool key --delay 250 Escape Tab space
sleep 0.3
shot 4-ingredients-ticked
xdotool key --delay 250 Tab Tab Tab space
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Yem Maddesi Ekle$' >/dev/null 2>&1 || break; sleep 0.1; done
sleep 0.5
shot 5-ingredients-added

# "&Pencere" > "Ka&pat..." closes the ingredient editor; Ctrl+B opens the nutrient editor.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.8
xdotool windowfocus --sync "$main"
xdotool key ctrl+b
sleep 1
menu_command e
dialog=$(window '^Besin Maddesi Ekleme Diyaloğu$') || true
[ -n "$dialog" ] || fail "the add-nutrients dialog did not appear"
sleep 0.5
# The list starts on KM; CA and P are the fourth and fifth definitions.
xdotool key --delay 200 Down Down Down space Down space
sleep 0.3
shot 6-nutrients-ticked
xdotool key --delay 250 Tab Tab Tab space
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Besin Maddesi Ekleme' >/dev/null 2>&1 || break; sleep 0.1; done
sleep 0.5
shot 7-nutrients-added
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.8

leave_saving 8-exit-question
saved=$(tr -s ' ' <"$fixture")
for text in "MERMER TOZU 0.050" "TUZ 0.080" "TCA % " "TP % " \
            "0.0200, 0.2900, 0.1300, 24.0000, 38.0000, ," "0.2800, 0.6500, 1.1300, 18.0000, , ,"; do
  grep -aqF "$text" <<<"$saved" || fail "the saved problem lacks '$text'"
done
echo "end to end: both add dialogs added to the problem; screenshots in $out"
