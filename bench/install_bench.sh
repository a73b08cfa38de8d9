#!/usr/bin/env bash
# The install benchmark: InstallFiles on two packages, against `unzip -o` of the same files zipped
# with `zip -9`, and against the floor: zlib's one-shot uncompress of each entry and one write of
# it, on one thread. All run in the same session, alternating, best of ROUNDS.
#
#   large   16 entries, 64 MiB in all: 12 pieces of the system's own programs and libraries, 4 of
#           its C headers
#   small   240 entries, near the install list's limit of 256: 228 of 1 to 64 KiB, 12 of 256 KiB
#           to 1 MiB, pieces of the same programs and headers taken in turn
#
# The files are taken in name order, so one machine gives the same bytes every run. Each package
# is also installed on one thread, and both results are compared byte for byte with each other
# and with the files packed.
#
# Usage: bench/install_bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/host, 7)
# Needs the host build (install_bench and zarc) and: zip, unzip, GNU time (Debian: zip unzip time).
# Works in /dev/shm, or under BENCH_WORK=DIR to measure a disk.
# Not run by scripts/test: timings belong to a quiet machine, not to the test suite.
# Exit status: 0 when every target is met, 1 when one is missed, 2 when something is missing.
set -euo pipefail
build=${1:-build/host}
rounds=${2:-7}
build=$(realpath "$build")
bench=$build/bench/install_bench
zarc=$build/tools/zarc/zarc

# The targets, on a 2-core machine.
max_vs_unzip=0.50
max_vs_floor=0.70

missing=()
for tool in zip unzip; do command -v "$tool" >/dev/null || missing+=("$tool"); done
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  echo "install_bench.sh: install ${missing[*]} first (Debian: apt-get install ${missing[*]})" >&2
  exit 2
fi
for program in "$bench" "$zarc"; do
  [ -x "$program" ] || { echo "install_bench.sh: $program is not built (cmake --build --preset host)" >&2; exit 2; }
done

