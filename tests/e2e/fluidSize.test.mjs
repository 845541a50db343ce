// Players that fit the page's width, and the playlist's muted start, as a visitor sees them: each
// case generates a site with vidlark-cli, serves it on 127.0.0.1 and opens its online test page in
// headless Chromium on an upright phone and on a desktop. With "FluidSize" on, the player is
// never wider than the page and keeps the chosen shape; where there is room it is the chosen size.
import assert from 'node:assert/strict';
import {before, it} from 'node:test';

import {PHONE, skipReason, VISITORS, withVisits} from './lib/browser.mjs';
import {chromiumSuite} from './lib/chromiumSuite.mjs';
import {makeClips} from './lib/clips.mjs';
import {FIRST_FRAME_MS, ruffleFolder} from './lib/emulator.mjs';
import {Position} from './lib/playlist.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = skipReason();

const STEMS = ['one', 'two', 'three'];
// 640 x 360: wider than the phone, narrower than the desktop.
const SIZE_INDEX = 1;

chromiumSuite('players that fit the page width', {skip, prefix: 'vidlark-e2e-fluid-',
                                                  policyBrowser: true}, (suite) => {
    let clips;

    before(() => {
        clips = STEMS.map((name) => makeClips(suite.clips, {name, seconds: 4}));
    });

    // A site at http://127.0.0.1:PORT/<name>/site/: a single video, or with `position` a
    // playlist of the three clips. `settings` maps profile keys to values.
    function makeSite(name, settings, {position} = {}) {
        if (position === undefined)
            return suite.makeSite(name, settings, {clips: clips[0], sizeIndex: SIZE_INDEX});
        return suite.makeSite(name, settings, {
            sizeIndex: SIZE_INDEX,
            position,
            folder: suite.clips + '/',
            rows: STEMS.map((stem) => ({
                flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`,
                title: `Clip ${stem}`
            })),
        });
    }

    function visitorCase(title, body) {
        it(title, {timeout: 90_000}, () => withVisits(suite.browser, suite.server, body, {clean: true}));
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
       () => withVisits(suite.browser, suite.server, async (open) => {
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
       {timeout: 120_000}, () => withVisits(suite.policyBrowser, suite.server, async (open) => {
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
