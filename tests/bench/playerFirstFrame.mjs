// Page to first frame in headless Chromium: a generated page with HTML5 off, playing its FLV
// through the Flash skin under the bundled emulator, side by side with the same video generated
// with HTML5 on, where the browser plays the MP4 in its own video element. Both pages are served
// on 127.0.0.1 from their output folders; every round opens a fresh browser context (a first
// visit: nothing cached). Prints one line per round and the medians; asserts nothing.
//
//   node tests/bench/playerFirstFrame.mjs VIDLARK_CLI [ROUNDS]
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';

import {launchBrowser, openPage} from '../e2e/lib/browser.mjs';
import {generate} from '../e2e/lib/generate.mjs';
import {caseFolders, writeSiteProfile} from '../e2e/lib/sites.mjs';
import {startServer} from '../e2e/lib/staticServer.mjs';

const [cliArgument, roundsText = '5'] = process.argv.slice(2);
if (!cliArgument) {
    console.error('usage: node tests/bench/playerFirstFrame.mjs VIDLARK_CLI [ROUNDS]');
    process.exit(2);
}
// Absolute: the application folders made below link to the build's files.
const cli = resolve(cliArgument);
const rounds = Number(roundsText);

function ffmpeg(args) {
    execFileSync('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-y', ...args]);
}

// The same colourful six seconds as classic Flash video and as H.264 for the video element.
function makeClips(folder) {
    const source = ['-f', 'lavfi', '-i', 'testsrc=size=480x270:rate=25:duration=6', '-f', 'lavfi',
                    '-i', 'sine=frequency=440:duration=6'];
    const clips = {flv: join(folder, 'clip.flv'), mp4: join(folder, 'clip.mp4'),
                   webm: join(folder, 'clip.webm')};
    ffmpeg([...source, '-c:v', 'flv', '-g', '25', '-c:a', 'libmp3lame', '-ar', '44100', clips.flv]);
    ffmpeg([...source, '-c:v', 'libx264', '-pix_fmt', 'yuv420p', '-c:a', 'aac', '-movflags',
            '+faststart', clips.mp4]);
    ffmpeg([...source, '-t', '1', '-c:v', 'libvpx', '-c:a', 'libvorbis', clips.webm]);
    return clips;
}

function makeSite(work, server, name, html5, clips) {
    const {root, output, appFolder} = caseFolders(cli, work, name);
    const serverPath = `http://127.0.0.1:${server.port}/${name}/`;
    const profile = writeSiteProfile(
        cli, root, {ServerPath: serverPath, Html5: html5 ? '1' : '0', AutoPlay: '1'});
    generate({cli, appFolder, profile, output, clips, html5Files: html5});
    server.mount(`/${name}/`, output);
    return `${serverPath}onlinetest.html`;
}

// Milliseconds from the start of navigation until the page shows a frame of the video: the
// emulator's canvas with picture in it, or a video element holding its first frame (which it
// then shows, whether or not it starts by itself).
const firstFrame = {
    flash: () => {
        const canvas = document.querySelector('ruffle-embed, ruffle-object')
                           ?.shadowRoot?.querySelector('canvas');
        const context = canvas?.getContext('2d');
        if (!context || canvas.width === 0)
            return false;
        const data = context.getImageData(0, 0, canvas.width, Math.floor(canvas.height / 2)).data;
        for (let i = 0; i < data.length; i += 64)
            if (data[i] + data[i + 1] + data[i + 2] > 120)
                return performance.now();
        return false;
    },
    html5: () => {
        const video = document.querySelector('video');
        return video && video.readyState >= 2 ? performance.now() : false;
    },
};

async function measure(browser, url, kind) {
    const {context, page} = await openPage(browser, url);
    try {
        const handle = await page.waitForFunction(firstFrame[kind], null,
                                                  {polling: 'raf', timeout: 60_000});
        return Math.round(await handle.jsonValue());
    } catch (error) {
        if (process.env.VIDLARK_SHOTS)
            await page.screenshot({path: join(process.env.VIDLARK_SHOTS, `${kind}.png`)});
        throw new Error(`${kind}: no first frame within a minute at ${url}`, {cause: error});
    } finally {
        await context.close();
    }
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

const work = mkdtempSync(join(tmpdir(), 'vidlark-bench-'));
const server = await startServer();
const browser = await launchBrowser();
try {
    mkdirSync(join(work, 'clips'));
    const clips = makeClips(join(work, 'clips'));
    const pages = {flash: makeSite(work, server, 'flash', false, clips),
                   html5: makeSite(work, server, 'html5', true, clips)};
    const times = {flash: [], html5: []};
    console.log('round  Flash skin under the emulator (ms)  HTML5 video element (ms)');
    for (let round = 1; round <= rounds; ++round) {
        for (const kind of ['flash', 'html5'])
            times[kind].push(await measure(browser, pages[kind], kind));
        console.log(`${String(round).padStart(5)}  ${String(times.flash.at(-1)).padStart(34)}  ` +
                    `${String(times.html5.at(-1)).padStart(24)}`);
    }
    console.log(`median ${String(median(times.flash)).padStart(33)}  ` +
                `${String(median(times.html5)).padStart(24)}`);
} finally {
    await browser.close();
    await server.close();
    rmSync(work, {recursive: true, force: true});
}
