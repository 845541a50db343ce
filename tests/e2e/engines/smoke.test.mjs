// The generated pages in each browser engine a visitor may have: the Flash page through the
// emulator, the HTML5 page with its MP4 and with its WebM, a playlist switching on a click,
// captions, the muted start with its Unmute button, and the fluid player on a 360 px screen.
// VIDLARK_ENGINES names the engines (comma-separated; all three by default); one browser per
// engine serves every case. An engine missing from the machine fails its cases.
import assert from 'node:assert/strict';
import {unlinkSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';

import {makeClips} from '../lib/clips.mjs';
import {FIRST_FRAME_MS} from '../lib/emulator.mjs';
import {engineSuites} from '../lib/engineSuite.mjs';
import {emulatorPicture, videoPicture, waitForPlayingPicture} from '../lib/pictures.mjs';
import {Position} from '../lib/playlist.mjs';

const STEMS = ['one', 'two', 'three'];

engineSuites('the generated pages', (suite, name) => {
    let clips;

    before(() => {
        // Long enough to still play while a slow engine is looked at.
        clips = makeClips(suite.clips, {seconds: 20});
        for (const stem of STEMS)
            makeClips(suite.clips, {name: stem, seconds: 6});
    });

    // One case in a tab of its own; the tab's script errors fail it where the engine reports
    // them, and so do requests the server refused.
    function engineCase(title, body, {viewport} = {}) {
        it(title, {timeout: 120_000}, async () => {
            const tab = await suite.engine.newTab({viewport});
            try {
                const site = await body(tab);
                assert.deepEqual(tab.pageErrors() ?? [], [], 'script errors on the page');
                assert.deepEqual(site.failures(site.expectedFailures), [], 'failed requests');
            } finally {
                await tab.close();
            }
        });
    }

    const video = (site) => `#vDiv${site.tag} > video`;

    // Starts the page's video muted (as the test is no visitor) and waits for its pictures.
    async function assertVideoPlays(tab, site) {
        await tab.waitFor((selector) => document.querySelector(selector)?.readyState >= 1,
                          video(site), {message: 'the video'});
        await tab.evaluate((selector) => {
            const element = document.querySelector(selector);
            element.muted = true;
            element.play().catch(() => {});
        }, video(site));
        const pictures = await waitForPlayingPicture(tab, videoPicture, video(site));
        assert.ok(pictures.at(-1).width > 0, 'the video has a width');
        return pictures.at(-1);
    }

    engineCase('the Flash page plays through the emulator', async (tab) => {
        const site = suite.makeSite('flash', {Html5: '0', AutoPlay: '1'}, {clips, sizeIndex: 0});
        await tab.goto(site.url);
        const stage = {x: 0, y: 0, ...site.size};
        await tab.waitFor(emulatorPicture, stage, {timeout: FIRST_FRAME_MS, message: 'the emulator'});
        const pictures = await waitForPlayingPicture(tab, emulatorPicture, stage);
        assert.deepEqual(pictures.map((p) => p.panic), [false, false, false], 'the error panel');
        assert.ok(suite.server.log.some(({path, status}) =>
                      path === `${site.sitePath}ruffle/ruffle.js` && status === 200),
                  'the emulator came from the site');
        return site;
    });

    // Without the MP4 on the server, the browser goes on to the page's WebM source.
    for (const [format, drop] of [['mp4', null], ['webm', 'clip.mp4']]) {
        engineCase(`the HTML5 page plays its ${format.toUpperCase()}`, async (tab) => {
            const site = suite.makeSite(`html5-${format}`, {Html5: '1'}, {clips});
            if (drop) {
                unlinkSync(join(site.output, drop));
                site.expectedFailures = [`${site.sitePath}${drop}`];
            }
            await tab.goto(site.url);
            const picture = await assertVideoPlays(tab, site);
            assert.equal(picture.src, `${site.serverPath}clip.${format}`);
            return site;
        });
    }

    engineCase('a click on a playlist item plays that video', async (tab) => {
        const folder = suite.clips + '/';
        const rows = STEMS.map((stem) => ({
            flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`, title: `Clip ${stem}`
        }));
        const site = suite.makeSite('playlist', {Html5: '1'}, {rows, folder, position: Position.Right});
        await tab.goto(site.url);
        const items = `#pDivSc${site.tag} li`;
        await tab.waitFor((selector) => document.querySelectorAll(selector).length === 3, items,
                          {message: 'the three items'});
        await assertVideoPlays(tab, site);
        await tab.click(items, 1);
        const stem = await tab.waitFor(
            (selector) => document.querySelector(selector)?.currentSrc.replace(/^.*\/|\.[^.]*$/g, '') === 'two',
            video(site), {message: 'the second video'});
        assert.ok(stem);
        const picture = await assertVideoPlays(tab, site);
        assert.match(picture.src, /\/two\.(mp4|webm)$/);
        return site;
    });

    engineCase('captions show on the video', async (tab) => {
        const vtt = join(suite.clips, 'clip.en.vtt');
        writeFileSync(vtt, 'WEBVTT\n\n00:00.200 --> 00:05.000\nHello from the captions\n');
        const site = suite.makeSite('captions', {Html5: '1'}, {clips, captions: [`${vtt}:en:English`]});
        await tab.goto(site.url);
        await assertVideoPlays(tab, site);
        const offered = await tab.evaluate((selector) => {
            const element = document.querySelector(`${selector} > track`);
            return element && {kind: element.kind, label: element.label, isDefault: element.default};
        }, video(site));
        assert.deepEqual(offered, {kind: 'captions', label: 'English', isDefault: true});
        // WebKitGTK's caption preference is "forced only": a default track waits for the
        // visitor to pick it in the video's caption menu, which is what this does.
        if (name === 'webkit') {
            await tab.evaluate((selector) => {
                document.querySelector(selector).textTracks[0].mode = 'showing';
            }, video(site));
        }
        const shown = await tab.waitFor((selector) => {
            const track = document.querySelector(selector).textTracks[0];
            return track?.mode === 'showing' && track.activeCues?.length === 1 &&
                {label: track.label, text: track.activeCues[0].text};
        }, video(site), {message: 'the showing caption'});
        assert.deepEqual(shown, {label: 'English', text: 'Hello from the captions'});
        return site;
    });

    engineCase('the muted start plays by itself; Unmute gives the sound', async (tab) => {
        const site = suite.makeSite(
            'muted', {Html5: '1', AutoPlay: '1', PlaysInline: '1', MutedAutoPlay: '1'}, {clips});
        await tab.goto(site.url);
        // Nothing of the test starts this video.
        const pictures = await waitForPlayingPicture(tab, videoPicture, video(site));
        // The first look may come before the browser's autoplay starts; the sound never plays.
        assert.ok(pictures.every((p) => p.muted), 'muted throughout');
        assert.ok(!pictures.at(-1).paused, 'playing by itself');
        const button = `#vDiv${site.tag} > #uB${site.tag}`;
        const label = await tab.evaluate((selector) => document.querySelector(selector)?.textContent, button);
        assert.match(String(label), /Unmute/);
        await tab.click(button);
        const after = await tab.waitFor(([selector, videoSelector]) => {
            const element = document.querySelector(videoSelector);
            return !document.querySelector(selector) && {muted: element.muted, paused: element.paused};
        }, [button, video(site)], {message: 'the button gone'});
        assert.deepEqual(after, {muted: false, paused: false});
        return site;
    });

    engineCase('the fluid player fits a 360 px screen in its shape', async (tab) => {
        const site = suite.makeSite('fluid', {Html5: '1', FluidSize: '1'}, {clips});
        await tab.goto(site.url);
        await tab.waitFor((selector) => document.querySelector(selector)?.readyState >= 1,
                          video(site), {message: 'the video'});
        const shown = await tab.evaluate((selector) => {
            const box = document.querySelector(selector).getBoundingClientRect();
            const page = document.documentElement;
            return {left: box.left, width: box.width, height: box.height,
                    page: page.clientWidth, scroll: page.scrollWidth};
        }, video(site));
        assert.equal(shown.page, 360, 'the screen');
        assert.ok(shown.left >= 0 && shown.left + shown.width <= 360.5 && shown.width >= 340,
                  `as wide as the screen lets it be: ${JSON.stringify(shown)}`);
        assert.ok(Math.abs(shown.height - shown.width * site.size.height / site.size.width) <= 1,
                  `the ${site.size.width}:${site.size.height} shape: ${JSON.stringify(shown)}`);
        assert.ok(shown.scroll <= shown.page, 'no sideways scrolling');
        return site;
    }, {viewport: {width: 360, height: 640}});
});
