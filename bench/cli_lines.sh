#!/usr/bin/env bash
# Whole-process figures of lexigrove-cli on many searches from one input and
# on a word list of its own, each beside a peer tool in the same run:
#   1. exact - --no-separator over every word of the list, against
#      grep -Fxf doing the same check; peak memory of both;
#   2. 10,000 Unscrambles of 7-letter texts, all lengths, from one input;
#   3. --words /usr/share/dict/american-english with a 7-letter Unscramble,
#      against the built-in list and against an -w -d on the same file.
#
#   bench/cli_lines.sh [PATH/TO/lexigrove-cli]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$here/build/src/cli/lexigrove-cli}")"
words="${LEXIGROVE_WORDS_FILE:-$here/../shared/wordlists/enable.txt}"
dict=/usr/share/dict/american-english
an=/usr/games/an
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

peak() {  # peak memory of a command reading $1, in KB
  local input=$1; shift
  /usr/bin/time -f '%M' -o "$dir/peak" "$@" <"$input" >/dev/null 2>&1
  cat "$dir/peak"
}

echo "== 1. exact - --no-separator over all $(wc -l <"$words") words"
hyperfine --warmup 2 --runs 10 \
  "$cli exact --no-separator - <$words" \
  "grep -Fxf $words $words"
echo "peak memory: lexigrove-cli $(peak "$words" "$cli" exact --no-separator -) KB," \
  "grep -Fxf $(peak /dev/null grep -Fxf "$words" "$words") KB"
found=$("$cli" exact --no-separator - <"$words" | grep -c ' - Found$')
echo "found: $found of $(wc -l <"$words")"

echo "== 2. 10,000 Unscrambles of 7-letter texts, all lengths, one input"
awk 'length($0) == 7 && n++ < 10000' "$words" | rev >"$dir/texts"
hyperfine --warmup 1 --runs 5 "$cli unscramble - <$dir/texts"
echo "peak memory: $(peak "$dir/texts" "$cli" unscramble -) KB;" \
  "$("$cli" unscramble --count - <"$dir/texts" | awk '{ n += $1 } END { print n }') words found"

echo "== 3. a 7-letter Unscramble over $dict"
hyperfine -N --warmup 5 --runs 50 \
  "$cli unscramble retains" \
  "$cli unscramble --words $dict retains" \
  "$an -w -d $dict retains"
