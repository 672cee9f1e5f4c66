# bash completion for zentrel-ctl: commands, their words, and files where a file is taken.
_zentrel_ctl() {
    local cur prev words cword
    _init_completion || return
    case $prev in
        --com) COMPREPLY=($(compgen -W "$(seq 1 19)" -- "$cur")); return ;;
        --device) _filedir; return ;;
        --tcp | --static | --mask | --gateway | --new-mac | --name | --listen) return ;;
    esac
    local i cmd="" sub=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --com | --device | --tcp) ((i++)) ;;
            -*) ;;
            *) if [[ -z $cmd ]]; then cmd=${words[i]}; elif [[ -z $sub ]]; then sub=${words[i]}; fi ;;
        esac
    done
    if [[ -z $cmd ]]; then
        COMPREPLY=($(compgen -W "--com --device --tcp --json --quiet --help --version status
            routing route preset edid beep power ir reboot factory-reset upgrade discover config
            names name export import" -- "$cur"))
        return
    fi
    case $cmd in
        beep | power | ir) [[ -z $sub ]] && COMPREPLY=($(compgen -W "on off" -- "$cur")) ;;
        preset) [[ -z $sub ]] && COMPREPLY=($(compgen -W "list show apply set" -- "$cur")) ;;
        name) [[ -z $sub ]] && COMPREPLY=($(compgen -W "input output" -- "$cur")) ;;
        edid)
            case $sub in
                "") COMPREPLY=($(compgen -W "status set copy upload decode" -- "$cur")) ;;
                upload | decode) _filedir ;;
            esac ;;
        upgrade | export | import) _filedir ;;
        discover) COMPREPLY=($(compgen -W "--listen --udp-on-any-network" -- "$cur")) ;;
        config) COMPREPLY=($(compgen -W "--auto --static --mask --gateway --new-mac
            --udp-on-any-network" -- "$cur")) ;;
    esac
} && complete -F _zentrel_ctl zentrel-ctl
