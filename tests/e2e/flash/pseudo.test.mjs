// Pseudo-streaming under the Flash emulator: vidlark-cli generates a page in Pseudo mode with HTML5
// off, php's built-in server serves the output folder (the page, the skin, the video and the seek
// script zevoseek.php, which it runs), and a click far ahead on the seek bar, beyond the part
// downloaded so far, must ask the seek script for the file from one of the keyframe positions of
// the video's metadata, and the picture must then show that later part of the video. The video's
// brightness grows with its time, so the canvas tells which second is on show. Done for the two
// families of FLV video: Sorenson H.263 with MP3, and H.264 with AAC (which plays after a seek only
// when the seek script sends the sequence headers along).
import assert from 'node:assert/strict';
import {execFileSync, spawn, spawnSync} from 'node:child_process';
import {existsSync, mkdirSync, symlinkSync} from 'node:fs';
import {createServer} from 'node:net';
import {join} from 'node:path';
import {after, it} from 'node:test';

import {withVisits} from '../lib/browser.mjs';
import {chromiumSuite} from '../lib/chromiumSuite.mjs';
import {announceFlashPlugin, emulatorSkipReason, FIRST_FRAME_MS} from '../lib/emulator.mjs';
import {readMetadata} from '../lib/flvMetadata.mjs';
import {generate} from '../lib/generate.mjs';
import {playerSize} from '../lib/installation.mjs';
import {caseFolders, writeSiteProfile} from '../lib/sites.mjs';

const cli = process.env.VIDLARK_CLI;
const php = spawnSync('php', ['--version']);
const skip = emulatorSkipReason(cli) ||
    (php.error || php.status !== 0 ? 'e2e prerequisites missing: php (Debian package php-cli)'
                                   : false);

// Long enough that a click at half the bar lands 15 s in: a player that waits for its clock is
// then told apart from one that is only slow on a busy machine.
const SECONDS = 30;
// The picture's grey level rises by this much per second of video (0 at the start).
const GREY_PER_SECOND = 8;
// While the first request downloads at this rate, a click far ahead lands beyond what has arrived.
const SLOW_BYTES_PER_SECOND = 24 * 1024;


// A grey picture whose level tells the time, with a noisy strip at the right that makes the file
// (about 60 to 75 KB a second) arrive slower than it plays at SLOW_BYTES_PER_SECOND. One keyframe a
// second.
function makeFlv(folder, name, codecs) {
    const flv = join(folder, `${name}.flv`);
    // Limited-range luma: 16 is black, 219 steps up to white.
    const luma = `16+T*${GREY_PER_SECOND}*219/255`;
    execFileSync('ffmpeg', [
        '-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
        `nullsrc=size=320x180:rate=25:duration=${SECONDS},format=yuv420p,` +
            `geq=lum='if(lt(X,280),${luma},random(1)*255)':cb=128:cr=128`,
        '-f', 'lavfi', '-i', `sine=frequency=440:duration=${SECONDS}`, ...codecs, '-g', '25',
        '-b:v', '400k', '-ar', '44100', '-f', 'flv', flv
    ]);
    return flv;
}

function freePort() {
    return new Promise((resolve, reject) => {
        const probe = createServer();
        probe.on('error', reject);
        probe.listen(0, '127.0.0.1', () => {
            const {port} = probe.address();
            probe.close(() => resolve(port));
        });
    });
}

async function startPhp(folder) {
    const port = await freePort();
    const child = spawn('php', ['-S', `127.0.0.1:${port}`, '-t', folder], {stdio: 'ignore'});
    const url = `http://127.0.0.1:${port}/`;
    for (let attempt = 0; attempt < 100; ++attempt) {
        if (child.exitCode !== null)
            throw new Error(`php -S ended with code ${child.exitCode}`);
        try {
            await fetch(url);
            return {port, child, log: []};
        } catch {
            await new Promise((done) => setTimeout(done, 50));
        }
    }
    child.kill();
    throw new Error(`php -S did not answer at ${url}`);
}

// The mean grey level of a box of the emulator's canvas (stage coordinates), or null without one.
async function greyLevel(page, box) {
    return page.evaluate((box) => {
        const canvas = document.querySelector('ruffle-embed, ruffle-object')
                           ?.shadowRoot?.querySelector('canvas');
        const context = canvas?.getContext('2d');
        if (!context)
            return null;
        const scale = canvas.width / canvas.clientWidth;
        const data = context.getImageData(Math.round(box.x * scale), Math.round(box.y * scale),
            Math.round(box.width * scale), Math.round(box.height * scale)).data;
        let sum = 0;
        for (let i = 0; i < data.length; i += 4)
            sum += (data[i] + data[i + 1] + data[i + 2]) / 3;
        return sum / (data.length / 4);
    }, box);
}

