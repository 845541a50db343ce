<?php
// zevoseek.php - pseudo-streaming for the Flash player.
//
// The player asks for zevoseek.php?file=NAME.flv&start=BYTES when the viewer jumps to a part of
// the video that has not been downloaded yet; BYTES is the file position of a key frame taken
// from the video's metadata. The answer is a complete FLV stream the player can start on: the
// FLV file header followed by the video from that position. Without a usable position the whole
// file is sent.
//
// Only FLV files lying in this script's own folder are served, judged by where a name finally
// leads. Anything else - another folder, another kind of file, a link pointing elsewhere or at a
// file of another kind - is answered as not found, so the script cannot be used to read the rest
// of the web site.

// "FLV", version 1, audio and video present, header size 9, then the first previous-tag size 0.
const FLV_HEADER = "FLV\x01\x05\x00\x00\x00\x09\x00\x00\x00\x00";

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

function send(string $path): void
{
    $size = filesize($path);
    $video = $size === false ? false : fopen($path, 'rb');
    if ($video === false) {
        notFound();
        return;
    }
    $start = startPosition($_GET['start'] ?? null, $size);
    if ($start > 0 && fseek($video, $start) !== 0) {
        $start = 0;
        rewind($video);
    }
    while (ob_get_level() > 0) {
        ob_end_clean();
    }
    header('Content-Type: video/x-flv');
    header('Content-Length: ' . ($start > 0 ? strlen(FLV_HEADER) + $size - $start : $size));
    header('Cache-Control: no-cache');
    if ($start > 0) {
        echo FLV_HEADER;
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
