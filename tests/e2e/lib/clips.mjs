// Short test videos made with ffmpeg: a few seconds of a test pattern at 160x90 in the three
// formats a page uses, named `name`.flv, .mp4 and .webm.
import {execFileSync} from 'node:child_process';
import {join} from 'node:path';

function ffmpeg(args) {
    execFileSync('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-y', ...args], {stdio: 'pipe'});
}

function hasEncoder(name) {
    const list = execFileSync('ffmpeg', ['-hide_banner', '-encoders'], {encoding: 'utf8'});
    return new RegExp(`^\\s*V\\S*\\s+${name}\\s`, 'm').test(list);
}

export function makeClips(folder, {name = 'clip', seconds = 2} = {}) {
    const source = ['-f', 'lavfi', '-i', `testsrc=size=160x90:rate=25:duration=${seconds}`, '-an'];
    const clips = {
        flv: join(folder, `${name}.flv`),
        mp4: join(folder, `${name}.mp4`),
        webm: join(folder, `${name}.webm`),
    };
    const h264 = hasEncoder('libx264');
    ffmpeg([
        ...source, '-c:v', h264 ? 'libx264' : 'mpeg4', ...(h264 ? ['-pix_fmt', 'yuv420p'] : []),
        '-movflags', '+faststart', clips.mp4
    ]);
    ffmpeg([...source, '-c:v', 'libvpx', '-b:v', '200k', clips.webm]);
    ffmpeg([...source, '-c:v', 'flv', clips.flv]);
    return clips;
}

// A Flash video alone, as most users have them: H.263 and MP3, `seconds` long, `name`.flv.
// H.263 + MP3 by default; `h264` gives H.264 with B-frames + AAC, which the copy remuxes.
const FLASH_CODECS = {
    h263: ['-c:v', 'flv', '-c:a', 'libmp3lame'],
    h264: ['-c:v', 'libx264', '-preset', 'veryfast', '-bf', '2', '-x264-params', 'b-adapt=0',
           '-pix_fmt', 'yuv420p', '-c:a', 'aac'],
};

export function makeFlashOnly(folder, {name = 'clip', seconds = 2, codecs = 'h263'} = {}) {
    const flv = join(folder, `${name}.flv`);
    ffmpeg([
        '-f', 'lavfi', '-i', `testsrc=size=160x90:rate=25:duration=${seconds}`, '-f', 'lavfi', '-i',
        `sine=frequency=440:sample_rate=22050:duration=${seconds}`, ...FLASH_CODECS[codecs], flv
    ]);
    return {flv};
}

// An FLV of solid colours (each RRGGBB), `seconds` each, one after the other, 320x180, a keyframe
// every second: the canvas's colour tells the videos apart and from anything drawn over them.
export function makeColourFlv(path, colours, seconds) {
    const inputs = colours.flatMap(
        (c) => ['-f', 'lavfi', '-i', `color=c=0x${c}:s=320x180:r=25:d=${seconds}`]);
    const joined = colours.map((_, i) => `[${i}:v]`).join('') + `concat=n=${colours.length}:v=1:a=0[v]`;
    ffmpeg([...inputs, '-filter_complex', joined, '-map', '[v]', '-c:v', 'flv', '-q:v', '2', '-g', '25', path]);
    return path;
}
