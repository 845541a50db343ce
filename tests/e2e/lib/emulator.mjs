// A generated Flash page under the Ruffle emulator, and what its canvas shows. Chromium has no
// Flash plug-in, so a visit announces one before any page script runs (as the emulator itself
// does once loaded) for our SWFObject to write the movie, then loads the build's ruffle.js.
import {existsSync} from 'node:fs';
import {dirname, join} from 'node:path';

import {skipReason} from './browser.mjs';

// The emulator's first frame comes only after it has compiled its WebAssembly, slow on a busy
// machine, so the wait for it is generous.
export const FIRST_FRAME_MS = 30_000;

// The build's ruffle/ beside vidlark-cli, or null when the build has none.
export function ruffleFolder(cli) {
    const folder = cli && join(dirname(cli), 'ruffle');
    return folder && existsSync(join(folder, 'ruffle.js')) ? folder : null;
}

// Why the emulator's browser tests cannot run here, or false: what every browser test needs, and
// the build's ruffle/ beside vidlark-cli.
export function emulatorSkipReason(cli) {
    return skipReason() ||
        (cli && !ruffleFolder(cli) ? `e2e prerequisites missing: ruffle/ beside ${cli}` : false);
}

// Runs in the page before its own scripts: a Flash 32 plug-in, and the emulator's settings that
// work without a GPU.
export function announceFlashPlugin() {
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

// Opens `url` through withVisits' `open`, starts the emulator from `ruffleUrl` and waits for its
// canvas. `initScripts` run in the page before its own scripts, after the plug-in announcement.
export async function openPlayer(open, url, ruffleUrl, {initScripts = []} = {}) {
    const visit = await open('about:blank');
    await visit.context.addInitScript(announceFlashPlugin);
    for (const script of initScripts)
        await visit.context.addInitScript(script);
    await visit.page.goto(url);
    await visit.page.addScriptTag({url: ruffleUrl});
    await visit.page.waitForFunction(
        () => document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas'),
        null, {timeout: FIRST_FRAME_MS});
    visit.player = visit.page.locator('ruffle-embed, ruffle-object');
    return visit;
}

// The emulator's error panel is showing.
export function panicShown(page) {
    return page.evaluate(() => {
        const panic = document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('#panic');
        return Boolean(panic) && getComputedStyle(panic).display !== 'none';
    });
}

// Pixels of the canvas, in stage coordinates: `points` [x, y] give one [r, g, b] each; `boxes`
// {x, y, width, height} give every pixel of the box as rows of [r, g, b].
export function canvasPixels(page, {points = [], boxes = []} = {}) {
    return page.evaluate(({points, boxes}) => {
        const canvas = document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas');
        const context = canvas?.getContext('2d');
        if (!context)
            return null;
        const scale = canvas.width / canvas.clientWidth;
        const at = (x, y) => Array.from(
            context.getImageData(Math.round(x * scale), Math.round(y * scale), 1, 1).data.slice(0, 3));
        // Sampled once per stage pixel, whatever the canvas's own resolution.
        const box = ({x, y, width, height}) => {
            const data = context.getImageData(
                Math.round(x * scale), Math.round(y * scale),
                Math.max(1, Math.round(width * scale)), Math.max(1, Math.round(height * scale)));
            const rows = [];
            for (let j = 0; j < height; ++j) {
                const row = [];
                for (let i = 0; i < width; ++i) {
                    const at = (Math.min(data.height - 1, Math.floor(j * scale)) * data.width +
                                Math.min(data.width - 1, Math.floor(i * scale))) * 4;
                    row.push([data.data[at], data.data[at + 1], data.data[at + 2]]);
                }
                rows.push(row);
            }
            return rows;
        };
        return {points: points.map(([x, y]) => at(x, y)), boxes: boxes.map(box)};
    }, {points, boxes});
}

// The colour at `point`, averaged with its eight neighbours two pixels away.
export async function colourAt(page, [x, y]) {
    const points = [];
    for (const dx of [-2, 0, 2])
        for (const dy of [-2, 0, 2])
            points.push([x + dx, y + dy]);
    const pixels = await canvasPixels(page, {points});
    if (!pixels)
        return null;
    return [0, 1, 2].map((c) => Math.round(pixels.points.reduce((sum, p) => sum + p[c], 0) / points.length));
}

export const near = (colour, expected, tolerance = 40) =>
    Boolean(colour) && colour.every((value, i) => Math.abs(value - expected[i]) <= tolerance);

// Polls the colour at `point` until it is near `expected`; returns the last colour seen.
export async function waitForColour(page, point, expected, timeout, tolerance = 40) {
    const deadline = Date.now() + timeout;
    for (;;) {
        const colour = await colourAt(page, point);
        if (near(colour, expected, tolerance) || Date.now() > deadline)
            return colour;
        await page.waitForTimeout(100);
    }
}

// Runs in the page: notes every element asked to go full screen, by its tag name. As an init
// script it sees every request; evaluated later, every request from then on.
export function recordFullscreenRequests() {
    window.fullscreenRequests = [];
    const request = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function(...args) {
        window.fullscreenRequests.push(this.tagName.toLowerCase());
        return request.apply(this, args);
    };
}

// The emulator element's volume once it is `level`, or after five seconds whatever it is.
export async function volumeNear(page, level) {
    const volume = () => document.querySelector('ruffle-embed, ruffle-object').volume;
    await page.waitForFunction(([v]) => Math.abs(document.querySelector('ruffle-embed, ruffle-object').volume - v) < 0.01,
        [level], {timeout: 5_000}).catch(() => {});
    return page.evaluate(volume);
}

// A hash of the canvas's pixels in `box` (stage coordinates), or null without a canvas.
export function pictureHash(page, box) {
    return page.evaluate(({x, y, width, height}) => {
        const canvas = document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas');
        const context = canvas?.getContext('2d');
        if (!context)
            return null;
        const scale = canvas.width / canvas.clientWidth;
        const data = context.getImageData(Math.round(x * scale), Math.round(y * scale),
                                          Math.round(width * scale), Math.round(height * scale)).data;
        let hash = 0;
        for (let i = 0; i < data.length; i += 4)
            hash = (hash * 31 + data[i] + data[i + 1] * 7 + data[i + 2] * 13) >>> 0;
        return hash;
    }, box);
}

// Whether the picture in `box` changes within `timeout`, judged from the first canvas on.
export async function pictureChanges(page, box, timeout) {
    const first = await pictureHash(page, box);
    const deadline = Date.now() + timeout;
    while (Date.now() < deadline) {
        await page.waitForTimeout(250);
        const now = await pictureHash(page, box);
        if (first !== null && now !== first)
            return true;
    }
    return false;
}

// The placeholder of the player `tag` once it holds no plug-in element: its markup, the
// configured no-Flash `message` as the browser reads it on its own (so both sides are serialised
// alike), and how many plug-in or emulator elements the page has.
export async function noFlashNote(page, tag, message) {
    const id = `flashcontent${tag}`;
    await page.waitForFunction(
        (i) => document.getElementById(i)?.getElementsByTagName('embed').length === 0, id,
        {timeout: 15_000});
    return page.evaluate(([i, text]) => {
        const parsed = document.createElement('div');
        parsed.innerHTML = text;
        return {
            html: document.getElementById(i).innerHTML,
            expected: parsed.innerHTML,
            plugins: document.querySelectorAll('embed, object, ruffle-embed, ruffle-object').length,
        };
    }, [id, message]);
}
