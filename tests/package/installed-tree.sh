#!/usr/bin/env bash
# An installation under a prefix of its own (as in /opt/vidlark, or a DESTDIR), made by
# `cmake --install` from the build: the programs find their files relative to themselves, write
# each user's files in the XDG folders (or their defaults under HOME) and leave the installed tree
# as installed. Usage: installed-tree.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

prefix="$work/opt/vidlark"
cmake --install "$build" --prefix "$prefix" >/dev/null
tree() { find "$prefix" -printf '%p %s %T@\n' | sort; }
installed=$(tree)
cli="$prefix/bin/vidlark-cli"

mkdir -p "$work/in" "$work/home" "$work/out1" "$work/out2"
ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=1 \
    -f lavfi -i sine=duration=1 -c:v flv1 -c:a libmp3lame -ar 44100 "$work/in/clip.flv"
mapfile -t demo < <(grep -v '^#' "$source/support/demo/demo.txt")
"$cli" profile write "$work/in/p.epe" "${demo[@]}" Html5=1 >/dev/null

# run OUTPUT [VARIABLE=VALUE ...]
run() {
    local output=$1
    shift
    env -i PATH=/usr/bin:/bin HOME="$work/home" "$@" "$cli" generate --profile "$work/in/p.epe" \
        --output "$output" --flash "$work/in/clip.flv" --make-mp4 >"$work/run.log" 2>&1 ||
        { cat "$work/run.log"; fail "the run ended with an error"; }
}
expect() {
    for path in "$@"; do [ -s "$path" ] || fail "$path was not written"; done
}

# Defaults under HOME; the MP4 copy proves the FFmpeg module was found in the installed tree.
run "$work/out1"
expect "$work/out1/clip.mp4" "$work/out1/onlinetest.html" \
    "$work/home/.config/vidlark/configsv.txt" "$work/home/.config/vidlark/configvws.txt" \
    "$work/home/.cache/vidlark/temp/do-not-upload.html"

# The XDG folders where they are set.
rm "$work/in/clip.mp4"
run "$work/out2" XDG_CONFIG_HOME="$work/xdg-config" XDG_CACHE_HOME="$work/xdg-cache"
expect "$work/out2/clip.mp4" "$work/xdg-config/vidlark/configsv.txt" \
    "$work/xdg-cache/vidlark/temp/do-not-upload.html"

[ "$(tree)" = "$installed" ] || fail "the installed tree changed"
echo "installed tree: ok"
