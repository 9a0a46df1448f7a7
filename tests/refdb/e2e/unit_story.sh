#!/usr/bin/env bash
# End to end, the wheat story: the real program under an Xvfb of its own opens a broiler problem
# whose energy ME_KA is stored in kcal/kg (loading turns it into MCal/kg), beside a reference database
# that defines ME_KA in kcal/kg. Wheat (BUGDAY) is added with "Yem Maddesi Ekle" (every row of
# "HEPSİ" ticked; the three the problem holds are skipped) and the program leaves saving. The saved
# energy row must hold the wheat's 3050 kcal/kg as 3.0500 beside the others in MCal/kg, and the saved
# problem, solved headless, must cost what GLPK (glpsol) finds for the same problem written by hand
# in MCal/kg. Screenshots go to the output folder.
#
#   unit_story.sh PROGRAM MAKE_FIXTURE MAKE_STORY SOLVE_DRIVER OUTPUT_FOLDER
set -euo pipefail
program=$1
make_fixture=$2
make_story=$3
solve_driver=$4
out=$5

# shellcheck source=../../shell/e2e/problem_session.sh
source "$(dirname "$0")/../../shell/e2e/problem_session.sh"
command -v glpsol >/dev/null || fail "glpsol is missing (tools/deps.sh installs glpk-utils)"

"$make_story" "$fixture" "$home/Documents/VEXO_Rir26 Veriler" || fail "the broiler problem could not be written"
open_problem

# The ingredient editor opened with the problem: "Y&azım" > "Yem Maddesi &Ekle".
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+a
sleep 0.4
xdotool key e
dialog=$(window '^Yem Maddesi Ekle$') || true
[ -n "$dialog" ] || fail "the add-ingredients dialog did not appear"
sleep 0.5
# Shift+Tab reaches the group combo, Down chooses "HEPSİ" and gives the focus back to the list; Tab
# reaches "H. Seç ", whose space ticks every row; three Tabs reach "Ekle ".
xdotool key --delay 300 shift+Tab Down
sleep 0.5
xdotool key --delay 250 Tab space
sleep 0.3
shot 1-all-ticked
xdotool key --delay 250 Tab Tab Tab space
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Yem Maddesi Ekle$' >/dev/null 2>&1 || break; sleep 0.1; done
sleep 0.5
shot 2-wheat-added
# "&Pencere" > "Ka&pat..." closes the ingredient editor, then the program ends saving.
xdotool windowfocus --sync "$main"
xdotool key --delay 200 alt+p p
sleep 0.8
leave_saving 3-exit-question

saved=$(tr -s ' ' <"$fixture")
grep -aqF "BUGDAY" <<<"$saved" || fail "the saved problem lacks the wheat"
grep -aqF "MCal/Kg" <<<"$saved" || fail "the saved energy row is not in MCal/Kg"
grep -aqF " 2.6400, 3.3500, 2.2300, 3.0500," <<<"$saved" || fail "the saved energy row is not in one unit"

# The same problem by hand, energy in MCal/kg, for GLPK.
cat >"$out/broiler.lp" <<'LP'
Minimize
 cost: 9 ARPA + 12 MISIR + 21 SOYA + 10.5 BUGDAY
Subject To
 weight: ARPA + MISIR + SOYA + BUGDAY = 1
 energy: 2.64 ARPA + 3.35 MISIR + 2.23 SOYA + 3.05 BUGDAY >= 2.8
 protein: 11.5 ARPA + 8.5 MISIR + 44 SOYA + 12 BUGDAY >= 21
End
LP
glpsol --lp "$out/broiler.lp" -o "$out/glpk.txt" >"$out/glpsol.log" || fail "glpsol failed"
"$solve_driver" "$fixture" >"$out/solve.json" 2>"$out/solve.log" || fail "the saved problem did not solve"
/usr/bin/python3 - "$out/glpk.txt" "$out/solve.json" <<'PY' || fail "the program's optimum is not GLPK's"
import json, re, sys
glpk = open(sys.argv[1]).read()
want = float(re.search(r"Objective:\s+cost = ([-0-9.e+]+) \(MINimum\)", glpk).group(1))
wheat = float(re.search(r"^\s*\d+\s+BUGDAY\s+\S*\s+([-0-9.e+]+)", glpk, re.M).group(1))
got = json.load(open(sys.argv[2]))
assert got["outcome"] == "optimum", got["outcome"]
assert abs(got["costSum"] - want) < 1e-6, (got["costSum"], want)
share = [float(i["YMACOZUM"]) for i in got["ingredients"] if i["YMNAME"].strip() == "BUGDAY"][0]
assert abs(share - 100 * wheat) < 1e-3, (share, wheat)
print("optimum %.6f, wheat %.3f %% (GLPK %.6f, %.3f %%)" % (got["costSum"], share, want, 100 * wheat))
PY
echo "end to end: the wheat came in MCal/kg and the problem solves to GLPK's optimum; screenshots in $out"
