#!/usr/bin/env bash
# End to end: a new user's first backup of the reference database. The real program under an Xvfb of
# its own, with a fresh home whose data root holds a small reference database and no backup folder;
# xdotool chooses "Referans &Matris" > "&Yedekle" and confirms the folder the dialog proposes. Checked:
# no error box, and both tables copied into the proposed folder. Screenshots go to the output folder
# to be looked at.
#
#   first_backup.sh PROGRAM MAKE_REFERENCE_FIXTURE OUTPUT_FOLDER SOURCE_DIR
set -euo pipefail
program=$1
make_fixture=$2
out=$3
source_dir=$4

# shellcheck source=reference_session.sh
source "$source_dir/tests/refdb/e2e/reference_session.sh"
[ ! -e "$root/VEXO_KData" ] || fail "the fixture already has a backup folder"
start_program
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+m y
dialog=$(window '^RM Dosyası \(dBF\) Yedekleme/Alma$' 10) || true
[ -n "$dialog" ] || fail "Yedekle did not ask for the folder"
sleep 0.5
shot 1-folder-dialog
# The proposed folder, as it stands: OK is the default button.
xdotool windowfocus --sync "$dialog"
xdotool key Return
sleep 1.5
shot 2-after-ok
if error=$(window '^Hata\.\.\.$' 2) && [ -n "$error" ]; then
  fail "the first backup failed: $(xdotool getwindowname "$error")"
fi

for name in MATNRC6.DBF VMKBMDESC.DBF; do
  cmp -s "$root/$name" "$root/VEXO_KData/RMD_Yed/$name" || fail "$name was not backed up into the proposed folder"
done

leave_saving
echo "end to end: the first backup went into the proposed folder; screenshots in $out"
