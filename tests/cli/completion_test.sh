#!/usr/bin/env bash
# The bash completion of lexigrove-cli, driven as bash drives it: the words
# typed so far in COMP_WORDS, the one being completed in COMP_CWORD.
#   completion_test.sh PATH/TO/lexigrove-cli.bash-completion
set -u
source "$1"
failed=0

# expect "WORDS TYPED" "EXPECTED REPLIES" (the last word is the one completed)
expect() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _lexigrove_cli
    local got="${COMPREPLY[*]}"
    if [ "$got" != "$2" ]; then
        echo "completing '$1': expected '$2', got '$got'" >&2
        failed=1
    fi
}

expect "lexigrove-cli " "unscramble wild exact --help --version"
expect "lexigrove-cli un" "unscramble"
expect "lexigrove-cli --h" "--help"
expect "lexigrove-cli unscramble --" "--lengths --words --count --no-separator --help --"
expect "lexigrove-cli exact --" "--words --count --no-separator --help --"
expect "lexigrove-cli wild --c" "--count"
expect "lexigrove-cli unscramble --l" "--lengths"
expect "lexigrove-cli unscramble --lengths 1" "10 11 12 13 14 15"
expect "lexigrove-cli unscramble --lengths 3,5-1" "3,5-10 3,5-11 3,5-12 3,5-13 3,5-14 3,5-15"
expect "lexigrove-cli unscramble --lengths = 2-1" "2-10 2-11 2-12 2-13 2-14 2-15"
expect "lexigrove-cli wild --lengths 1" ""
expect "lexigrove-cli unscramble -- --" ""
expect "lexigrove-cli unscramble grove" ""

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
touch "$dir/words-a.txt" "$dir/words-b.txt"
expect "lexigrove-cli exact --words $dir/words-" "$dir/words-a.txt $dir/words-b.txt"

[ "$failed" -eq 0 ] && echo "completion_test: all completions as expected"
exit "$failed"
