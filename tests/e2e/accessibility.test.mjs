// The generated pages for a keyboard or screen-reader user: axe-core's WCAG 2.0-2.2 A/AA rules on
// every kind of page, and the controls a visitor works with the keyboard (the playlist's items,
// Unmute, Dismiss). Each check is a function of a page, so other engines can run it as well.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';
import {pathToFileURL} from 'node:url';

import {audit, tabStops, tabTo} from './lib/accessibility.mjs';
import {skipReason, withVisits} from './lib/browser.mjs';
import {chromiumSuite} from './lib/chromiumSuite.mjs';
import {makeClips} from './lib/clips.mjs';
import {FIRST_FRAME_MS, ruffleFolder} from './lib/emulator.mjs';
import {Layout, Position} from './lib/playlist.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = skipReason();
const STEMS = ['one', 'two', 'three'];

// The page's HTML5 video (single or the first of a list) has arrived.
const html5Ready = (page, tag) =>
    page.waitForFunction((t) => document.getElementById(`vI${t}`)?.readyState >= 1, tag,
                         {timeout: 15_000});
const listReady = async (page, tag) => {
    await html5Ready(page, tag);
    await page.waitForFunction((t) => document.querySelectorAll(`#pDivSc${t} li`).length === 3,
                               tag);
};
const emulatorReady = (page) => page.waitForFunction(
    () => document.querySelector('ruffle-embed, ruffle-object')?.shadowRoot?.querySelector('canvas'),
    null, {timeout: FIRST_FRAME_MS});
const noteReady = (page, tag) =>
    page.locator(`#flashcontent${tag}`).waitFor({state: 'visible', timeout: 10_000});

// Every kind of page a run makes: [name, site, how to wait until it is complete, the page's
// address when not the online test page, scripts to run before the page's own].
const VARIANTS = [
    ['HTML5 single video', {settings: {Html5: '1'}}, html5Ready],
    ['HTML5 single video, muted start with Unmute',
     {settings: {Html5: '1', AutoPlay: '1', MutedAutoPlay: '1'}},
     (page, tag) => page.locator(`#uB${tag}`).waitFor()],
    ['HTML5 single video with captions, fitting the page',
     {settings: {Html5: '1', FluidSize: '1', PlaysInline: '1'}, captions: true}, html5Ready],
    ['HTML5 single video with action HTML', {settings: {Html5: '1', ActionCode: '<p>Thanks</p>'}},
     html5Ready],
    ['HTML5 playlist at the right with thumbnails',
     {playlist: {position: Position.Right, layout: Layout.TitleDescThumb}}, listReady],
    ['HTML5 playlist below with descriptions, muted start',
     {playlist: {position: Position.Bottom, layout: Layout.TitleDesc},
      settings: {AutoPlay: '1', MutedAutoPlay: '1'}}, listReady],
    ['HTML5 playlist, invisible', {playlist: {position: Position.Invisible, layout: Layout.TitleOnly}},
     listReady],
    ['Flash page under the emulator', {settings: {Html5: '0'}}, emulatorReady],
    ['Flash page where no emulator can run (the no-Flash note)', {settings: {Html5: '0'}}, noteReady,
     null, [() => { delete window.WebAssembly; }]],
    ['local test page opened from the disk', {settings: {Html5: '0'}}, noteReady,
     (site) => pathToFileURL(join(site.appFolder, 'temp', 'do-not-upload.html')).href],
];

