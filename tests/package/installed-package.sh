#!/usr/bin/env bash
# The Debian package as its users meet it: built by scripts/package, installed with apt-get, used
# by two unprivileged users with fresh homes (generation with HTML5 copies, the desktop program,
# the local test page's server, both users at once), then removed with apt-get purge, which must
# leave none of its files. It installs a package and adds two users, so it needs root; elsewhere
# it says so and does nothing.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "$(id -u)" -ne 0 ]; then
    echo "package test skipped: installing the package and adding test users needs root"
    exit 0
fi

step() { echo "package test: $*"; }
fail() {
    echo "package test FAILED: $*" >&2
    exit 1
}

users=(vidlark-test-ann vidlark-test-bob)
work=$(mktemp -d /tmp/vidlark-package-test.XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    for user in "${users[@]}"; do userdel "$user" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

package=$(scripts/package | tail -n 1)
# A package left by an interrupted run goes first, so what follows is this build's.
if dpkg-query -W -f='${Status}' vidlark 2>/dev/null | grep -q 'install ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vidlark >/dev/null
fi
step "installing $package"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$package" >/dev/null
dpkg -L vidlark >"$work/package-files"
installed_before=$(find /usr/share/vidlark /usr/lib/*/vidlark -printf '%p %s %T@\n' | sort)

# The prefix that runs a command as `user`, with only a fresh home and a plain path in its
# environment. A prefix rather than a function, so a command started in the background is the
# process whose id $! gives.
as() {
    AS=(setpriv --reuid "$1" --regid "$1" --init-groups
        env -i HOME="$work/$1" PATH=/usr/bin:/bin LANG=C.UTF-8)
}

# Each user's inputs in their own home: two Flash clips, a single-video profile, a playlist
# profile and a playlist of both clips.
for user in "${users[@]}"; do
    useradd --no-create-home --home-dir "$work/$user" --shell /bin/sh "$user"
    mkdir -p "$work/$user/in" "$work/$user/single" "$work/$user/list" "$work/$user/both"
    ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=2 \
        -f lavfi -i sine=duration=2 -c:v flv1 -c:a libmp3lame -ar 44100 "$work/$user/in/clip.flv"
    cp "$work/$user/in/clip.flv" "$work/$user/in/clip2.flv"
    mapfile -t demo < <(grep -v '^#' support/demo/demo.txt)
    vidlark-cli profile write "$work/$user/in/single.epe" "${demo[@]}" Html5=1 >/dev/null
    vidlark-cli profile write "$work/$user/in/list.epe" "${demo[@]}" Html5=1 StreamingMode=MUL1 >/dev/null
    node --input-type=module -e "
        import {writePlaylist, Position, Layout} from './tests/e2e/lib/playlist.mjs';
        const folder = process.argv[1] + '/';
        writePlaylist(folder + 'list.plf', {position: Position.Right, layout: Layout.TitleOnly,
            html5Files: true, folders: {flash: folder, mp4: folder},
            rows: [{flash: 'clip.flv', title: 'One'}, {flash: 'clip2.flv', title: 'Two'}]});
    " "$work/$user/in"
    chown -R "$user:" "$work/$user"
done
ann=${users[0]}
bob=${users[1]}

expect_files() {
    local folder=$1
    shift
    for name in "$@"; do
        [ -s "$folder/$name" ] || fail "$folder/$name was not written"
    done
}

step "a single video with --make-mp4, as $ann"
as "$ann"
"${AS[@]}" vidlark-cli generate --profile "$work/$ann/in/single.epe" --output "$work/$ann/single" \
    --flash "$work/$ann/in/clip.flv" --make-mp4 >"$work/single.log" 2>&1 ||
    { cat "$work/single.log"; fail "the single-video run ended with an error"; }
expect_files "$work/$ann/single" clip.flv clip.mp4 onlinetest.html
expect_files "$work/$ann/.cache/vidlark/temp" do-not-upload.html zevoconfigsv.xml
expect_files "$work/$ann/.config/vidlark" configsv.txt configvws.txt

step "a playlist with --make-mp4, as $ann"
"${AS[@]}" vidlark-cli generate --profile "$work/$ann/in/list.epe" --output "$work/$ann/list" \
    --playlist "$work/$ann/in/list.plf" --make-mp4 >"$work/list.log" 2>&1 ||
    { cat "$work/list.log"; fail "the playlist run ended with an error"; }
expect_files "$work/$ann/list" clip.flv clip2.flv clip.mp4 clip2.mp4 onlinetest.html

step "the local test page served by vidlark-cli serve, as $ann"
as "$ann"
"${AS[@]}" vidlark-cli serve >"$work/serve.log" 2>&1 &
pids+=($!)
address=""
for _ in $(seq 50); do
    address=$(sed -n 's/^Serving the local test page at \([^ ]*\).*/\1/p' "$work/serve.log")
    [ -n "$address" ] && break
    sleep 0.2
done
[ -n "$address" ] || { cat "$work/serve.log"; fail "vidlark-cli serve gave no address"; }
curl -sf -o "$work/page.html" "$address" || fail "$address did not answer"
grep -q 'zevoswf.js' "$work/page.html" || fail "$address did not serve the local test page"
kill "${pids[-1]}"

step "two users' runs at the same time"
for user in "$ann" "$bob"; do
    as "$user"
    "${AS[@]}" vidlark-cli generate --profile "$work/$user/in/single.epe" \
        --output "$work/$user/both" --flash "$work/$user/in/clip2.flv" --make-mp4 >"$work/$user.log" 2>&1 &
    pids+=($!)
done
for pid in "${pids[@]: -2}"; do
    wait "$pid" || { cat "$work/$ann.log" "$work/$bob.log"; fail "a run of the two at once failed"; }
done
for user in "$ann" "$bob"; do
    expect_files "$work/$user/both" clip2.flv onlinetest.html
    expect_files "$work/$user/.cache/vidlark/temp" do-not-upload.html clip2.flv
    strangers=$(find "$work/$user" ! -user "$user")
    [ -z "$strangers" ] || fail "files in $user's home that are not $user's: $strangers"
done
[ "$(find /usr/share/vidlark /usr/lib/*/vidlark -printf '%p %s %T@\n' | sort)" = \
    "$installed_before" ] || fail "the installation changed while users ran the program"
dpkg --verify vidlark || fail "dpkg --verify found changed files"

step "the desktop program's main window, for both users at once"
display=:97
Xvfb "$display" -nolisten tcp -screen 0 1280x800x24 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.2; done
for user in "$ann" "$bob"; do
    as "$user"
    "${AS[@]}" DISPLAY="$display" vidlark >"$work/$user-desktop.log" 2>&1 &
    pids+=($!)
done
windows=0
for _ in $(seq 100); do
    windows=$(xwininfo -display "$display" -root -tree | grep -c '"Vidlark Streaming Video 14' || true)
    [ "$windows" -ge 2 ] && break
    sleep 0.2
done
[ "$windows" -ge 2 ] || { cat "$work/"*-desktop.log; fail "saw $windows main windows, not 2"; }
kill "${pids[@]: -3}"

step "the manual page"
[ "$(man -w vidlark-cli)" = /usr/share/man/man1/vidlark-cli.1.gz ] ||
    fail "man -w vidlark-cli did not find the installed page"

step "apt-get purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vidlark >/dev/null
while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then fail "$path stayed after the purge"; fi
done <"$work/package-files"
[ ! -e /usr/share/vidlark ] || fail "/usr/share/vidlark stayed after the purge"
step "passed"
