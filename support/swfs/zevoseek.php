<?php
// zevoseek.php - pseudo-streaming for the Flash player.
//
// The player asks for zevoseek.php?file=NAME.flv&start=BYTES when the viewer jumps to a part of
// the video that has not been downloaded yet; BYTES is the file position of a key frame taken
// from the video's metadata. The answer is a complete FLV stream the player can start on: the
// FLV file header followed by the video from that position. Without a usable position the whole
// file is sent.
//
// An H.264 or AAC decoder cannot start in the middle of a stream: it needs the configuration
// tags (AVC and AAC sequence headers) that the file carries once, before its first picture or
// sound. So when the file's head holds such tags, they go between the header and the tags from
// BYTES, behind the metadata tag (the emulator plays H.264 only once it knows the picture's size
// and rate). Videos without them (Sorenson H.263, VP6, MP3) get the header and the tags from BYTES
// alone.
//
// Only FLV files lying in this script's own folder are served, judged by where a name finally
// leads. Anything else - another folder, another kind of file, a link pointing elsewhere or at a
// file of another kind - is answered as not found, so the script cannot be used to read the rest
// of the web site.

// "FLV", version 1, audio and video present, header size 9, then the first previous-tag size 0.
const FLV_HEADER = "FLV\x01\x05\x00\x00\x00\x09\x00\x00\x00\x00";

// How far the head is searched for configuration tags. They come right after the metadata, whose
// keyframe index makes it a few hundred KB for a long video; a file that has not reached its first
// picture or sound by then is not one this script can improve, and a damaged one must not make
// every request read on and on.
const HEAD_MAX_TAGS = 64;
const HEAD_MAX_BYTES = 16 * 1024 * 1024;

const TAG_AUDIO = 8;
const TAG_VIDEO = 9;
const TAG_SCRIPT = 18;

function notFound(): void
{
    http_response_code(404);
    header('Content-Type: text/plain');
    echo "Not found\n";
}

// The requested video's full path, or null when the name is refused or no such video exists.
function videoPath(mixed $file): ?string
{
    if (!is_string($file) || $file !== basename($file)
        || !preg_match('/^[A-Za-z0-9._ -]+\.flv$/iD', $file)) {
        return null;
    }
    $folder = realpath(__DIR__);
    $path = realpath(__DIR__ . DIRECTORY_SEPARATOR . $file);
    // The name asked for may be a link; what counts is the file it ends at, which must itself be
    // a video of this folder: a link "cfg.flv" to the site's config.php must not serve the latter.
    if ($folder === false || $path === false || dirname($path) !== $folder || !is_file($path)
        || !preg_match('/\.flv$/iD', $path)) {
        return null;
    }
    return $path;
}

// The position to start at: a plain decimal number inside the file, else 0 for the whole file.
function startPosition(mixed $start, int $size): int
{
    if (!is_string($start) || !preg_match('/^[0-9]+$/D', $start)) {
        return 0;
    }
    $digits = ltrim($start, '0');
    if ($digits === '' || strlen($digits) > 18) {  // zero, or beyond any file we could serve
        return 0;
    }
    $position = (int) $digits;
    return $position < $size ? $position : 0;
}

function readAt($video, int $offset, int $length): ?string
{
    if (fseek($video, $offset) !== 0) {
        return null;
    }
    $bytes = fread($video, $length);
    return is_string($bytes) && strlen($bytes) === $length ? $bytes : null;
}

// The tags a decoder needs before the tags from $start, as [offset, length] ranges of the file
// (each tag with its previous-tag size), in file order: the metadata tag when it is the first
// tag, then every AVC and AAC sequence header before the first picture or sound. Only tags that
// end at or before $start are taken, so none is sent twice. Empty when the head holds no
// sequence header, and also when it is damaged or cut off: then the answer is what it always was.
function headTags($video, int $size, int $start): array
{
    $header = readAt($video, 0, 9);
    if ($header === null || substr($header, 0, 3) !== 'FLV') {
        return [];
    }
    $dataOffset = unpack('N', substr($header, 5, 4))[1];
    if ($dataOffset < 9 || $dataOffset > 1024) {
        return [];
    }
    $metadata = null;
    $sequenceHeaders = [];
    $offset = $dataOffset + 4;  // behind the first previous-tag size
    for ($count = 0; $count < HEAD_MAX_TAGS && $offset < HEAD_MAX_BYTES; $count++) {
        if ($offset === $size) {
            break;  // a file of nothing but its head
        }
        $tag = readAt($video, $offset, 11);
        if ($tag === null) {
            return [];
        }
        $type = ord($tag[0]);
        $dataSize = unpack('N', "\x00" . substr($tag, 1, 3))[1];
        $end = $offset + 11 + $dataSize + 4;
        if (!in_array($type, [TAG_AUDIO, TAG_VIDEO, TAG_SCRIPT], true) || $end > $size) {
            return [];  // an unknown or encrypted tag, or one cut off
        }
        $trailer = readAt($video, $end - 4, 4);
        if ($trailer === null || unpack('N', $trailer)[1] !== 11 + $dataSize) {
            return [];
        }
        $body = $dataSize === 0 ? '' : readAt($video, $offset + 11, min($dataSize, 13));
        if ($body === null) {
            return [];
        }
        if ($type === TAG_SCRIPT) {
            if ($count === 0 && $body === "\x02\x00\x0aonMetaData") {
                $metadata = [$offset, $end - $offset];
            }
        } elseif (isSequenceHeader($type, $body)) {
            $sequenceHeaders[] = [$offset, $end - $offset];
        } else {
            break;  // the first picture or sound
        }
        $offset = $end;
    }
    if ($sequenceHeaders === []) {
        return [];
    }
    $tags = $metadata === null ? $sequenceHeaders : array_merge([$metadata], $sequenceHeaders);
    return array_values(array_filter($tags, fn(array $t): bool => $t[0] + $t[1] <= $start));
}

// An AVC sequence header (codec 7, packet type 0) or an AAC one (sound format 10, packet type 0).
function isSequenceHeader(int $type, string $body): bool
{
    if (strlen($body) < 2 || $body[1] !== "\x00") {
        return false;
    }
    $first = ord($body[0]);
    return $type === TAG_VIDEO ? ($first & 0x0f) === 7 : ($first >> 4) === 10;
}

function send(string $path): void
{
    $size = filesize($path);
    $video = $size === false ? false : fopen($path, 'rb');
    if ($video === false) {
        notFound();
        return;
    }
    $start = startPosition($_GET['start'] ?? null, $size);
    $head = $start > 0 ? headTags($video, $size, $start) : [];
    if ($start > 0 && fseek($video, $start) !== 0) {
        $start = 0;
        $head = [];
        rewind($video);
    }
    $length = $size;
    if ($start > 0) {
        $length = strlen(FLV_HEADER) + $size - $start;
        foreach ($head as [, $tagLength]) {
            $length += $tagLength;
        }
    }
    while (ob_get_level() > 0) {
        ob_end_clean();
    }
    header('Content-Type: video/x-flv');
    header('Content-Length: ' . $length);
    header('Cache-Control: no-cache');
    if ($start > 0) {
        echo FLV_HEADER;
        $out = fopen('php://output', 'wb');
        foreach ($head as [$tagOffset, $tagLength]) {
            stream_copy_to_stream($video, $out, $tagLength, $tagOffset);
        }
        fclose($out);
        fseek($video, $start);
    }
    fpassthru($video);
    fclose($video);
}

@set_time_limit(0);
$path = videoPath($_GET['file'] ?? null);
if ($path === null) {
    notFound();
} else {
    send($path);
}
