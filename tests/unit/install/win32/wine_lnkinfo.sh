#!/usr/bin/env bash
# A shortcut written by Wine's own shell through Win32Shell, read back on the host by lnkinfo: a
# check of a real Windows shortcut file by a reader that shares no code with Wine or with us.
# Usage: wine_lnkinfo.sh WINE_RUN PREFIX UNIT_TESTS_EXE    (exit 77: skipped)
set -euo pipefail
wine_run=$1
prefix=$2
tests=$3
command -v lnkinfo >/dev/null || { echo "lnkinfo is not installed (Debian: liblnk-utils); skipped"; exit 77; }
# Wine keeps a Japanese target only under a code page 932 locale; the test adapts to the one it gets.
if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then export LANG=ja_JP.UTF-8; fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Wine's drive Z: is the host's root.
SETUP_SHORTCUT_OUT="Z:${out//\//\\}" "$wine_run" --prefix "$prefix" "$tests" \
  --gtest_filter=Win32Shell.WritesShortcutsThatTheShellReadsBack
[ -f "$out/wine.lnk" ] && [ -f "$out/wine.expected" ] || { echo "no shortcut was left in $out"; exit 1; }

# The ANSI strings Wine writes are in the code page of its locale: 932 when Japanese.
info=$(lnkinfo -c windows-932 "$out/wine.lnk")
expected=$(iconv -f CP932 -t UTF-8 "$out/wine.expected")
want_target=$(sed -n 1p <<<"$expected")
want_folder=$(sed -n 2p <<<"$expected")
got_target=$(sed -n 's/^\tLocal path\t*: //p' <<<"$info")
got_folder=$(sed -n 's/^\tWorking directory\t*: //p' <<<"$info")
echo "target:            $got_target"
echo "working directory: $got_folder"
[ "$got_target" = "$want_target" ] || { echo "lnkinfo reads the target as '$got_target', not '$want_target'"; exit 1; }
[ "$got_folder" = "$want_folder" ] || { echo "lnkinfo reads the working directory as '$got_folder', not '$want_folder'"; exit 1; }
