// The Flash path of a generated page under the Ruffle emulator: vidlark-cli generates a page with
// HTML5 off for a real FLV (ffmpeg, metadata by flvmdi during the run), the page is served on
// 127.0.0.1 with the build's ruffle/ beside it, and what the visitor sees is read from the
// emulator's canvas. Chromium has no Flash plug-in, so the visit announces one (as the emulator
// itself does once loaded) for our SWFObject to write the movie, then loads ruffle/ruffle.js.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {after, before, describe, it} from 'node:test';

import {launchBrowser, skipReason, withVisits} from '../lib/browser.mjs';
import {generate} from '../lib/generate.mjs';
import {makeAppFolder, playerSize} from '../lib/installation.mjs';
import {baseProfile, Line, writeProfile} from '../lib/profile.mjs';
import {startServer} from '../lib/staticServer.mjs';

const cli = process.env.VIDLARK_CLI;
const ruffle = cli && join(dirname(cli), 'ruffle', 'ruffle.js');
const skip = skipReason() ||
    (ruffle && !existsSync(ruffle) ? `e2e prerequisites missing: ${ruffle}` : false);

// The emulator's first frame took 2 to 4 s on two cores, most of it compiling WebAssembly.
const FIRST_FRAME_MS = 30_000;
const SIZE_INDEX = 0;

// Says a Flash 32 plug-in is there before any page script runs, so SWFObject writes the movie.
function announceFlashPlugin() {
    const plugin = {description: 'Shockwave Flash 32.0 r0', name: 'Shockwave Flash'};
    const plugins = {
        'Shockwave Flash': plugin,
        length: 1,
        0: plugin,
        item: (i) => (i === 0 ? plugin : null),
        namedItem: (name) => (name === plugin.name ? plugin : null),
        refresh: () => {},
        [Symbol.iterator]: function*() { yield plugin; },
    };
    Object.defineProperty(Navigator.prototype, 'plugins', {get: () => plugins});
    window.RufflePlayer = {
        config: {
            favorFlash: false,
            preferredRenderer: 'canvas',
            splashScreen: false,
            unmuteOverlay: 'hidden',
            autoplay: 'on',
            letterbox: 'off',
        },
    };
}

// A six-second test pattern with a moving counter, in the codecs of classic Flash video.
function makeFlv(folder) {
    const flv = join(folder, 'clip.flv');
    execFileSync('ffmpeg', [
        '-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
        'testsrc=size=320x180:rate=25:duration=6', '-f', 'lavfi', '-i',
        'sine=frequency=440:duration=6', '-c:v', 'flv', '-g', '25', '-c:a', 'libmp3lame', '-ar',
        '44100', flv
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

describe('the Flash player under the emulator', {skip}, () => {
    let work;
    let flv;
    let server;
    let browser;

    before(async () => {
        assert.ok(cli && existsSync(cli), `VIDLARK_CLI must name the built vidlark-cli (got ${cli})`);
        work = mkdtempSync(join(tmpdir(), 'vidlark-flash-'));
        mkdirSync(join(work, 'clips'));
        flv = makeFlv(join(work, 'clips'));
        server = await startServer();
        browser = await launchBrowser();
    });

    after(async () => {
        await browser?.close();
        await server?.close();
        if (work)
            rmSync(work, {recursive: true, force: true});
    });

    function makeSite(name, settings) {
        const root = join(work, name);
        const output = join(root, 'out');
        mkdirSync(output, {recursive: true});
        const appFolder = makeAppFolder(cli, join(root, 'app'));
        const serverPath = `http://127.0.0.1:${server.port}/${name}/site/`;
        const values = baseProfile();
        values[Line.ServerPath - 1] = serverPath;
        values[Line.PlayerSize - 1] = String(SIZE_INDEX);
        for (const [line, value] of Object.entries(settings))
            values[Line[line] - 1] = value;
        const profile = join(root, 'site.epe');
        writeProfile(profile, values);
        const run = generate({cli, appFolder, profile, output, clips: {flv}});
        server.mount(`/${name}/site/ruffle/`, join(appFolder, 'ruffle'));
        server.mount(`/${name}/site/`, output);
        return {...run, appFolder, url: `${serverPath}onlinetest.html`, ruffle: `${serverPath}ruffle/ruffle.js`};
    }

    async function openPlayer(open, site) {
        const visit = await open('about:blank');
        await visit.context.addInitScript(announceFlashPlugin);
        await visit.page.goto(site.url);
        await visit.page.addScriptTag({url: site.ruffle});
        await visit.page.waitForFunction(
            () => document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas'),
            null, {timeout: FIRST_FRAME_MS});
        return visit;
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

    for (const c of cases) {
        it(`${c.name} plays, pauses and wears its tint`, {timeout: 120_000}, () => {
            const site = makeSite(c.name, {
                Html5: '0',
                PlayerStyle: String(c.skin),
                AutoPlay: '1',
                PlayerColor: c.tint,
                PlayerColorNumber: String(parseInt(c.tint.slice(4, 6) + c.tint.slice(2, 4) + c.tint.slice(0, 2), 16)),
            });
            return withVisits(browser, server, async (open) => {
                const {page, problems} = await openPlayer(open, site);
                const {width, height} = playerSize(site.appFolder, SIZE_INDEX);
                const bar = barBox(c, width, height);
                // The picture above the bar, where a floating bar never reaches.
                const video = {x: 0, y: 0, width, height: Math.min(height, bar.y)};
                const first = await emulatorState(page, {region: video});
                assert.equal(first.panic, false, 'the emulator shows its error panel');
                const moved = await waitForChange(page, video, first.hash, FIRST_FRAME_MS);
                assert.notEqual(moved, first.hash, 'the picture never changes: the video does not play');
                const again = await waitForChange(page, video, moved, 5_000);
                assert.notEqual(again, moved, 'the picture stops changing while playing');

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

                // The play/pause button is the bar's first square.
                await page.mouse.click(box.x + bar.x + bar.height / 2, box.y + bar.y + bar.height / 2);
                await page.waitForTimeout(600);
                const paused = await emulatorState(page, {region: video});
                await page.waitForTimeout(1_500);
                const later = await emulatorState(page, {region: video});
                assert.equal(later.hash, paused.hash, 'the picture still changes after a click on pause');
                assert.equal(later.panic, false);
                assert.deepEqual(problems.pageErrors, [], 'script errors on the page');
            });
        });
    }
});