// php serves each case's output folder, so the suite starts no server of its own.
chromiumSuite('pseudo-streaming under the emulator', {skip, prefix: 'vidlark-pseudo-', server: false},
              (suite) => {
    const servers = [];

    after(() => {
        for (const server of servers)
            server.child.kill();
    });

    const cases = [
        {name: 'H.263 and MP3', file: 'sorenson', codecs: ['-c:v', 'flv', '-c:a', 'libmp3lame']},
        {name: 'H.264 and AAC', file: 'avc',
         codecs: ['-c:v', 'libx264', '-pix_fmt', 'yuv420p', '-c:a', 'aac']},
    ];

    for (const c of cases) {
        it(`${c.name}: a click far ahead asks the seek script at a keyframe and shows that part`,
           {timeout: 180_000}, async () => {
            const {root, output, appFolder} = caseFolders(cli, suite.work, c.file);
            mkdirSync(join(root, 'clips'));
            const flv = makeFlv(join(root, 'clips'), c.file, c.codecs);
            const server = await startPhp(output);
            servers.push(server);
            const serverPath = `http://127.0.0.1:${server.port}/`;

            const profile = writeSiteProfile(cli, root, {
                StreamingMode: 'SIN3',
                ServerPath: serverPath,
                VideoPath: serverPath,
                PlayerSize: '0',
                AutoPlay: '0',
            });
            generate({cli, appFolder, profile, output, clips: {flv}});
            // The emulator beside the page, as the upload of a page without HTML5 carries it.
            if (!existsSync(join(output, 'ruffle')))
                symlinkSync(join(appFolder, 'ruffle'), join(output, 'ruffle'));
            const video = join(output, `${c.file}.flv`);
            const {keyframes, duration} = readMetadata(video);
            assert.ok(keyframes?.filepositions?.length >= SECONDS - 1,
                      `flvmdi wrote no usable keyframe index: ${JSON.stringify(keyframes)}`);

            await withVisits(suite.browser, {log: server.log}, async (open) => {
                const visit = await open('about:blank');
                const {page, context} = visit;
                await context.addInitScript(announceFlashPlugin);
                const seekRequests = [];
                page.on('request', (request) => {
                    const url = new URL(request.url());
                    server.log.push({path: url.pathname + url.search, status: '->'});
                    if (url.pathname === '/zevoseek.php')
                        seekRequests.push(url.searchParams);
                });
                await page.goto(`${serverPath}onlinetest.html`);
                await page.addScriptTag({url: `${serverPath}ruffle/ruffle.js`});
                await page.waitForFunction(
                    () => document.querySelector('ruffle-embed, ruffle-object')
                              ?.shadowRoot?.querySelector('canvas'),
                    null, {timeout: FIRST_FRAME_MS});
                const {width, height} = playerSize(appFolder, 0);
                const grey = {x: 20, y: 20, width: 100, height: height - 40};
                const box = await page.locator('ruffle-embed, ruffle-object').boundingBox();

                // The emulator has loaded; from now on the video arrives slowly.
                const cdp = await context.newCDPSession(page);
                await cdp.send('Network.enable');
                await cdp.send('Network.emulateNetworkConditions', {
                    offline: false, latency: 0, downloadThroughput: SLOW_BYTES_PER_SECOND,
                    uploadThroughput: -1,
                });
                await page.waitForTimeout(1_000);  // the movie reads its configuration
                await page.mouse.click(box.x + width / 2, box.y + height / 2);  // big play button
                const deadline = Date.now() + FIRST_FRAME_MS;
                let before = await greyLevel(page, grey);
                while ((before === null || before < GREY_PER_SECOND / 2) && Date.now() < deadline) {
                    await page.waitForTimeout(200);
                    before = await greyLevel(page, grey);
                }
                assert.ok(before >= GREY_PER_SECOND / 2,
                          `the video does not play from its start (grey ${before})`);
                assert.equal(seekRequests.length, 1, 'one request for the whole file');
                assert.equal(seekRequests[0].get('file'), `${c.file}.flv`);
                assert.equal(seekRequests[0].get('start'), '0');
                const shownBefore = before / GREY_PER_SECOND;

                // The seek bar runs from just right of the play button to the time display.
                await page.mouse.click(box.x + width * 0.5, box.y + height + 15);
                while (seekRequests.length < 2 && Date.now() < deadline + FIRST_FRAME_MS)
                    await page.waitForTimeout(100);
                assert.equal(seekRequests.length, 2, 'the click asked the seek script nothing');
                const start = Number(seekRequests[1].get('start'));
                const k = keyframes.filepositions.indexOf(start);
                assert.ok(k > 0, `start=${start} is no keyframe position of ${keyframes.filepositions}`);
                const target = keyframes.times[k];
                assert.ok(target >= duration / 3 && target > shownBefore + 2,
                          `the click at half the bar's width went to ${target} s of ${duration} s`);
                await cdp.send('Network.emulateNetworkConditions', {
                    offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1,
                });

                // The picture shows the keyframe's part and plays on from there. A player that
                // only waited for the emulator's restarted clock to reach the keyframe's time
                // would show black for `target` seconds first; it takes a fraction of a second.
                let after = await greyLevel(page, grey);
                // Most of the way to `target` seconds leaves room for a busy machine and still
                // tells such a player apart.
                const seen = Date.now() + target * 1_000 * 0.8;
                while (after / GREY_PER_SECOND < target - 0.5 && Date.now() < seen) {
                    await page.waitForTimeout(100);
                    after = await greyLevel(page, grey);
                }
                const shown = after / GREY_PER_SECOND;
                assert.ok(shown >= target - 0.5 && shown <= target + 2,
                          `after the seek to ${target} s the picture shows ${shown.toFixed(1)} s`);
                await page.waitForTimeout(1_500);
                const later = await greyLevel(page, grey);
                assert.ok(later > after + GREY_PER_SECOND / 2,
                          `the picture stands still after the seek (${after} then ${later})`);
                assert.deepEqual(visit.problems.pageErrors, [], 'script errors on the page');
            });
        });
    }
});
