#!/usr/bin/env bash
# End to end: the real program under an Xvfb of its own, with a fresh home whose data root holds a
# small reference database; xdotool chooses "Referans &Matris" > "&Matris Yazımı", types a name into
# the first row, leaves the editor through "&Dosya" > "&Çıkış..." and answers Yes to the save and the
# backup questions. Checked: the saved name in MATNRC6.DBF and its backup copy. Screenshots go to the
# output folder to be looked at.
#
#   rm_editor.sh PROGRAM MAKE_REFERENCE_FIXTURE OUTPUT_FOLDER SOURCE_DIR
set -euo pipefail
program=$1
make_fixture=$2
out=$3
source_dir=$4

# shellcheck source=reference_session.sh
source "$source_dir/tests/refdb/e2e/reference_session.sh"
start_program
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+m m
sleep 1.5
shot 1-editor

# The grid has the focus on the first row's name: a typed letter starts the edit that replaces it.
xdotool windowfocus --sync "$main"
xdotool type --delay 60 "ARPA"
xdotool key Return
sleep 0.5
shot 2-typed

# "&Dosya" > "&Çıkış..." (the first item is highlighted when the menu opens; the second is the exit).
xdotool key --delay 200 alt+d Down Return
question=$(window '^Uyarı\.\.\.$' 10) || true
[ -n "$question" ] || fail "closing the editor did not ask to save"
shot 3-save-question
xdotool windowfocus --sync "$question"
xdotool key e  # "&Evet"
sleep 0.5
backup=$(window '^Uyarı\.\.\.$' 10) || true
[ -n "$backup" ] || fail "the save was not followed by the backup question"
shot 4-backup-question
xdotool windowfocus --sync "$backup"
xdotool key e
sleep 0.5
shot 5-closed

grep -aq "ARPA" "$root/MATNRC6.DBF" || fail "the typed name was not saved"
grep -aq "BUGDAY" "$root/MATNRC6.DBF" || fail "the other rows were lost"
cmp -s "$root/MATNRC6.DBF" "$root/VEXO_KData/RMD_Yed/MATNRC6.DBF" || fail "the backup is not the saved matrix"
cmp -s "$root/VMKBMDESC.DBF" "$root/VEXO_KData/RMD_Yed/VMKBMDESC.DBF" || fail "the definitions were not backed up"

leave_saving
echo "end to end: reference matrix edited, saved and backed up; screenshots in $out"
