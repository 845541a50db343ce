// The Flash path of a generated page under the Ruffle emulator: vidlark-cli generates a page with
// HTML5 off for a real FLV (ffmpeg, metadata by flvmdi during the run), the output folder alone
// is served on 127.0.0.1, and what the visitor sees is read from the emulator's canvas. Chromium
// has no Flash plug-in: the page's zevoswf.js loads the emulator the run put into the output
// folder. The same page with HTML5 on keeps to its video; the local preview (vidlark-cli generate
// --serve) plays the local test page.
import assert from 'node:assert/strict';
import {execFileSync, spawn} from 'node:child_process';
import {existsSync, mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';

import {withVisits} from '../lib/browser.mjs';
import {chromiumSuite} from '../lib/chromiumSuite.mjs';
import {makeClips} from '../lib/clips.mjs';
import {emulatorSkipReason, near, recordFullscreenRequests, volumeNear, waitForColour} from '../lib/emulator.mjs';
import {generate} from '../lib/generate.mjs';
import {playerSize} from '../lib/installation.mjs';
import {caseFolders, writeSiteProfile} from '../lib/sites.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = emulatorSkipReason(cli);

// The emulator's first frame comes only after it has compiled its WebAssembly, slow on a busy
// machine, so the wait for it is generous.
const FIRST_FRAME_MS = 30_000;
const SIZE_INDEX = 0;
const SERVING = /^Serving the local test page at (http:\/\/127\.0\.0\.1:\d+\/do-not-upload\.html) \(Ctrl\+C ends\)$/m;

// The clip's picture tells the time: red for its first RED_SECONDS, blue for the rest, so blue
// early means a seek went ahead. A test pattern with a moving counter in its top left quarter
// changes every frame, so playing and pausing show too.
const RED_SECONDS = 15;
const BLUE_SECONDS = 25;
const RED = [0xFF, 0, 0];
const BLUE = [0, 0, 0xFF];
// Away from the test pattern (the picture's top left 240 x 135 at player size 0), from the big
// play button in the middle and from a floating bar at the bottom.
const COLOUR_POINT = [400, 40];

// In the codecs of classic Flash video, with a keyframe every second.
function makeFlv(folder) {
    const flv = join(folder, 'clip.flv');
    const seconds = RED_SECONDS + BLUE_SECONDS;
    execFileSync('ffmpeg', [
        '-hide_banner', '-loglevel', 'error', '-y',
        '-f', 'lavfi', '-i', `color=c=0xFF0000:s=320x180:r=25:d=${RED_SECONDS}`,
        '-f', 'lavfi', '-i', `color=c=0x0000FF:s=320x180:r=25:d=${BLUE_SECONDS}`,
        '-f', 'lavfi', '-i', `testsrc=size=160x90:rate=25:duration=${seconds}`,
        '-f', 'lavfi', '-i', `sine=frequency=440:duration=${seconds}`,
        '-filter_complex', '[0:v][1:v]concat=n=2:v=1:a=0[colours];[colours][2:v]overlay=0:0[v]',
        '-map', '[v]', '-map', '3:a', '-c:v', 'flv', '-q:v', '3', '-g', '25',
        '-c:a', 'libmp3lame', '-ar', '44100', flv
    ]);
    return flv;
}

// What the emulator shows: its error panel, and pixels of its canvas in stage coordinates.
async function emulatorState(page, {samples = [], region = null} = {}) {
    return page.evaluate(({samples, region}) => {
        const player = document.querySelector('ruffle-embed, ruffle-object');
        const shadow = player?.shadowRoot;
        const panic = shadow?.querySelector('#panic');
        const canvas = shadow?.querySelector('canvas');
        const state = {
            player: Boolean(player),
            panic: Boolean(panic) && getComputedStyle(panic).display !== 'none',
            canvas: Boolean(canvas),
            pixels: [],
            hash: null,
        };
        if (!canvas)
            return state;
        const context = canvas.getContext('2d');
        if (!context)
            return state;
        const scale = canvas.width / canvas.clientWidth;
        for (const [x, y] of samples) {
            const data = context.getImageData(Math.round(x * scale), Math.round(y * scale), 1, 1).data;
            state.pixels.push([data[0], data[1], data[2]]);
        }
        if (region) {
            const data = context.getImageData(
                Math.round(region.x * scale), Math.round(region.y * scale),
                Math.round(region.width * scale), Math.round(region.height * scale)).data;
            let hash = 0;
            for (let i = 0; i < data.length; i += 4)
                hash = (hash * 31 + data[i] + data[i + 1] * 7 + data[i + 2] * 13) >>> 0;
            state.hash = hash;
        }
        return state;
    }, {samples, region});
}

chromiumSuite('the Flash player under the emulator', {skip, prefix: 'vidlark-flash-'},
              (suite) => {
    let flv;

    before(() => {
        flv = makeFlv(suite.clips);
    });

    // The profile of one case: HTML5 off unless `settings` says otherwise.
    function makeProfile(root, serverPath, settings) {
        return writeSiteProfile(
            cli, root, {ServerPath: serverPath, PlayerSize: String(SIZE_INDEX), ...settings});
    }

    // Generates one case's site and serves its output folder, and nothing else, at its
    // ServerPath, as a visitor's web server would after the upload: the Flash video, or with
    // `html5Files` those clips with HTML5 on.
    function makeSite(name, settings, {html5Files = null} = {}) {
        return suite.makeSite(name, settings, {clips: html5Files ?? {flv}, sizeIndex: SIZE_INDEX});
    }

    async function waitForEmulator(page) {
        await page.waitForFunction(
            () => document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas'),
            null, {timeout: FIRST_FRAME_MS});
    }

    async function openPlayer(open, site) {
        const visit = await open(site.url);
        await waitForEmulator(visit.page);
        return visit;
    }

    // The picture plays: no error panel, and the canvas above the bar changes twice.
    async function assertPlays(page, region) {
        const first = await emulatorState(page, {region});
        assert.equal(first.panic, false, 'the emulator shows its error panel');
        const moved = await waitForChange(page, region, first.hash, FIRST_FRAME_MS);
        assert.notEqual(moved, first.hash, 'the picture never changes: the video does not play');
        const again = await waitForChange(page, region, moved, 5_000);
        assert.notEqual(again, moved, 'the picture stops changing while playing');
    }

    async function waitForChange(page, region, from, timeout) {
        const deadline = Date.now() + timeout;
        for (;;) {
            const state = await emulatorState(page, {region});
            if (state.hash !== from)
                return state.hash;
            if (Date.now() > deadline)
                return from;
            await page.waitForTimeout(200);
        }
    }

    // Each skin with its own tint: the bar shows the tint, the video plays, pause stops it.
    const cases = [
        {skin: 0, name: 'Skin-30-dark', bar: 30, floating: false, tint: '23406E'},
        {skin: 1, name: 'Skin-30-light', bar: 30, floating: false, tint: 'F28460'},
        {skin: 2, name: 'Skin-44-dark-float', bar: 44, floating: true, tint: '441414'},
        {skin: 3, name: 'Skin-44-light-float', bar: 44, floating: true, tint: '3BAF77'},
    ];

    // Where the bar sits on the stage of a `width` x `height` video: below it, or as a plate
    // floating over the picture's bottom, inset from its sides.
    function barBox(c, width, height) {
        if (!c.floating)
            return {x: 0, y: height, width, height: c.bar};
        const plate = Math.round(c.bar * 0.7);
        const inset = Math.round(width * 0.06);
        return {
            x: inset,
            y: height + c.bar - Math.round((c.bar + plate) / 2),
            width: width - 2 * inset,
            height: plate,
        };
    }

    // Where ControlBar.layout puts the controls (no embed button) in `bar`, in stage
    // coordinates: from the left play/pause (a square of the bar's height) and the seek bar;
    // from the right, `unit` (half the bar's height) * 0.4 in, full screen (a square), the five
    // volume steps (unit * 2.4 together, unit * 0.4 left of it), the time text (unit * 0.4 left
    // of them) and the seek bar's end, unit * 0.6 before the text.
    function controls(bar) {
        const h = bar.height;
        const unit = h / 2;
        const middle = bar.y + h / 2;
        const fullLeft = bar.width - unit * 0.4 - h;
        const volumeWidth = unit * 2.4;
        const volumeLeft = fullLeft - volumeWidth - unit * 0.4;
        const seekLeft = h + unit * 0.3;
        // The seek bar's room if the time text had no width: the text's width is the emulator
        // font's, the one thing the layout leaves to the machine.
        const seekRoom = volumeLeft - unit * 0.4 - unit * 0.6 - seekLeft;
        return {
            play: [bar.x + h / 2, middle],
            fullScreen: [bar.x + fullLeft + h / 2, middle],
            volumeStep: (i) => [bar.x + volumeLeft + volumeWidth * (i + 0.5) / VOLUME_STEPS, middle],
            // A point `fraction` into the room, on the seek bar for any time text narrower than
            // the rest of the room, and at least `fraction` into the video.
            seek: (fraction) => [bar.x + seekLeft + seekRoom * fraction, middle],
        };
    }

    const VOLUME_STEPS = 5;
    // Volume steps clicked in turn (counted from 0) and the volume each sets, from 40 at start.
    const volumeClicks = [[0, 0.2], [4, 1], [2, 0.6]];
    // Past the red part (15 of 40 seconds) however wide the time text is.
    const SEEK_FRACTION = 0.55;

    for (const c of cases) {
        it(`${c.name} plays, pauses, wears its tint, and sets volume, seeks and goes full screen from its bar`,
           {timeout: 120_000}, () => {
            const site = makeSite(c.name, {
                Html5: '0',
                PlayerStyle: String(c.skin),
                AutoPlay: '1',
                AudioLevel: '40',
                PlayerColor: c.tint,
                PlayerColorNumber: String(parseInt(c.tint.slice(4, 6) + c.tint.slice(2, 4) + c.tint.slice(0, 2), 16)),
            });
            return withVisits(suite.browser, suite.server, async (open) => {
                const {page, problems} = await openPlayer(open, site);
                // The emulator came from the output folder, beside zevoswf.js.
                assert.ok(suite.server.log.some(({path, status}) =>
                              path === `${site.sitePath}ruffle/ruffle.js` && status === 200),
                          'the page did not load ruffle/ruffle.js from the output folder');
                const {width, height} = playerSize(site.appFolder, SIZE_INDEX);
                const bar = barBox(c, width, height);
                // The picture above the bar, where a floating bar never reaches.
                const video = {x: 0, y: 0, width, height: Math.min(height, bar.y)};
                await assertPlays(page, video);

                // The bar's plate above its seek track, away from every control.
                const box = await page.locator('ruffle-embed, ruffle-object').boundingBox();
                await page.mouse.move(box.x + width / 2, box.y + height / 2);
                await page.waitForTimeout(300);
                const tintPoint = [Math.round(bar.x + bar.width * 0.35), bar.y + 3];
                const {pixels: [tint]} = await emulatorState(page, {samples: [tintPoint]});
                if (process.env.VIDLARK_SHOTS)
                    await page.screenshot({path: join(process.env.VIDLARK_SHOTS, `${c.name}.png`)});
                const expected = [0, 2, 4].map((i) => parseInt(c.tint.slice(i, i + 2), 16));
                for (let i = 0; i < 3; ++i)
                    assert.ok(Math.abs(tint[i] - expected[i]) <= 3,
                        `the bar is rgb(${tint}), the tint is rgb(${expected})`);

                const at = controls(bar);
                const click = ([x, y]) => page.mouse.click(box.x + x, box.y + y);
                await click(at.play);
                await page.waitForTimeout(600);
                const paused = await emulatorState(page, {region: video});
                await page.waitForTimeout(1_500);
                const later = await emulatorState(page, {region: video});
                assert.equal(later.hash, paused.hash, 'the picture still changes after a click on pause');
                assert.equal(later.panic, false);

                const initial = await volumeNear(page, 0.4);
                assert.ok(Math.abs(initial - 0.4) < 0.01, `the initial volume 40 is ${initial} in the emulator`);
                for (const [step, level] of volumeClicks) {
                    await click(at.volumeStep(step));
                    const volume = await volumeNear(page, level);
                    assert.ok(Math.abs(volume - level) < 0.01,
                        `volume step ${step + 1} left the emulator at ${volume}, not ${level}`);
                }

                // Paused in the red part: only a seek shows blue before the red part's seconds
                // have played again; the seek also resumes play.
                const red = await waitForColour(page, COLOUR_POINT, RED, 1_000);
                assert.ok(near(red, RED), `the paused picture is rgb ${red}, not the red part`);
                await click(at.seek(SEEK_FRACTION));
                const blue = await waitForColour(page, COLOUR_POINT, BLUE, 4_000);
                assert.ok(near(blue, BLUE), `a click on the seek bar left the picture at rgb ${blue}`);

                // Last, as full screen lays the stage out anew.
                await page.evaluate(recordFullscreenRequests);
                await click(at.fullScreen);
                await page.waitForFunction(() => window.fullscreenRequests.length > 0, null, {timeout: 5_000})
                    .catch(() => {});
                const requests = await page.evaluate(() => window.fullscreenRequests);
                assert.ok(requests.some((tag) => tag.startsWith('ruffle-')),
                    `the full-screen button asked nothing of the player element (${requests})`);
                const full = await page.evaluate(() => document.fullscreenElement?.tagName.toLowerCase() ?? null);
                assert.match(String(full), /^ruffle-/, 'the page did not go full screen with the player');
                assert.equal((await emulatorState(page)).panic, false, 'the emulator shows its error panel');
                assert.deepEqual(problems.pageErrors, [], 'script errors on the page');
            });
        });
    }

    // What of the emulator a page asked for, as the browser saw it.
    function emulatorRequests(page) {
        return page.evaluate(() => performance.getEntriesByType('resource')
                                       .map((entry) => new URL(entry.name).pathname)
                                       .filter((path) => path.includes('/ruffle/')));
    }

    it('with HTML5 on the page shows its video and never asks for the emulator',
       {timeout: 120_000}, async () => {
           const folder = join(suite.work, 'html5-clips');
           mkdirSync(folder);
           const site = makeSite('html5', {Html5: '1'}, {html5Files: makeClips(folder)});
           assert.equal(existsSync(join(site.output, 'ruffle')), false,
                        'the run copied the emulator for a page with HTML5');
           await withVisits(suite.browser, suite.server, async (open) => {
               const {page} = await open(site.url);
               const video = page.locator(`#vDiv${site.tag} > video#vI${site.tag}`);
               await video.waitFor({state: 'visible', timeout: 15_000});
               await page.waitForFunction((id) => document.getElementById(id).readyState >= 2,
                                          `vI${site.tag}`, {timeout: 15_000});
               // Long enough for an emulator to have been asked for, had the page wanted one.
               await page.waitForTimeout(1_000);
               const state = await page.evaluate(() => ({
                   emulator: typeof window.RufflePlayer,
                   movies: document.querySelectorAll('embed, object, ruffle-embed, ruffle-object').length,
               }));
               assert.deepEqual(state, {emulator: 'undefined', movies: 0});
               assert.deepEqual(await emulatorRequests(page), []);
               assert.deepEqual(suite.server.log.filter(({path}) => path.startsWith(`${site.sitePath}ruffle/`)), []);
           }, {clean: true});
       });

    // Runs vidlark-cli with `args` until it prints the address it serves. `stop()` ends it with
    // SIGTERM, as a desktop session's logout would, and resolves to how it ended.
    async function startPreview(args) {
        const child = spawn(cli, args, {stdio: ['ignore', 'pipe', 'pipe']});
        let output = '';
        const ended = new Promise((done) => child.on('exit', (code, signal) => done({code, signal})));
        child.stderr.on('data', (chunk) => { output += chunk; });
        const address = await new Promise((found, failed) => {
            const timer = setTimeout(() => {
                child.kill('SIGKILL');
                failed(new Error(`vidlark-cli printed no address within 60 s:\n${output}`));
            }, 60_000);
            child.stdout.on('data', (chunk) => {
                output += chunk;
                const match = SERVING.exec(output);
                if (match) {
                    clearTimeout(timer);
                    found(match[1]);
                }
            });
            ended.then(({code, signal}) => {
                clearTimeout(timer);
                failed(new Error(`vidlark-cli ended (${code ?? signal}) before serving:\n${output}`));
            });
        });
        return {
            address,
            stop: () => {
                child.kill('SIGTERM');
                return ended;
            },
        };
    }

    it('the local preview of vidlark-cli generate --serve plays the local video',
       {timeout: 120_000}, async () => {
           const {root, output, appFolder} = caseFolders(cli, suite.work, 'preview');
           // The web address is never used by the local test page.
           const profile = makeProfile(root, 'http://www.example.com/videos/', {AutoPlay: '1'});
           const preview = await startPreview([
               'generate', '--profile', profile, '--app-folder', appFolder, '--output', output,
               '--flash', flv, '--serve'
           ]);
           let end;
           try {
               await withVisits(suite.browser, suite.server, async (open) => {
                   const {page} = await open(preview.address);
                   await waitForEmulator(page);
                   // The preview server answers /ruffle/ from the installation's folder.
                   assert.ok((await emulatorRequests(page)).includes('/ruffle/ruffle.js'),
                             'the local test page did not load /ruffle/ruffle.js');
                   const {width, height} = playerSize(appFolder, SIZE_INDEX);
                   // The first skin's bar lies below the picture.
                   await assertPlays(page, {x: 0, y: 0, width, height});
               }, {clean: true});
           } finally {
               end = await preview.stop();
           }
           assert.deepEqual(end, {code: 0, signal: null}, 'vidlark-cli did not end cleanly on SIGTERM');
       });
});