# In memory (tmpfs) when the machine has it, or in BENCH_WORK: on a virtual disk whose new blocks
# are slow the first time, creating a file took from 0.02 to 0.8 ms by folder and by minute, and
# grew from round to round, which hid what the programs themselves cost.
work=$(mktemp -d "${BENCH_WORK:-$([ -w /dev/shm ] && echo /dev/shm || echo "$build")}/install-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "install_bench.sh: $*" >&2; exit 2; }
calc() { awk "BEGIN { print $1 }"; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }

# The machine's own bytes: 56 MiB of programs and libraries, 8 MiB of C headers.
find /usr/bin /usr/lib/x86_64-linux-gnu -maxdepth 1 -type f -size +100k -print0 2>/dev/null |
  sort -z | xargs -0 cat 2>/dev/null | head -c $((56 << 20)) >"$work/binaries" 2>/dev/null || true
find /usr/include -type f -name '*.h' -print0 | sort -z | xargs -0 cat 2>/dev/null | head -c $((8 << 20)) >"$work/texts" || true
piece() {  # SOURCE OFFSET_KIB SIZE_KIB OUT
  dd if="$1" of="$4" bs=1K skip="$2" count="$3" iflag=fullblock status=none
}

mkdir -p "$work/large/payload" "$work/small/payload"
at=0 i=0
for size in 12 8 6 6 5 4 4 3 3 2 2 1; do
  i=$((i + 1))
  piece "$work/binaries" $((at << 10)) $((size << 10)) "$work/large/payload/program$(printf %02d $i).exe"
  at=$((at + size))
done
at=0 i=0
for size in 3 2 2 1; do
  i=$((i + 1))
  piece "$work/texts" $((at << 10)) $((size << 10)) "$work/large/payload/manual$(printf %02d $i).txt"
  at=$((at + size))
done
binary_at=0 text_at=0
for ((i = 0; i < 240; i++)); do
  if ((i % 20 == 19)); then kib=$((256 + (i * 53) % 769)); else kib=$((1 + (i * 29) % 64)); fi
  if ((i % 2 == 0)); then
    piece "$work/binaries" "$binary_at" "$kib" "$work/small/payload/part$(printf %03d $i).dll"
    binary_at=$((binary_at + kib))
  else
    piece "$work/texts" "$text_at" "$kib" "$work/small/payload/part$(printf %03d $i).txt"
    text_at=$((text_at + kib))
  fi
done
rm "$work/binaries" "$work/texts"
total=$(du -cb "$work"/large/payload/* | tail -n 1 | cut -f 1)
[ "$total" -eq $((64 << 20)) ] || fail "the large payload is $total bytes, not 64 MiB"
[ "$(ls "$work/small/payload" | wc -l)" -eq 240 ] || fail "the small payload is not 240 files"

# Wall time of one command writing into a fresh folder, in seconds.
timed() {  # OUT COMMAND...
  rm -rf "$1"
  shift
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  local end=$EPOCHREALTIME
  calc "$end - $start"
}

met=1
measure() {  # NAME
  local name=$1 dir=$work/$1
  mkdir "$dir/package"
  (cd "$dir/payload" && "$zarc" create "$dir/package/files.zarc" *) >/dev/null
  (cd "$dir/payload" && zip -9 -q "$dir/files.zip" *)
  local archive largest count total
  archive=$(stat -c %s "$dir/package/files.zarc")
  largest=$(stat -c %s "$dir"/payload/* | sort -n | tail -n 1)
  count=$(ls "$dir/payload" | wc -l)
  total=$(du -cb "$dir"/payload/* | tail -n 1 | cut -f 1)

  local install_times=() single_times=() floor_times=() unzip_times=() round
  for ((round = 0; round < rounds; round++)); do
    install_times+=("$(timed "$dir/out" "$bench" install "$dir/package/files.zarc" "$dir/out")")
    single_times+=("$(timed "$dir/out" "$bench" single "$dir/package/files.zarc" "$dir/out")")
    floor_times+=("$(timed "$dir/out" "$bench" floor "$dir/package/files.zarc" "$dir/out")")
    unzip_times+=("$(timed "$dir/out" unzip -o -q "$dir/files.zip" -d "$dir/out")")
  done

  # The result must be right, not only fast: the pool's files are the one thread's, byte for byte.
  rm -rf "$dir/out" "$dir/one"
  local peak_line
  peak_line=$("$bench" install "$dir/package/files.zarc" "$dir/out")
  local single_line
  single_line=$("$bench" single "$dir/package/files.zarc" "$dir/one")
  diff -r "$dir/one" "$dir/out" >/dev/null || fail "$name: the pool's files differ from one thread's"
  diff -r "$dir/payload" "$dir/out" >/dev/null || fail "$name: the installed files differ from the payload"
  rm -rf "$dir/out"
  local unzip_peak
  unzip_peak=$(/usr/bin/time -f %M unzip -o -q "$dir/files.zip" -d "$dir/out" 2>&1 >/dev/null | tail -n 1)

  local install single floor unzip peak_kib limit_kib vs_unzip vs_floor
  install=$(best "${install_times[@]}")
  single=$(best "${single_times[@]}")
  floor=$(best "${floor_times[@]}")
  unzip=$(best "${unzip_times[@]}")
  peak_kib=${peak_line##*peak_rss_kib=}
  limit_kib=$(((archive + 2 * largest) / 1024 + 8192))
  vs_unzip=$(calc "$install / $unzip")
  vs_floor=$(calc "$install / $floor")

  printf '%s payload  %d entries, %.1f MiB, largest %.0f KiB; package %.1f MiB (zarc), zip %.1f MiB (zip -9)\n' \
    "$name" "$count" "$(calc "$total / 1048576")" "$(calc "$largest / 1024")" "$(calc "$archive / 1048576")" \
    "$(calc "$(stat -c %s "$dir/files.zip") / 1048576")"
  printf '%s install  %.3f s   (InstallFiles on the pool, best of %d; identical to one thread: checked)\n' \
    "$name" "$install" "$rounds"
  printf '%s single   %.3f s   (InstallFiles on one thread)\n' "$name" "$single"
  printf '%s floor    %.3f s   (uncompress + one write per entry, one thread)\n' "$name" "$floor"
  printf '%s unzip    %.3f s   (unzip -o)\n' "$name" "$unzip"
  local cpu_of='s/.*cpu_seconds=([0-9.]+).*/\1/'
  printf '%s cpu      %.3f s   (processor time, all threads: pool; one thread %.3f s)\n' "$name" \
    "$(sed -E "$cpu_of" <<<"$peak_line")" "$(sed -E "$cpu_of" <<<"$single_line")"
  printf '%s vs-unzip %.2f     (target at most %s)\n' "$name" "$vs_unzip" "$max_vs_unzip"
  printf '%s vs-floor %.2f     (target at most %s)\n' "$name" "$vs_floor" "$max_vs_floor"
  printf '%s peak     %.1f MiB (limit %.1f MiB: archive + 2 x largest entry + 8 MiB); unzip %.1f MiB\n' \
    "$name" "$(calc "$peak_kib / 1024")" "$(calc "$limit_kib / 1024")" "$(calc "$unzip_peak / 1024")"

  [ "$(calc "($vs_unzip <= $max_vs_unzip)")" -eq 1 ] || met=0
  [ "$(calc "($vs_floor <= $max_vs_floor)")" -eq 1 ] || met=0
  [ "$peak_kib" -le "$limit_kib" ] || met=0
}

echo "load     $(cut -d ' ' -f 1-3 /proc/loadavg) before (1, 5, 15 minutes); $(nproc) cores"
measure large
measure small
echo "load     $(cut -d ' ' -f 1-3 /proc/loadavg) after"
[ $met -eq 1 ] && echo "all targets met" || { echo "a target is missed"; exit 1; }
