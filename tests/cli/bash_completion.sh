#!/usr/bin/env bash
# The bash completion of vidlark-cli as the build wrote it, asked as bash asks it: COMP_WORDS and
# COMP_CWORD set, the function called, COMPREPLY read.
# Usage: bash_completion.sh COMPLETION_SCRIPT VIDLARK_CLI
set -uo pipefail
source "$1" || exit 1
cli=$2
failures=0

# The offers for a command line whose last word is the one being completed, one a line.
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _vidlark_cli
    printf '%s\n' "${COMPREPLY[@]}"
}

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect_offered "WHAT" OFFERS NAME...: every name is among the offers.
expect_offered() {
    local what=$1 list=$2 name
    shift 2
    for name in "$@"; do
        grep -qxF -- "$name" <<<"$list" || fail "$what: $name not offered (offered: ${list//$'\n'/ })"
    done
}

expect_offered "commands" "$(offers vidlark-cli '')" generate profile serve --help --version
expect_offered "profile" "$(offers vidlark-cli profile '')" show write

list=$(offers vidlark-cli generate --set Sh)
expect_offered "--set Sh" "$list" ShowBigPlayButton= ShowEmbedCode= ShareTitle= ShareURL=
grep -qvx 'Sh.*=' <<<"$list" && fail "--set Sh: offers other than Sh...=: ${list//$'\n'/ }"
expect_offered "profile write" "$(offers vidlark-cli profile write a.epe AutoPlay = 1 Flu)" FluidSize=
[[ -z $(offers vidlark-cli generate --set AutoPlay = '') ]] || fail "a value after KEY= was completed"

# Every key a profile holds completes, and every option --help lists.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" profile write "$work/start.epe" </dev/null || fail "profile write"
keys=$("$cli" profile show "$work/start.epe" | sed -n 's/^\([A-Za-z0-9]*\)=.*/\1=/p')
[[ -n $keys ]] || fail "profile show printed no key"
# shellcheck disable=SC2086
expect_offered "--set" "$(offers vidlark-cli generate --set '')" $keys
options=$("$cli" --help | grep -o -- '--[a-z][a-z0-9-]*' | sort -u)
all=$(offers vidlark-cli -; offers vidlark-cli generate -; offers vidlark-cli serve -)
# shellcheck disable=SC2086
expect_offered "options of --help" "$all" $options

# Files by their kind, folders to go down into, and names with blanks kept whole.
mkdir "$work/sub"
touch "$work/my clip.epe" "$work/b.epe" "$work/notes.txt"
list=$(offers vidlark-cli generate --profile "$work/")
expect_offered "--profile" "$list" "$work/my clip.epe" "$work/b.epe" "$work/sub"
grep -qxF "$work/notes.txt" <<<"$list" && fail "--profile offered notes.txt"

((failures == 0)) && echo "completion: ok"
((failures == 0))
