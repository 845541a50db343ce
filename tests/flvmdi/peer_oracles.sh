#!/usr/bin/env bash
# Peer oracles for flvmdi: FLV files made by ffmpeg are injected with "flvmdi /k /l", then read by
# other programs. flvmeta --check must find no error, ffprobe must read the duration without a
# complaint, and check_injected.py must find every keyframe position on a keyframe tag, every
# audio, video and cue point tag of the original unchanged and in order, and the picture size
# that ffprobe decodes. A second run must leave the file byte for byte as it is.
# Usage: peer_oracles.sh path/to/flvmdi        (exit 77: a peer program is missing)
set -euo pipefail
flvmdi=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in ffmpeg ffprobe flvmeta python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ff() { ffmpeg -v error -y "$@"; }
src_video() { echo "-f lavfi -i testsrc=size=$1:rate=$2"; }
tone="-f lavfi -i sine=frequency=440:sample_rate=44100"

# shellcheck disable=SC2046
{
ff $(src_video 320x240 25) $tone -t 6 -c:v flv1 -g 50 -c:a libmp3lame h263_mp3.flv
ff $(src_video 642x362 30) -f lavfi -i sine=sample_rate=48000 -t 6 -pix_fmt yuv420p \
    -c:v libx264 -g 60 -c:a aac h264_aac.flv
ff $(src_video 200x150 5) -t 4 -pix_fmt bgr24 -c:v flashsv screen_video.flv
ff $tone -t 5 -ar 22050 -c:a libmp3lame audio_only.flv
ff $(src_video 176x144 15) -t 5 -an -c:v flv1 -g 30 video_only.flv
printf '1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,500\r\nWorld\r\n' > cues.srt
ff $(src_video 160x120 15) -i cues.srt -t 5 -c:v flv1 -c:s text text_cues.flv
# Timestamps that pass 2^24 ms and need the extended timestamp byte.
ff $(src_video 160x120 10) -t 6 -c:v flv1 -g 20 -output_ts_offset 16775 extended_times.flv
}
python3 "$here/check_injected.py" --add-cue-points h263_mp3.flv cue_points.flv
cp h264_aac.flv injected_before.flv
"$flvmdi" /k /l injected_before.flv >/dev/null  # its metadata is ours from an earlier run

failures=0
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }

for f in *.flv; do
    cp "$f" "$f.orig"
    if ! out=$("$flvmdi" /k /l "$f" 2>&1); then
        fail "$f" "flvmdi failed: $out"
        continue
    fi
    check=$(flvmeta --check "$f" 2>&1 || true)
    summary=$(printf '%s\n' "$check" | tail -n 1)
    case "$summary" in
        "0 error(s)"*) ;;
        *) fail "$f" "flvmeta --check: $check" ;;
    esac
    # ffprobe names onLastSecond and text tracks as data streams it cannot decode; what matters
    # is that it takes the keyframe index and the metadata without an error.
    probe_err=$(ffprobe -v warning -show_entries format=duration -of csv=p=0 "$f" 2>&1 >/dev/null |
        grep -i -E 'keyframe|invalid|error|fail' || true)
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f")
    [ -z "$probe_err" ] || fail "$f" "ffprobe complains: $probe_err"
    case "$duration" in
        ""|N/A|0|0.000000) fail "$f" "ffprobe reads no duration ($duration)" ;;
    esac
    size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$f")
    python3 "$here/check_injected.py" "$f.orig" "$f" "$size" || fail "$f" "check_injected.py"
    cp "$f" "$f.first"
    "$flvmdi" -l -k "$f" >/dev/null || fail "$f" "second run failed"
    cmp -s "$f" "$f.first" || fail "$f" "second run changed the file"
    echo "ok $f: duration $duration, flvmeta: $summary"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all peer checks passed"
