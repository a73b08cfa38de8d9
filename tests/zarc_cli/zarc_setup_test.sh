#!/usr/bin/env bash
# zarc setup on the real stub, as a publisher runs it: zarc.exe under Wine writes the same bytes as
# the Linux zarc, the same program from FILEs as from their package, and what it wrote reads back
# with pefile. A program that is not the stub is refused with its reason.
# Usage: zarc_setup_test.sh HOST_ZARC STUB DEMO_BUILD_DIR EMULATOR... ZARC_EXE
set -uo pipefail
host_zarc=$1 stub=$2 demo=$3
shift 3
work=$(mktemp -d "${TMPDIR:-/tmp}/zarc-setup-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

files=("$demo/bin/Quillfen.exe" "$demo/bin/uninstall.exe" "$demo"/files/*)
info=(--icon "$demo/setup.ico" --product-version 1.2.3 --company 'Corvane 株式会社'
      --description 'Quillfen のセットアップ' --copyright 'Copyright 2026 Corvane')

LC_ALL=C.UTF-8 "$@" setup win.exe --stub "$stub" "${info[@]}" "${files[@]}" >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] || fail "zarc.exe setup: status $status: $(cat err.txt)"
[ -s err.txt ] && fail "zarc.exe setup: says something on success: $(cat err.txt)"

if [ -x "$host_zarc" ]; then
  "$host_zarc" create pkg.zarc "${files[@]}" || fail "create"
  "$host_zarc" setup linux.exe --stub "$stub" "${info[@]}" --package pkg.zarc ||
    fail "zarc setup --package: status $?"
  cmp -s win.exe linux.exe || fail "zarc.exe (FILEs) and the Linux zarc (--package) wrote different programs"
  /usr/bin/python3 "$(dirname "$0")/read_setup.py" linux.exe "$stub" pkg.zarc "$demo/setup.ico" \
    Quillfen 1.2.3 'Corvane 株式会社' 'Quillfen のセットアップ' || fail "read back with pefile"
else
  echo "SKIP: no Linux zarc at $host_zarc to compare with (build the host preset first)"
  exit 77
fi

# Without --stub: the stub beside zarc, or in ../share/zarc from it.
mkdir -p beside root/bin root/share/zarc
cp "$host_zarc" beside/zarc && cp "$stub" beside/setup-stub.exe
cp "$host_zarc" root/bin/zarc && cp "$stub" root/share/zarc/setup-stub.exe
for zarc in beside/zarc root/bin/zarc; do
  "$zarc" setup found.exe "${info[@]}" --package pkg.zarc && cmp -s found.exe linux.exe ||
    fail "$zarc did not find its stub"
  rm -f found.exe
done
rm beside/setup-stub.exe
beside/zarc setup found.exe --package pkg.zarc 2>err.txt && fail "setup without a stub succeeded"
grep -q 'setup-stub.exe.*--stub' err.txt || fail "no stub: message $(cat err.txt)"

"$@" setup refused.exe --stub "$1" --package pkg.zarc >out.txt 2>err.txt
status=$?
[ "$status" = 1 ] && tr -d '\r' <err.txt | grep -q 'wine-run: .*not a Windows program' ||
  fail "a script as the stub: status $status: $(cat err.txt)"
"$@" setup refused.exe --stub "${@: -1}" --package pkg.zarc >out.txt 2>err.txt
status=$?
[ "$status" = 1 ] && grep -q 'console program' err.txt || fail "zarc.exe as the stub: status $status: $(cat err.txt)"
ls | grep -q refused && fail "a refusal left $(ls | grep refused)"

[ "$failures" = 0 ] || exit 1
echo "zarc setup: all checks passed"
