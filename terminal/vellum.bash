# Bash completion for vellum: its commands and options, category names (after
# "list" and -c), and titles (after "show"), which it asks vellum for, with
# the same --rules as the command line being completed.

# The lines of standard input that start with the text, without regard to
# case (the program matches titles that way), each once.
_vellum_lines_starting() # text
{
    local prefix=${1,,} line
    local -A seen=()
    while IFS= read -r line; do
        [[ ${line,,} == "$prefix"* && -z ${seen[$line]-} ]] || continue
        seen[$line]=1
        printf '%s\n' "$line"
    done
}

# Every title of a category, or of every category (the list indents them
# under their category's name). Arguments: the category, then --rules FILE.
_vellum_titles() # category [--rules file]
{
    local category=$1
    shift
    if [[ -n $category ]]; then
        vellum list "$category" --color never "$@" 2>/dev/null
    else
        vellum list --color never "$@" 2>/dev/null | sed -n 's/^  //p'
    fi
}

# A word of the command line without the quotes and backslashes typed.
_vellum_unquoted() # word
{
    local word=${1//\\/}
    word=${word//\"/}
    printf '%s' "${word//\'/}"
}

_vellum()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command= category= i word
    local rules=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
        --rules)
            rules=(--rules "$(_vellum_unquoted "${COMP_WORDS[i + 1]}")")
            ((i++))
            ;;
        -c | --category)
            category=$(_vellum_unquoted "${COMP_WORDS[i + 1]}")
            ((i++))
            ;;
        --color | --seed | --width) ((i++)) ;;
        -*) ;;
        *) [[ -z $command ]] && command=$word ;;
        esac
    done

    case $prev in
    --rules)
        COMPREPLY=($(compgen -f -- "$cur"))
        compopt -o filenames 2>/dev/null
        return
        ;;
    --color)
        COMPREPLY=($(compgen -W "auto always never" -- "$cur"))
        return
        ;;
    --seed | --width) return ;;
    esac

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "categories list show find filter roll --rules --help --version" -- "$cur"))
        return
    fi

    local options="--rules --json --help"
    case $command in
    list) options+=" --count --color" ;;
    show) options+=" -c --category --width --color" ;;
    find) options+=" -c --category --color" ;;
    filter) options+=" -c --category --body --color" ;;
    roll) options="--seed --json --rules --help" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # Categories and titles hold blanks: one candidate a line, quoted by
    # readline as file names are; what is typed so far is taken unquoted.
    local typed
    typed=$(_vellum_unquoted "$cur")
    local IFS=$'\n'
    if [[ $prev == -c || $prev == --category || ($command == list && $prev == list) ]]; then
        COMPREPLY=($(vellum categories "${rules[@]}" 2>/dev/null | _vellum_lines_starting "$typed"))
    elif [[ $command == show ]]; then
        COMPREPLY=($(_vellum_titles "$category" "${rules[@]}" | _vellum_lines_starting "$typed"))
    fi
    compopt -o filenames 2>/dev/null
}

complete -F _vellum vellum
