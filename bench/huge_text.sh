#!/usr/bin/env bash
# Whole-process time and peak memory of `lexigrove-cli unscramble -` on very
# long texts from standard input (1, 10 and 100 MB of '?', of spaces, and of
# letters), beside the literal rule (bench/naive_unscramble.cpp) where it
# finishes in reasonable time. Each run's output is compared with the rule's.
#
#   bench/huge_text.sh [BUILD_DIR]
set -euo pipefail
build="${1:-build}"
cli="$build/src/cli/lexigrove-cli"
naive="$build/bench/naive_unscramble"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

make_text() {  # KIND MB
  case "$1" in
    wildcards) head -c "$(($2 * 1000000))" /dev/zero | tr '\0' '?' ;;
    spaces) head -c "$(($2 * 1000000))" /dev/zero | tr '\0' ' ' ;;
    letters) head -c "$(($2 * 1000000))" < <(yes thequickbrownfoxjumpsoverthelazydog) | tr -d '\n' ;;
  esac
}

printf '%-10s %6s  %-22s %-22s\n' text MB "lexigrove-cli" "literal rule"
for kind in wildcards spaces letters; do
  for mb in 1 10 100; do
    make_text "$kind" "$mb" >"$dir/in"
    /usr/bin/time -f '%e s %M KB' -o "$dir/t1" "$cli" unscramble - <"$dir/in" >"$dir/out1"
    peer="not run (hours)"
    if [ "$kind" != spaces ]; then
      /usr/bin/time -f '%e s %M KB' -o "$dir/t2" "$naive" <"$dir/in" >"$dir/out2"
      cmp -s "$dir/out1" "$dir/out2" || { echo "results differ for $kind $mb MB" >&2; exit 1; }
      peer="$(cat "$dir/t2")"
    fi
    printf '%-10s %6s  %-22s %-22s\n' "$kind" "$mb" "$(cat "$dir/t1")" "$peer"
  done
done

# Wild with --words on a file of one long word and a pattern half its
# length ending in a letter the word lacks: every place is tried, and the
# time should grow about as the word does, not as the word times the pattern.
printf '\n%-10s %-10s %-22s\n' word pattern "wild --words FILE -"
for letters in 100000 300000 1000000; do
  { head -c "$letters" /dev/zero | tr '\0' a; echo; } >"$dir/word"
  { head -c "$((letters / 2))" /dev/zero | tr '\0' '?'; echo b; } >"$dir/in"
  /usr/bin/time -f '%e s %M KB' -o "$dir/t1" "$cli" wild --words "$dir/word" - <"$dir/in" >"$dir/out1"
  [ ! -s "$dir/out1" ] || { echo "wild found a word it should not" >&2; exit 1; }
  printf '%-10s %-10s %-22s\n' "$letters" "$((letters / 2 + 1))" "$(cat "$dir/t1")"
done
