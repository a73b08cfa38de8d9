#!/usr/bin/env bash
# End-to-end scenarios: setup.exe runs under Wine in a fresh prefix, with the Japanese locale and
# font, on the user's X display or on Xvfb, driven through uidriver. Each layout is captured as a
# PNG in BUILD/e2e/shots. The roads are roads/NN-*.sh, run in order in one prefix: a road may rely
# on what an earlier one left, and says so at its top. Some run on setup programs that "zarc setup"
# made from the stub. Ends with "N passed, M failed".
#
# Every run starts as from a downloads folder that someone else has filled: with --planted, a DLL
# that marks its own loading is put beside setup.exe and in its current directory under the name of
# every DLL the program loads under Wine or Windows; the end checks that none of them ran.
#
# With --only NN, runs road NN after the roads its "# Needs:" line names.
set -uo pipefail

while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2 ;;
    --setup) setup_exe=$2 ;;
    --stub) stub_exe=$2 ;;
    --zarc) zarc_exe=$2 ;;
    --driver) driver_exe=$2 ;;
    --demo) demo=$2 ;;
    --planted) planted=$2 ;;
    --only) only=$2 ;;
    *) echo "run_scenarios: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

here=$(dirname "$0")
if [ -n "${only:-}" ]; then
  only_road=$(echo "$here/roads/$only"-*.sh)
  [ -f "$only_road" ] || { echo "run_scenarios: no road $only" >&2; exit 2; }
  only_roads=" $only $(sed -n 's/^# Needs: \([0-9 ]*\).*/\1/p' "$only_road") "
fi
out=$build/e2e
rm -rf "$out"
# The downloads folder: setup.exe with the planted DLLs, and the programs zarc setup makes.
mkdir -p "$out/shots" "$out/runs" "$out/download"
source "$here/harness.sh"
source "$here/lib/program.sh"
source "$here/lib/install_state.sh"
source "$here/lib/packages.sh"

if [ -n "${planted:-}" ]; then
  cp "$setup_exe" "$out/download/setup.exe"
  setup_exe=$out/download/setup.exe
  plant "$out/download"
fi

for road in "$here"/roads/[0-9][0-9]-*.sh; do
  road_name=$(basename "$road")
  [ -z "${only:-}" ] || [[ $only_roads == *" ${road_name%%-*} "* ]] || continue
  source "$road"
done

echo "--- no planted DLL was loaded, beside setup.exe or in its current directory"
if [ -n "${planted:-}" ]; then
  check "no planted DLL's code ran" "" "$(cd "$out" && find download runs -name '*.ran' | sort | tr '\n' ' ')"
  # Wine names a builtin DLL after a file of that name that it found first; only native loads count.
  check "no DLL loaded from those folders" "" \
    "$(grep -h 'trace:loaddll' "$out"/runs/*.log | grep -E '\\\\e2e\\\\(download|runs)\\\\' |
       grep -v 'setup\.exe"' | grep ': native' | sed 's/.*Loaded L"\([^"]*\)".*/\1/' | sort -u | tr '\n' ' ')"
fi

echo "screenshots: $out/shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
