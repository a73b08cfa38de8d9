#!/usr/bin/env bash
# The install benchmark: InstallFiles on a package of 16 entries, 64 MiB in all (12 pieces of the
# system's own programs and libraries, 4 of its C headers), against `unzip -o` of the same files
# zipped with `zip -9`, and against the floor: zlib's one-shot uncompress of each entry and one
# write of it. All three run in the same session, alternating, best of ROUNDS.
#
# Usage: bench/install_bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/host, 7)
# Needs the host build (install_bench and zarc) and: zip, unzip, GNU time (Debian: zip unzip time).
# Not run by scripts/test: timings belong to a quiet machine, not to the test suite.
# Exit status: 0 when every target is met, 1 when one is missed, 2 when something is missing.
set -euo pipefail
build=${1:-build/host}
rounds=${2:-7}
build=$(realpath "$build")
bench=$build/bench/install_bench
zarc=$build/tools/zarc/zarc

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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/payload" "$work/package"

# The payload. Files are taken in name order, so one machine gives the same bytes every run.
binary_mib=(12 8 6 6 5 4 4 3 3 2 2 1)  # 56 MiB
text_mib=(3 2 2 1)                     #  8 MiB
find /usr/bin /usr/lib/x86_64-linux-gnu -maxdepth 1 -type f -size +100k -print0 2>/dev/null |
  sort -z | xargs -0 cat 2>/dev/null | head -c $((56 << 20)) >"$work/binaries" 2>/dev/null || true
find /usr/include -type f -name '*.h' -print0 | sort -z | xargs -0 cat 2>/dev/null | head -c $((8 << 20)) >"$work/texts" || true
cut_pieces() {  # SOURCE PREFIX SUFFIX SIZES...
  local source=$1 prefix=$2 suffix=$3 at=0 i=0 size
  shift 3
  for size in "$@"; do
    i=$((i + 1))
    dd if="$source" of="$work/payload/$prefix$(printf %02d $i)$suffix" bs=1M skip=$at count="$size" \
      iflag=fullblock status=none
    at=$((at + size))
  done
}
cut_pieces "$work/binaries" program .exe "${binary_mib[@]}"
cut_pieces "$work/texts" manual .txt "${text_mib[@]}"
rm "$work/binaries" "$work/texts"
total=$(du -cb "$work"/payload/* | tail -n 1 | cut -f 1)
[ "$total" -eq $((64 << 20)) ] || { echo "install_bench.sh: payload is $total bytes, not 64 MiB" >&2; exit 2; }

(cd "$work/payload" && "$zarc" create "$work/package/files.zarc" *) >/dev/null
(cd "$work/payload" && zip -9 -q "$work/files.zip" *)
archive=$(stat -c %s "$work/package/files.zarc")
largest=$(stat -c %s "$work"/payload/* | sort -n | tail -n 1)

# Wall time of one command writing into a fresh folder, in seconds.
timed() {  # OUT COMMAND...
  rm -rf "$1"
  shift
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  local end=$EPOCHREALTIME
  calc "$end - $start"
}
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
calc() { awk "BEGIN { print $1 }"; }

install_times=() floor_times=() unzip_times=()
for ((round = 0; round < rounds; round++)); do
  install_times+=("$(timed "$work/out" "$bench" install "$work/package/files.zarc" "$work/out")")
  floor_times+=("$(timed "$work/out" "$bench" floor "$work/package/files.zarc" "$work/out")")
  unzip_times+=("$(timed "$work/out" unzip -o -q "$work/files.zip" -d "$work/out")")
done

# The result must be right, not only fast.
rm -rf "$work/out"
peak_line=$("$bench" install "$work/package/files.zarc" "$work/out")
diff -r "$work/payload" "$work/out" >/dev/null || { echo "install_bench.sh: installed files differ" >&2; exit 2; }
rm -rf "$work/out"
unzip_peak=$(/usr/bin/time -f %M unzip -o -q "$work/files.zip" -d "$work/out" 2>&1 >/dev/null | tail -n 1)

install=$(best "${install_times[@]}")
floor=$(best "${floor_times[@]}")
unzip=$(best "${unzip_times[@]}")
peak_kib=${peak_line##*peak_rss_kib=}
limit_kib=$(((archive + largest) / 1024 + 4096))
vs_unzip=$(calc "$install / $unzip")
vs_floor=$(calc "$install / $floor")

printf 'payload            16 entries, %d MiB; package %.1f MiB (zarc), zip %.1f MiB (zip -9)\n' \
  $((total >> 20)) "$(calc "$archive / 1048576")" "$(calc "$(stat -c %s "$work/files.zip") / 1048576")"
printf 'InstallFiles       %.3f s   (best of %d)\n' "$install" "$rounds"
printf 'floor              %.3f s   (uncompress + one write per entry)\n' "$floor"
printf 'unzip -o           %.3f s\n' "$unzip"
printf 'install / unzip    %.2f     (target at most 0.60)\n' "$vs_unzip"
printf 'install / floor    %.2f     (target at most 1.25)\n' "$vs_floor"
printf 'peak memory        %.1f MiB (target at most %.1f MiB: archive + largest entry + 4 MiB); unzip %.1f MiB\n' \
  "$(calc "$peak_kib / 1024")" "$(calc "$limit_kib / 1024")" "$(calc "$unzip_peak / 1024")"

met=1
[ "$(calc "($vs_unzip <= 0.60)")" -eq 1 ] || met=0
[ "$(calc "($vs_floor <= 1.25)")" -eq 1 ] || met=0
[ "$peak_kib" -le "$limit_kib" ] || met=0
[ $met -eq 1 ] && echo "all targets met" || { echo "a target is missed"; exit 1; }
