#!/usr/bin/env bash
# One short fuzz run as a test: target, seed folder, scratch folder, seconds [, dictionary].
# New inputs go to the scratch folder, never into the seeds; a crash, leak, timeout or
# out-of-memory fails the test and leaves its input in the scratch folder.
set -euo pipefail
target=$1 seeds=$2 scratch=$3 seconds=$4 dictionary=${5:-}
rm -rf "$scratch"
mkdir -p "$scratch/corpus"
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$scratch/"
         -print_final_stats=1)
[ -z "$dictionary" ] || options+=(-dict="$dictionary")
exec "$target" "${options[@]}" "$scratch/corpus" "$seeds"
