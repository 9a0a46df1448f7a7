#!/usr/bin/env bash
# End to end: a new user's first ingredient through the form view. The real program under an Xvfb of
# its own starts on a data root without reference tables (so it writes the starter database, whose
# group list is empty); xdotool opens "Referans &Matris" > "&Matris Yazımı", then "Y&azım" > "Yem
# Mad. &Formda Yaz", types a name, a price and a group the list does not have, presses Escape in the
# group field (which closes its list at most, never the form) and saves with "&Kaydet" from the
# form's context menu, then "&Dosya" > "&Kaydet" in the editor. Checked: the matrix holds the name,
# the price and the group. Screenshots go to the output folder to be looked at.
#
#   fresh_form.sh PROGRAM MAKE_REFERENCE_FIXTURE OUTPUT_FOLDER SOURCE_DIR
set -euo pipefail
program=$1
make_fixture=$2
out=$3
source_dir=$4

# shellcheck source=reference_session.sh
source "$source_dir/tests/refdb/e2e/reference_session.sh"
rm -f "$root/MATNRC6.DBF" "$root/VMKBMDESC.DBF"
start_program
sleep 0.5
[ -f "$root/MATNRC6.DBF" ] || fail "the starter reference database was not written"
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true; }

xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+m m
sleep 1.5
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+a f
form=$(window '^Referans Matris Yem Maddesi Yazımı$' 10) || true
[ -n "$form" ] || fail "the form view did not open"
sleep 0.5
shot 1-form

# The name field has the focus; Tab leads on to the price and then to the group.
xdotool windowfocus --sync "$form"
xdotool type --delay 60 "MISIR"
xdotool key Tab
xdotool type --delay 60 "780"
xdotool key Tab
sleep 0.3
xdotool type --delay 60 "TAHIL"
sleep 0.3
shot 2-typed
xdotool key Escape
sleep 0.5
shot 3-after-escape
[ -n "$(shown '^Referans Matris Yem Maddesi Yazımı$')" ] || fail "Escape in the group field closed the form"
[ -z "$(shown '^Uyarı\.\.\.$')" ] || fail "Escape in the group field asked a question"

# "&Kaydet" of the form's context menu (a right click in its grid) hands the record back to the
# editor; the editor's own "&Kaydet" writes the matrix.
eval "$(xdotool getwindowgeometry --shell "$form")"
xdotool mousemove --window "$form" $((WIDTH / 2)) $((HEIGHT / 2))
xdotool click 3
sleep 0.5
shot 4-context-menu
xdotool key k
sleep 0.8
[ -z "$(shown '^Referans Matris Yem Maddesi Yazımı$')" ] || fail "Kaydet did not close the form"
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+d k
sleep 1
shot 5-saved

grep -aq "MISIR" "$root/MATNRC6.DBF" || fail "the typed name was not saved"
grep -aq "    780.000" "$root/MATNRC6.DBF" || fail "the typed price was not saved"
grep -aq "TAHIL" "$root/MATNRC6.DBF" || fail "the typed group was not saved"

# "&Dosya" > "&Çıkış..." leaves the editor; no backup this time.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+d Down Return
backup=$(window '^Uyarı\.\.\.$' 10) || true
[ -n "$backup" ] || fail "leaving the saved editor did not offer the backup"
xdotool windowfocus --sync "$backup"
xdotool key h
sleep 0.5
leave_saving
echo "end to end: a first ingredient typed in the form view of a fresh database; screenshots in $out"
