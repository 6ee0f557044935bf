# bash completion for qmxread-cli: commands, their options, option values
# (rule-set names read from the settings file in use), and file names.

# The rule-set names listed in the settings file $1 (any line ends).
_qmxread_cli_rule_sets()
{
    [[ -r $1 ]] || return 0
    tr '\r' '\n' < "$1" | awk '
        /^\[.*\]$/ { inlist = (toupper($0) == "[RULE_LIST_SETTINGS]"); next }
        inlist && index($0, "=") > 1 {
            key = substr($0, 1, index($0, "=") - 1)
            if (toupper(key) != "COUNT") print substr($0, index($0, "=") + 1)
        }'
}

# The settings file the command line names with --settings, else the one the
# program reports in use.
_qmxread_cli_settings()
{
    local i
    for ((i = 2; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == --settings ]]; then
            local next=${COMP_WORDS[i + 1]}
            [[ $next == = ]] && next=${COMP_WORDS[i + 2]}
            printf '%s\n' "${next/#\~/$HOME}"
            return
        fi
    done
    "${COMP_WORDS[0]/#\~/$HOME}" --help 2>/dev/null | sed -n 's/^Settings file in use: //p'
}

_qmxread_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local IFS=$'\n'
    COMPREPLY=()

    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W $'report\nvariables\nanalyze\nattached\neval\nserver\ncompare\nupdate\nsummary\nlint\n--help\n--version' -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}

    # "--opt=VALUE" reaches us as "--opt" "=" "VALUE".
    local option=$prev
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD >= 3)); then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    else
        [[ $prev == --* ]] || option=
    fi

    case $option in
    --settings | --rules-file | --report)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return ;;
    --dir)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return ;;
    --rule-set)
        COMPREPLY=($(compgen -W "$(_qmxread_cli_rule_sets "$(_qmxread_cli_settings)")" -- "$cur"))
        return ;;
    --baseline)
        COMPREPLY=($(compgen -W $'first\nmajority' -- "$cur"))
        return ;;
    --only)
        COMPREPLY=($(compgen -W $'QMXRead.ini\nQMXScan.ini' -- "$cur"))
        return ;;
    --format)
        case $command in
        lint) COMPREPLY=($(compgen -W $'gcc\njson' -- "$cur")) ;;
        analyze) COMPREPLY=($(compgen -W $'json\njsonl' -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W json -- "$cur")) ;;
        esac
        return ;;
    --severity)
        COMPREPLY=($(compgen -W error -- "$cur"))
        return ;;
    --explain) return ;;
    esac

    local options
    case $command in
    report | variables) options=$'--settings\n--rule-set\n--rules-file\n--debug\n--no-rules\n--help' ;;
    analyze) options=$'--settings\n--rule-set\n--rules-file\n--debug\n--no-rules\n--jobs\n--summary\n--csv\n--format\n--since\n--help' ;;
    summary) options=$'--csv\n--format\n--since\n--help' ;;
    compare) options=$'--csv\n--differences\n--baseline\n--help' ;;
    update) options=$'--settings\n--dir\n--only\n--help' ;;
    lint) options=$'--settings\n--rule-set\n--rules-file\n--report\n--format\n--severity\n--explain\n--help' ;;
    *) options=--help ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
    eval | update | lint) return ;; # a condition, or no operands at all
    attached) ((COMP_CWORD == 2)) || return ;; # then the name of an attached file
    esac
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
}

complete -F _qmxread_cli qmxread-cli
