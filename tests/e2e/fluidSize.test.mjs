// Players that fit the page's width, and the playlist's muted start, as a visitor sees them: each
// case generates a site with vidlark-cli, serves it on 127.0.0.1 and opens its online test page in
// headless Chromium on an upright phone and on a desktop. With "FluidSize" on, the player is
// never wider than the page and keeps the chosen shape; where there is room it is the chosen size.
import assert from 'node:assert/strict';
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, describe, it} from 'node:test';

import {launchBrowser, PHONE, skipReason, VISITORS, withVisits} from './lib/browser.mjs';
import {makeClips} from './lib/clips.mjs';
import {FIRST_FRAME_MS, ruffleFolder} from './lib/emulator.mjs';
import {generate} from './lib/generate.mjs';
import {makeAppFolder, playerSize} from './lib/installation.mjs';
import {Layout, Position, writePlaylist} from './lib/playlist.mjs';
import {baseProfile, Line, writeProfile} from './lib/profile.mjs';
import {startServer} from './lib/staticServer.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = skipReason();

// 640 x 360: wider than the phone, narrower than the desktop.
const SIZE_INDEX = 1;

describe('players that fit the page width', {skip}, () => {
    let work;
    let clips;
    let server;
    let browser;
    let policyBrowser;

    before(async () => {
        assert.ok(
            cli && existsSync(cli), `VIDLARK_CLI must name the built vidlark-cli (got ${cli})`);
        work = mkdtempSync(join(tmpdir(), 'vidlark-e2e-fluid-'));
        mkdirSync(join(work, 'clips'));
        clips = ['one', 'two', 'three'].map(
            (name) => makeClips(join(work, 'clips'), {name, seconds: 4}));
        server = await startServer();
        browser = await launchBrowser();
        policyBrowser = await launchBrowser({autoplayPolicy: false});
    });

    after(async () => {
        await browser?.close();
        await policyBrowser?.close();
        await server?.close();
        if (work)
            rmSync(work, {recursive: true, force: true});
    });

    // A site at http://127.0.0.1:PORT/<name>/site/: a single video, or with `position` a
    // playlist of the three clips. `settings` maps profile lines to values.
    function makeSite(name, settings, {position} = {}) {
        const root = join(work, name);
        const output = join(root, 'out');
        mkdirSync(output, {recursive: true});
        const appFolder = makeAppFolder(cli, join(root, 'app'));
        const serverPath = `http://127.0.0.1:${server.port}/${name}/site/`;
        const values = baseProfile();
        values[Line.ServerPath - 1] = serverPath;
        values[Line.PlayerSize - 1] = String(SIZE_INDEX);
        if (position !== undefined)
            values[Line.Mode - 1] = 'MUL1';
        for (const [line, value] of Object.entries(settings))
            values[Line[line] - 1] = value;
        const profile = join(root, 'site.epe');
        writeProfile(profile, values);
        let run;
        if (position === undefined) {
            run = generate({
                cli, appFolder, profile, output, clips: clips[0],
                html5Files: settings.Html5 === '1'
            });
        } else {
            const folder = join(work, 'clips') + '/';
            const playlist = join(root, 'site.plf');
            writePlaylist(playlist, {
                position,
                layout: Layout.TitleOnly,
                html5Files: true,
                folders: {flash: folder, mp4: folder, webm: folder},
                rows: ['one', 'two', 'three'].map((stem) => ({
                    flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`,
                    title: `Clip ${stem}`
                })),
            });
            run = generate({cli, appFolder, profile, output, playlist});
        }
        server.mount(new URL(serverPath).pathname, output);
        return {...run, size: playerSize(appFolder, SIZE_INDEX), url: `${serverPath}onlinetest.html`};
    }

    function visitorCase(title, body) {
        it(title, {timeout: 90_000}, () => withVisits(browser, server, body, {clean: true}));
    }

    // The box of `selector` on the screen and the width of the page it lies in.
    async function boxOf(page, selector) {
        const element = page.locator(selector);
        await element.waitFor({state: 'visible', timeout: 15_000});
        const box = await element.boundingBox();
        const page_ = await page.evaluate(() => ({
            width: document.documentElement.clientWidth,
            scrollWidth: document.documentElement.scrollWidth,
        }));
        return {box, page: page_};
    }

    // On the phone: inside the page, as wide as the page lets it be, in the chosen shape. On the
    // desktop: the chosen size.
    function assertFits(visitor, {box, page}, {width, height}) {
        if (visitor === 'desktop') {
            assert.deepEqual({width: box.width, height: box.height}, {width, height}, 'desktop');
            return;
        }
        assert.ok(box.x >= 0 && box.x + box.width <= page.width + 0.5,
                  `inside the phone's page of ${page.width}: ${JSON.stringify(box)}`);
        assert.ok(box.width < width && box.width >= page.width - 20,
                  `shrunk to the page: ${box.width} of ${page.width}`);
        assert.ok(Math.abs(box.height - box.width * height / width) <= 1,
                  `shape ${width}:${height} kept: ${box.width} x ${box.height}`);
        assert.ok(page.scrollWidth <= page.width, `no sideways scrolling: ${page.scrollWidth}`);
    }


    visitorCase('the single HTML5 video', async (open) => {
        const site = makeSite('single', {Html5: '1', FluidSize: '1'});
        for (const [visitor, options] of VISITORS) {
            const {page} = await open(site.url, options);
            const video = `#vDiv${site.tag} > video#vI${site.tag}`;
            await page.waitForFunction(
                (id) => document.getElementById(id)?.readyState >= 1, `vI${site.tag}`,
                {timeout: 15_000});
            assertFits(visitor, await boxOf(page, video), site.size);
        }
    });

    visitorCase('without the option the phone gets the chosen size, as before', async (open) => {
        const site = makeSite('fixed', {Html5: '1'});
        const {page} = await open(site.url, PHONE);
        const {box} = await boxOf(page, `video#vI${site.tag}`);
        assert.deepEqual({width: Math.round(box.width), height: Math.round(box.height)}, site.size);
    });

    for (const position of ['Bottom', 'Right']) {
        visitorCase(`a playlist with its list at the ${position.toLowerCase()}`, async (open) => {
            const site = makeSite(
                `list-${position.toLowerCase()}`, {Html5: '1', FluidSize: '1'},
                {position: Position[position]});
            for (const [visitor, options] of VISITORS) {
                const {page} = await open(site.url, options);
                await page.waitForFunction(
                    (tag) => document.querySelectorAll(`#pDivSc${tag} li`).length === 3, site.tag,
                    {timeout: 15_000});
                assertFits(visitor, await boxOf(page, `#vDiv${site.tag} > video`), site.size);
                // The list stays inside the page too, beside the player where there is room.
                const list = await boxOf(page, `#pDiv${site.tag}`);
                assert.ok(list.box.x >= 0 && list.box.x + list.box.width <= list.page.width + 0.5,
                          `${visitor}: list inside the page: ${JSON.stringify(list.box)}`);
                const player = (await boxOf(page, `#vDiv${site.tag} > video`)).box;
                const beside = list.box.x >= player.x + player.width;
                assert.equal(beside, visitor === 'desktop' && position === 'Right',
                             `${visitor}: list beside the player`);
            }
        });
    }

    const ruffle = ruffleFolder(cli);
    it('the Flash embed under the emulator', {timeout: 120_000, skip: !ruffle && 'no ruffle/'},
       () => withVisits(browser, server, async (open) => {
           const site = makeSite('flash', {Html5: '0', FluidSize: '1'});
           for (const [visitor, options] of VISITORS) {
               // Without a plug-in the page's own zevoswf.js starts the emulator of the site.
               const visit = await open(site.url, options);
               await visit.page.waitForFunction(
                   () => document.querySelector('ruffle-embed')?.shadowRoot?.querySelector('canvas'),
                   null, {timeout: FIRST_FRAME_MS});
               // The skin's bar below the picture belongs to the player's box.
               const skin = await visit.page.locator('ruffle-embed').getAttribute('height');
               const box = {width: site.size.width, height: Number(skin)};
               assert.ok(box.height > site.size.height, `the skin adds its bar: ${skin}`);
               const fits = await boxOf(visit.page, 'ruffle-embed');
               assertFits(visitor, fits, box);
               // The movie's stage follows its element, so the skin lays itself out anew.
               const canvas = await visit.page.evaluate(() => {
                   const c = document.querySelector('ruffle-embed').shadowRoot.querySelector('canvas');
                   return {width: c.clientWidth, height: c.clientHeight};
               });
               assert.ok(Math.abs(canvas.width - fits.box.width) <= 1 &&
                             Math.abs(canvas.height - fits.box.height) <= 1,
                         `${visitor}: the stage is the element: ${JSON.stringify(canvas)}`);
           }
       }));

    // The page tells how each video started, from a script that runs before the page's own:
    // every evaluation from the test would count as the visitor touching the page.
    async function openRecordingStarts(open, url, options) {
        const visit = await open('about:blank', options);
        await visit.context.addInitScript(() => {
            document.addEventListener('playing', (event) => {
                const video = event.target;
                console.log('vidlark-playing ' + JSON.stringify({
                    id: video.id,
                    stem: video.currentSrc.replace(/^.*\/|\.[^.]*$/g, ''),
                    muted: video.muted,
                    touched: navigator.userActivation.hasBeenActive,
                }));
            }, true);
        });
        const starts = [];
        visit.page.on('console', (message) => {
            if (message.text().startsWith('vidlark-playing '))
                starts.push(JSON.parse(message.text().slice('vidlark-playing '.length)));
        });
        await visit.page.goto(url);
        return {...visit, starts};
    }

    async function waitForStart(page, starts, stem) {
        const deadline = Date.now() + 20_000;
        while (!starts.some((s) => s.stem === stem)) {
            assert.ok(Date.now() < deadline, `${stem} never started: ${JSON.stringify(starts)}`);
            await page.waitForTimeout(100);
        }
        return starts.find((s) => s.stem === stem);
    }

    it('the playlist starts muted by itself and goes on muted until the visitor unmutes',
       {timeout: 120_000}, () => withVisits(policyBrowser, server, async (open) => {
           const site = makeSite(
               'muted-list', {Html5: '1', AutoPlay: '1', AutoProgress: '1', MutedAutoPlay: '1'},
               {position: Position.Bottom});
           for (const [visitor, options] of VISITORS) {
               const {page, problems, starts} = await openRecordingStarts(open, site.url, options);
               const first = await waitForStart(page, starts, 'one');
               assert.deepEqual(first, {id: `vI${site.tag}`, stem: 'one', muted: true, touched: false},
                                `${visitor}: the first video started muted by itself`);
               // Auto progress, still without a touch: the next video plays, muted, with its
               // own Unmute button.
               const second = await waitForStart(page, starts, 'two');
               assert.deepEqual(second, {id: `v${site.tag}`, stem: 'two', muted: true, touched: false},
                                `${visitor}: the second video went on muted`);
               const button = page.locator(`#vDiv${site.tag} > #uB${site.tag}`);
               await button.click();
               await button.waitFor({state: 'detached', timeout: 5_000});
               const third = await waitForStart(page, starts, 'three');
               assert.equal(third.muted, false, `${visitor}: the visitor's sound carries over`);
               assert.equal(await page.locator(`#uB${site.tag}`).count(), 0, visitor);
               assert.deepEqual(problems.pageErrors, [], `${visitor}: no refused play()`);
           }
       }));
});