chromiumSuite('generated pages for keyboard and assistive technology in Chromium',
              {skip, prefix: 'vidlark-e2e-a11y-'}, (suite) => {
    before(() => {
        const {work} = suite;
        mkdirSync(join(work, 'pictures'));
        for (const stem of STEMS) {
            makeClips(suite.clips, {name: stem, seconds: 4});
            execFileSync('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
                                    'color=gray:s=320x240', '-frames:v', '1',
                                    join(work, 'pictures', `${stem}.jpg`)]);
        }
        writeFileSync(join(work, 'one.en.vtt'), 'WEBVTT\n\n00:00.000 --> 00:03.000\nHello\n');
    });

    // Generates one case's site at http://127.0.0.1:PORT/<name>/site/: the single video "one",
    // or with `playlist` ({position, layout}) the three clips as a list, HTML5 on.
    function makeSite(name, {settings = {}, playlist = null, captions = false}) {
        const clips = suite.clips;
        if (playlist) {
            return suite.makeSite(name, {Html5: '1', ...settings}, {
                ...playlist,
                sizeIndex: 0,
                folder: `${clips}/`,
                thumbnails: join(suite.work, 'pictures') + '/',
                rows: STEMS.map((stem, n) => ({
                    flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`,
                    title: `Clip ${n + 1}`, description: `Part ${n + 1}`, thumbnail: `${stem}.jpg`,
                })),
            });
        }
        return suite.makeSite(name, settings, {
            sizeIndex: 0,
            clips: {flv: join(clips, 'one.flv'), mp4: join(clips, 'one.mp4'),
                    webm: join(clips, 'one.webm')},
            captions: captions ? [`${join(suite.work, 'one.en.vtt')}:en:English`] : [],
        });
    }

    function visitorCase(title, body, timeout = 60_000) {
        it(title, {timeout}, () => withVisits(suite.browser, suite.server, body));
    }

    const ruffle = ruffleFolder(cli);
    VARIANTS.forEach(([name, site, ready, address, initScripts = []], n) => {
        const needsEmulator = ready === emulatorReady;
        it(`axe-core finds no WCAG 2.2 A/AA violation: ${name}`,
           {timeout: 90_000, skip: needsEmulator && !ruffle && 'no ruffle/'},
           () => withVisits(suite.browser, suite.server, async (open) => {
               const made = makeSite(`axe${n}`, site);
               const visit = await open('about:blank');
               for (const script of initScripts)
                   await visit.context.addInitScript(script);
               await visit.page.goto(address ? address(made) : made.url);
               await ready(visit.page, made.tag);
               const {violations, bestPractice} = await audit(visit.page);
               console.log(`# axe best practice, ${name}: ${
                   bestPractice.map((f) => `${f.id} (${f.nodes.join(', ')})`).join('; ') || 'none'}`);
               assert.deepEqual(violations, [], `WCAG A/AA violations on ${name}`);
           }));
    });

    // The page records every video that starts playing, by the name of its file.
    async function recordPlays(page) {
        await page.evaluate(() => {
            window.plays = [];
            document.addEventListener('play', (event) => {
                window.plays.push(event.target.currentSrc.replace(/^.*\/|\.[^.]*$/g, ''));
            }, true);
        });
    }

    // Which items are marked as playing, and whether `stem` was played.
    async function afterKey(page, tag, stem) {
        await page.waitForFunction((s) => window.plays.includes(s), stem, {timeout: 15_000});
        return page.evaluate(
            (t) => [...document.querySelectorAll(`#pDivSc${t} li`)].map(
                (li) => li.getAttribute('aria-current')),
            tag);
    }

    visitorCase('Tab reaches every playlist item in a labelled list; Enter and Space play it',
                async (open) => {
        const site = makeSite('keys', {playlist: {position: Position.Right, layout: Layout.TitleDesc}});
        const {page} = await open(site.url);
        await listReady(page, site.tag);
        await recordPlays(page);
        const list = page.locator(`#pDivSc${site.tag} > ul`);
        assert.equal(await list.getAttribute('aria-label'), 'Playlist');
        assert.equal(await list.locator('> li').count(), 3, 'the items are the list\'s own');

        const items = (await tabStops(page)).filter((stop) => stop.tag === 'li');
        assert.deepEqual(items.map((item) => item.text),
                         ['Clip 1Part 1', 'Clip 2Part 2', 'Clip 3Part 3']);
        for (const item of items) {
            assert.ok(item.focusVisible, `${item.text} shows its focus`);
            assert.match(item.outline, /^solid [2-9]/, `${item.text}: a ring of ${item.outline}`);
        }

        const li = (n) => `#pDivSc${site.tag} li:nth-child(${n})`;
        await page.evaluate(() => document.activeElement?.blur());
        await tabTo(page, li(2));
        await page.keyboard.press('Enter');
        assert.deepEqual(await afterKey(page, site.tag, 'two'), [null, 'true', null]);
        await tabTo(page, li(3));
        await page.keyboard.press('Space');
        assert.deepEqual(await afterKey(page, site.tag, 'three'), [null, null, 'true']);
        await tabTo(page, li(1), {backwards: true});
        await page.keyboard.press('Enter');
        assert.deepEqual(await afterKey(page, site.tag, 'one'), ['true', null, null]);
    });

    visitorCase('Tab reaches the Unmute button, which Enter presses', async (open) => {
        const site = makeSite('unmute', {settings: {Html5: '1', AutoPlay: '1', MutedAutoPlay: '1'}});
        const {page} = await open(site.url);
        await page.locator(`#uB${site.tag}`).waitFor();
        const stops = await tabTo(page, `#uB${site.tag}`);
        assert.match(stops.at(-1).text, /Unmute$/);
        await page.keyboard.press('Enter');
        await page.locator(`#uB${site.tag}`).waitFor({state: 'detached', timeout: 5_000});
        assert.equal(await page.evaluate((t) => document.getElementById(`vI${t}`).muted, site.tag),
                     false);
    });

    visitorCase('Tab reaches Dismiss under the action HTML, which Enter presses', async (open) => {
        const site = makeSite('dismiss', {settings: {Html5: '1', ActionCode: '<p>Thanks</p>'}});
        const {page} = await open(site.url);
        await html5Ready(page, site.tag);
        await page.evaluate((t) => {
            const video = document.getElementById(`vI${t}`);
            video.muted = true;
            video.currentTime = Math.max(0, video.duration - 0.2);
            video.play().catch(() => {});
        }, site.tag);
        const action = page.locator(`#elemento${site.tag}`);
        await action.waitFor({state: 'visible', timeout: 10_000});
        await page.waitForFunction(() => window.jQuery(':animated').length === 0);
        await page.evaluate(() => document.activeElement?.blur());
        const stops = await tabTo(page, '#backtovideo');
        assert.deepEqual([stops.at(-1).tag, stops.at(-1).text], ['button', 'Dismiss']);
        await page.keyboard.press('Enter');
        await action.waitFor({state: 'hidden', timeout: 5_000});
        await page.locator(`#vI${site.tag}`).waitFor({state: 'visible', timeout: 5_000});
    });
});
