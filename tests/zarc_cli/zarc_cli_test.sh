#!/bin/sh
# What only the real program shows: names from the command line (UTF-8, or UTF-16 through Wine)
# reaching the archive as code page 932 and coming back, exit statuses, and listings on standard
# output kept apart from messages on standard error.
# Usage: zarc_cli_test.sh [EMULATOR...] ZARC
set -u
[ $# -ge 1 ] || { echo "usage: $0 [EMULATOR...] ZARC" >&2; exit 2; }
readme=$(cd "$(dirname "$0")/../.." && pwd)/README.md
work=$(mktemp -d "${TMPDIR:-/tmp}/zarc-cli-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
# The command, emulator included, as one program to call from inside the work folder.
{
  printf '#!/bin/sh\nexec'
  for arg in "$@"; do
    case $arg in /*) ;; *) [ -e "$arg" ] && arg=$PWD/$arg ;; esac
    printf " '%s'" "$arg"
  done
  printf ' "$@"\n'
} >"$work/zarc-run"
chmod +x "$work/zarc-run"
cd "$work" || exit 1
failures=0

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

# Runs zarc; leaves the status in $status, the output in out.txt and err.txt (without the CRs
# that a Windows build writes).
z() {
  ./zarc-run "$@" >out.raw 2>err.raw
  status=$?
  tr -d '\r' <out.raw >out.txt
  tr -d '\r' <err.raw >err.txt
}

printf 'Quillfen\r\n' >setup.txt
printf 'この製品の使用許諾に同意します。\r\n' >同意書.txt

z create pkg.zarc setup.txt 同意書.txt --as 'data\e.bin' setup.txt --external ext.dat
[ "$status" = 0 ] || fail "create: status $status: $(cat err.txt)"
[ -s err.txt ] && fail "create: says something on success: $(cat err.txt)"
[ "$(head -c 4 pkg.zarc)" = ZARC ] || fail "create: no ZARC magic"
# 同意書.txt in code page 932: 93 AF 88 D3 8F 91.
LC_ALL=C grep -aq "$(printf '\223\257\210\323\217\221\056txt')" pkg.zarc ||
  fail "create: the licence entry is not named in code page 932"

z list pkg.zarc
[ "$status" = 0 ] || fail "list: status $status"
grep -q ' 同意書\.txt$' out.txt || fail "list: licence name not shown in UTF-8: $(cat out.txt)"
grep -q 'external.* ext\.dat$' out.txt || fail "list: external entry not shown"
grep -q 'data\\e\.bin$' out.txt || fail "list: --as name not shown"

z test pkg.zarc
[ "$status" = 0 ] || fail "test: status $status: $(cat err.txt)"

mkdir out
z extract -C out pkg.zarc 同意書.txt
[ "$status" = 0 ] || fail "extract: status $status: $(cat err.txt)"
cmp -s out/同意書.txt 同意書.txt || fail "extract: licence not written under its UTF-8 name"

# A refusal: status 1, a message naming the file and the reason, no output file.
z create bad.zarc setup.txt missing.bin
[ "$status" = 1 ] || fail "refusal: status $status"
grep -q '^zarc: missing\.bin: cannot open' err.txt || fail "refusal: message $(cat err.txt)"
[ -s out.txt ] && fail "refusal: writes to standard output"
ls | grep -q 'bad\.zarc' && fail "refusal: left $(ls | grep bad.zarc)"

z create bad.zarc --as 'café.txt' setup.txt
[ "$status" = 1 ] || fail "unconvertible name: status $status"
grep -q 'code page 932' err.txt || fail "unconvertible name: message $(cat err.txt)"

# Threads of the real system (Windows threads under Wine) and entries of several blocks: the
# bytes must not depend on how many threads made them.
seq 1 150000 >numbers.txt
z create t1.zarc --threads 1 numbers.txt setup.txt
[ "$status" = 0 ] || fail "create --threads 1: status $status: $(cat err.txt)"
z create t3.zarc --threads 3 numbers.txt setup.txt
[ "$status" = 0 ] || fail "create --threads 3: status $status: $(cat err.txt)"
cmp -s t1.zarc t3.zarc || fail "create: 1 and 3 threads wrote different archives"

# Maximum compression where the build has it, a clear refusal where it has not.
z create max.zarc --max numbers.txt setup.txt
if [ "$status" = 0 ]; then
  z test max.zarc
  [ "$status" = 0 ] || fail "create --max: test says $(cat err.txt)"
  [ "$(stat -c %s max.zarc)" -lt "$(stat -c %s t1.zarc)" ] || fail "create --max: not smaller"
else
  [ "$status" = 2 ] && grep -q 'built without libdeflate' err.txt ||
    fail "create --max: status $status: $(cat err.txt)"
  [ -e max.zarc ] && fail "create --max: refused but left max.zarc"
fi

# check: findings on standard error as ENTRY: error|warning, entry names in UTF-8, the status
# set by errors alone.
z check t1.zarc
[ "$status" = 1 ] || fail "check: status $status"
grep -q '^setup256\.bmp: error: not in the package' err.txt || fail "check: $(cat err.txt)"
grep -q '^同意書\.txt: warning: ' err.txt || fail "check: licence not named in UTF-8: $(cat err.txt)"
tail -n 1 err.txt | grep -q '^t1\.zarc: 2 errors, 1 warning$' || fail "check: summary not last: $(cat err.txt)"

# README's ImageMagick commands, as printed there, make both pictures in the forms the setup
# program shows from a generated PNG: 8 bits with a palette, and 24 bits in sixteen frames.
if command -v convert >/dev/null; then
  convert -size 500x300 gradient:navy-orange -fill white -draw 'circle 250,150 250,40' picture.png &&
    convert -size 80x80 xc:none -fill teal -draw 'rectangle 30,5 50,40' icon.png ||
    fail "pictures: cannot make the PNGs"
  sed -n '/^   convert picture\.png/,/BMP3:parts\.bmp$/p' "$readme" >pictures.sh
  [ "$(grep -c '^ *convert ' pictures.sh)" = 2 ] || fail "pictures: README's commands not found"
  sh -e pictures.sh >/dev/null 2>&1 || fail "pictures: README's commands fail"
  for form in setup256.bmp:320:192:8 parts.bmp:64:1024:24; do
    file=${form%%:*}
    # Width and height at offset 18, bits per pixel at 28.
    made=$(od -An -tu4 -j18 -N8 "$file" 2>/dev/null; od -An -tu2 -j28 -N2 "$file" 2>/dev/null)
    [ "$(echo $made | tr ' ' :)" = "${form#*:}" ] || fail "pictures: $file is $(echo $made), not ${form#*:}"
  done
  z create pictures.zarc setup.txt setup256.bmp parts.bmp 同意書.txt
  z check pictures.zarc
  grep -q 'bmp' err.txt && fail "pictures: check says $(cat err.txt)"
else
  echo "SKIP: README's picture commands (no ImageMagick)"
fi

# A product folder with names in Japanese (listed through the system's own calls) and a name
# twice: list-folder's lines name the entries that create gives them, and extract gives them back.
mkdir -p 製品/資料 製品/空
printf 'a' >製品/説明.txt
printf 'b' >製品/資料/説明.txt
printf '#T=Q\r\n' >folder.txt
z list-folder --into folder.txt 製品
[ "$status" = 0 ] || fail "list-folder: status $status: $(cat err.txt)"
tr -d '\r' <folder.txt | iconv -f CP932 -t UTF-8 >folder-utf8.txt
for line in '#T=Q' '#F=空' '#I=説明.txt' '#I=資料\説明.txt'; do
  grep -qxF "$line" folder-utf8.txt || fail "list-folder: no $line in $(cat folder-utf8.txt)"
done
z create folder.zarc 製品
[ "$status" = 0 ] || fail "create FOLDER: status $status: $(cat err.txt)"
mkdir back
z extract -C back folder.zarc
[ "$status" = 0 ] && cmp -s back/説明.txt 製品/説明.txt && cmp -s back/資料/説明.txt 製品/資料/説明.txt ||
  fail "create FOLDER: extract does not give the files back: $(cat err.txt)"

z --version
[ "$status" = 0 ] && grep -Eq '^zarc [0-9]+\.[0-9]+\.[0-9]+$' out.txt || fail "--version: $(cat out.txt)"

z create
[ "$status" = 2 ] || fail "usage error: status $status"
z frobnicate
[ "$status" = 2 ] || fail "unknown command: status $status"
z extract --help
[ "$status" = 0 ] && grep -q '^Usage: zarc extract' out.txt || fail "extract --help"

[ "$failures" = 0 ] || exit 1
echo "zarc command line: all checks passed"
