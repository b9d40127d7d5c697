#!/bin/bash
# The bash completion of vellum: what each command line being typed is
# completed with, asked of the built program.
#   vellum_completion_test.sh <vellum.bash> <folder of the vellum program>
set -u
source "$1"
PATH=$2:$PATH
failures=0

# expect "what is typed" "the completions, each in brackets" word...
expect() {
    local what=$1 want=$2
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _vellum 2>/dev/null
    local got
    got=$(printf '[%s]' "${COMPREPLY[@]}")
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: got $got, want $want"
        failures=$((failures + 1))
    fi
}

expect "a command" "[show]" vellum sh
expect "an option of the program" "[--rules]" vellum --ru
expect "an option of a command" "[--body]" vellum filter --b
expect "a category after list" "[Monsters - Animals & Vermin][Monsters - Templates]" vellum list "monsters "
expect "a category after -c" "[Skills]" vellum find -c sk
expect "a title, without regard to case" "[Acid Bead][Acid Lance]" vellum show "acid "
expect "a title of the category chosen" "[Damage Reduction][Darkvision][Disease]" vellum show -c '"Special Abilities"' d
expect "twin titles once, after an opening quote" "[Toughness]" vellum show '"tough'
expect "a title with a typographic apostrophe" "[Keeper’s Ward]" vellum show keeper
expect "nothing for a word to find" "[]" vellum find fir
[ "$failures" -eq 0 ] && echo "all completions as expected"
exit "$failures"
