#!/usr/bin/env bash
# One whole-process Unscramble over all lengths, lexigrove-cli against an
# (Debian package "an") on the same word list, side by side; then the peak
# memory of the lexigrove-cli run.
#
#   bench/compare_an.sh [PATH/TO/lexigrove-cli] [TEXT]
set -euo pipefail
cli="${1:-build/src/cli/lexigrove-cli}"
text="${2:-abcdefghijkl}"
words="${LEXIGROVE_WORDS_FILE:-$(cd "$(dirname "$0")/.." && pwd)/../shared/wordlists/enable.txt}"
an=/usr/games/an

hyperfine -N --warmup 5 --runs 100 \
  "$cli unscramble $text" \
  "$an -w -d $words $text"

/usr/bin/time -f "peak memory of lexigrove-cli unscramble $text: %M KB" "$cli" unscramble "$text" >/dev/null
