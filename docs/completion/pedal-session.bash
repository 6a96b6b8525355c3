# Bash completion of pedal-session: its commands, their options, the --page names,
# session files and the serial ports a pedal can have.

_pedal_session_files()
{
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        local IFS=$'\n'
        COMPREPLY=($(compgen -f -- "$1"))
    fi
}

_pedal_session()
{
    local cur prev command i
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}

    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "new open json upload send receive watch flash diff setlist check songs import-songs --help --version" -- "$cur"))
        return 0
    fi
    command=${COMP_WORDS[1]}

    case $prev in
        --page)
            COMPREPLY=($(compgen -W "songs setjacks setlist midi global all" -- "$cur"))
            return 0
            ;;
        --port)
            local ports=() p
            for p in /dev/ttyACM* /dev/ttyUSB*; do
                [ -e "$p" ] && ports+=("$p")
            done
            COMPREPLY=($(compgen -W "${ports[*]}" -- "$cur"))
            # Another path, such as a link made by virtual-pedal --link.
            if [ -n "$cur" ] && [[ $cur != /dev/tty* ]]; then
                _pedal_session_files "$cur"
            fi
            return 0
            ;;
        --log)
            # A file, or "-" for standard error.
            _pedal_session_files "$cur"
            [[ -z $cur || $cur == - ]] && COMPREPLY+=("-")
            return 0
            ;;
        -o|--base|--changes-from)
            _pedal_session_files "$cur"
            return 0
            ;;
        --timeout)
            return 0
            ;;
        --format)
            COMPREPLY=($(compgen -W "text csv markdown pdf" -- "$cur"))
            return 0
            ;;
        --layout)
            COMPREPLY=($(compgen -W "stage compact" -- "$cur"))
            return 0
            ;;
    esac

    local options
    case $command in
        new) options="-o" ;;
        open) options="-o --accept-legacy" ;;
        json) options="--accept-legacy" ;;
        upload) options="--page --accept-legacy" ;;
        send) options="--port --page --changes-from --timeout --log --accept-legacy" ;;
        receive) options="--port --page --base -o --timeout --log --accept-legacy" ;;
        watch) options="--port --base --timeout --log --accept-legacy" ;;
        flash) options="--port --log" ;;
        diff) options="--json --accept-legacy" ;;
        setlist) options="--format -o --layout --accept-legacy" ;;
        check) options="--json --accept-legacy" ;;
        songs) options="--csv -o --accept-legacy" ;;
        import-songs) options="-o --accept-legacy" ;;
        *) return 0 ;;
    esac
    options="$options --help"
    # Each option once.
    local word remaining=()
    for word in $options; do
        for ((i = 2; i < COMP_CWORD; i++)); do
            [ "${COMP_WORDS[i]}" = "$word" ] && continue 2
        done
        remaining+=("$word")
    done
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "${remaining[*]}" -- "$cur"))
        return 0
    fi
    case $command in
        open|json|upload|send|watch|flash|diff|setlist|check|songs|import-songs)
            _pedal_session_files "$cur"
            ;;
        *)
            COMPREPLY=($(compgen -W "${remaining[*]}" -- "$cur"))
            ;;
    esac
    return 0
}
complete -F _pedal_session pedal-session
