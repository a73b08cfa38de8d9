#!/usr/bin/env bash
# The release packages as a publisher gets them: scripts/release writes both; the .deb, unpacked
# into a temporary root, holds zarc, the stub, the docs and the manual page, and its zarc checks a
# package and makes a setup program from it, finding the stub by itself. The zip holds zarc.exe
# beside the stub. Debian takes the .deb (lintian finds no error or warning, when it is installed),
# and a second release of the same sources, from a copy without git, gives the same bytes.
# Usage: release_test.sh SOURCE_DIR PACKAGE.zarc
set -uo pipefail
source_dir=$1
package=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zarc-release-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

if ! "$source_dir/scripts/release" "$work/dist" >"$work/release.log" 2>&1; then
  cat "$work/release.log" >&2
  echo "FAIL: scripts/release" >&2
  exit 1
fi
version=$(sed -n 's/^project(setup VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")
deb=$work/dist/zarc_${version}_$(dpkg --print-architecture).deb
zip=$work/dist/zarc-${version}-windows.zip
[ -n "$version" ] && [ -f "$deb" ] && [ -f "$zip" ] ||
  { fail "no packages for version '$version': $(ls "$work/dist")"; exit 1; }

root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb cannot unpack $deb"
for file in usr/bin/zarc usr/share/zarc/setup-stub.exe usr/share/man/man1/zarc.1.gz \
            usr/share/doc/zarc/README.md usr/share/doc/zarc/signing.md usr/share/doc/zarc/copyright \
            usr/share/doc/zarc/changelog.gz; do
  [ -f "$root/$file" ] || fail "the .deb lacks /$file"
done
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no Depends: $(dpkg-deb -f "$deb" Depends)"
zcat "$root/usr/share/man/man1/zarc.1.gz" | grep -q "^\.TH ZARC 1 .*zarc $version" ||
  fail "manual page not of version $version"
zcat "$root/usr/share/doc/zarc/changelog.gz" | head -n 1 | grep -q "^zarc ($version) " ||
  fail "changelog not of version $version: $(zcat "$root/usr/share/doc/zarc/changelog.gz" | head -n 1)"
file "$root/usr/bin/zarc" | grep -q ', stripped' || fail "/usr/bin/zarc is not stripped: $(file "$root/usr/bin/zarc")"
dpkg-deb -f "$deb" Description | awk 'length > 80 { bad = 1 } END { exit bad }' ||
  fail "description lines over 80 columns"
if command -v lintian >/dev/null; then
  # Errors and warnings only; information and pedantic tags are left to taste.
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"
else
  echo "SKIP: lintian (not installed; scripts/deps installs it)"
fi

# Reproducible: the same sources released again, later, from a copy without git's history (as
# exported sources are) and given the commit's time, give the same bytes. Without that time the
# copy says what it needs and builds nothing.
sleep 1
export_dir=$work/export
mkdir -p "$export_dir"
(cd "$source_dir" && git ls-files -z | tar --null -T - -cf -) | tar -x -C "$export_dir" ||
  fail "cannot copy the sources"
if env -u SOURCE_DATE_EPOCH "$export_dir/scripts/release" "$work/none" >"$work/release-none.log" 2>&1; then
  fail "scripts/release without git or SOURCE_DATE_EPOCH went ahead"
fi
grep -q "set SOURCE_DATE_EPOCH" "$work/release-none.log" ||
  fail "scripts/release without git or SOURCE_DATE_EPOCH: $(tail -n 3 "$work/release-none.log")"
[ ! -d "$export_dir/build" ] || fail "scripts/release without a time still built"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)}
if SOURCE_DATE_EPOCH=$epoch "$export_dir/scripts/release" "$work/again" >"$work/release2.log" 2>&1; then
  cmp -s "$deb" "$work/again/$(basename "$deb")" || fail "a release of the copied sources wrote a different .deb"
  cmp -s "$zip" "$work/again/$(basename "$zip")" || fail "a release of the copied sources wrote a different zip"
else
  fail "scripts/release of the copied sources: $(tail -n 5 "$work/release2.log")"
fi
rm -rf "$export_dir"

zarc=$root/usr/bin/zarc
[ "$("$zarc" --version)" = "zarc $version" ] || fail "zarc --version: $("$zarc" --version)"
cd "$work" || exit 1
"$zarc" check "$package" >check.out 2>check.err || fail "zarc check on the demo: $(cat check.err)"
# No --stub: it must find /usr/share/zarc/setup-stub.exe from its own place.
"$zarc" setup setup.exe --package "$package" >setup.out 2>setup.err ||
  fail "zarc setup from the .deb: $(cat setup.err)"
/usr/bin/python3 - "$work/setup.exe" "$package" <<'PY' || fail "setup.exe does not carry the package"
import sys, pefile
pe = pefile.PE(sys.argv[1])
package = open(sys.argv[2], "rb").read()
found = []
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if str(kind.name) != "ZARC":
        continue
    for item in kind.directory.entries:
        for language in item.directory.entries:
            data = language.data.struct
            found.append((item.id, pe.get_data(data.OffsetToData, data.Size)))
# 135 the package; 136 the record that the program ignores the folder it starts from.
sys.exit(0 if found == [(135, package), (136, b"ZSRC\0\0\0\0")] else 1)
PY

/usr/bin/python3 - "$zip" "zarc-$version-windows" <<'PY' || fail "the zip's files: $(unzip -l "$zip" 2>&1)"
import sys, zipfile
names = set(zipfile.ZipFile(sys.argv[1]).namelist())
top = sys.argv[2]
need = {top + "/zarc.exe", top + "/setup-stub.exe", top + "/docs/README.md", top + "/docs/signing.md",
        top + "/LICENSE.txt", top + "/docs/copyright.txt"}
sys.exit(0 if need <= names else 1)
PY

[ "$failures" = 0 ] || exit 1
echo "release packages: all checks passed"
