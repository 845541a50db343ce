// The Flash player under the emulator from the keyboard, in Chromium: Tab reaches the movie,
// named for screen readers and ringed; its keys play, pause, seek, set the volume, mute, step
// the captions and go full screen; Tab goes on past it. What the keys did is read from the
// player's own state (playerState of the movie's element), never guessed from the time waited.
import assert from 'node:assert/strict';
import {writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';

import {withVisits} from '../lib/browser.mjs';
import {chromiumSuite} from '../lib/chromiumSuite.mjs';
import {makeClips} from '../lib/clips.mjs';
import {emulatorSkipReason, FIRST_FRAME_MS, panicShown, recordFullscreenRequests, volumeNear} from '../lib/emulator.mjs';
import {Position} from '../lib/playlist.mjs';
import {focusOnPlayer, tabOfPage, tabToPlayer, waitForState, walkTheKeys} from '../lib/playerKeys.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = emulatorSkipReason(cli);

const STEMS = ['one', 'two'];

chromiumSuite('the Flash player from the keyboard under the emulator',
              {skip, prefix: 'vidlark-keys-'}, (suite) => {
    let clips;
    let captions;

    before(() => {
        // Long enough that a seek on by 5 s stays inside the video however slow the machine.
        clips = makeClips(suite.clips, {seconds: 40});
        for (const stem of STEMS)
            makeClips(suite.clips, {name: stem, seconds: 3});
        captions = join(suite.clips, 'clip.en.vtt');
        writeFileSync(captions, 'WEBVTT\n\n00:00.000 --> 00:40.000\nAll along\n');
    });

    // The generated Flash page at volume 40, playing by itself; `body` gets the page and a tab.
    function visitPlaying(name, options, body, settings = {}) {
        const site = suite.makeSite(name, {Html5: '0', AutoPlay: '1', AudioLevel: '40', ...settings},
                              {clips, sizeIndex: 0, ...options});
        return withVisits(suite.browser, suite.server, async (open) => {
            const {page, problems} = await open(site.url);
            await page.waitForFunction((s) => document.querySelector(s)?.shadowRoot?.querySelector('canvas'),
                                       'ruffle-embed, ruffle-object', {timeout: FIRST_FRAME_MS});
            const tab = tabOfPage(page);
            await waitForState(tab, (s) => s.playing && s.time > 0.3, 'the video playing', FIRST_FRAME_MS);
            await body(page, tab);
            assert.equal(await panicShown(page), false, 'the emulator shows its error panel');
            assert.deepEqual(problems.pageErrors, [], 'script errors on the page');
        });
    }

    it('Tab reaches the named, ringed player; Space, →, M and ↓ work it; Tab goes on past it',
       {timeout: 120_000}, () => visitPlaying('walk', {}, async (page, tab) => {
           const focus = await tabToPlayer(tab);
           assert.deepEqual(focus, {onPlayer: true, role: 'application', label: 'Video player',
                                    outline: 'solid 3px'});
           const walk = await walkTheKeys(tab);
           assert.equal(walk.paused.playing, false);
           assert.deepEqual([walk.muted.volume, walk.unmuted.volume, walk.lower.volume], [0, 0.4, 0.2],
                            'the volume after M, M and ↓');
           assert.ok(Math.abs(await volumeNear(page, 0.2) - 0.2) < 0.01, 'the emulator plays at the volume shown');
           assert.ok(walk.leftWithTab, 'Tab left the focus on the player');
           await tab.press('Shift+Tab');
           assert.equal((await focusOnPlayer(tab)).onPlayer, true, 'Shift+Tab came back to the player');
       }));

    it('after a click the player has no ring; K, ←, ↑, C and F do what its bar does',
       {timeout: 120_000}, () => visitPlaying('bar', {captions: [`${captions}:en:English`]}, async (page, tab) => {
           const box = await page.locator('ruffle-embed, ruffle-object').boundingBox();
           // The picture, away from the bar: a click there pauses, as K will.
           await page.mouse.click(box.x + box.width / 2, box.y + 40);
           const clicked = await waitForState(tab, (s) => !s.playing, 'the click pausing');
           assert.deepEqual(await focusOnPlayer(tab), {onPlayer: true, role: 'application',
                                                      label: 'Video player', outline: 'none 3px'});
           assert.equal(clicked.captions, true, 'the captions start on');

           await tab.press('k');
           await waitForState(tab, (s) => s.playing, 'K playing');
           await tab.press('ArrowRight');
           const on = await waitForState(tab, (s) => s.time >= clicked.time + 4, '→ seeking on');
           await tab.press('ArrowLeft');
           await waitForState(tab, (s) => s.time <= on.time - 3, '← seeking back');
           await tab.press('ArrowUp');
           await waitForState(tab, (s) => Math.abs(s.volume - 0.6) < 1e-9, '↑ raising the volume a step');
           await tab.press('c');
           await waitForState(tab, (s) => !s.captions, 'C turning the captions off');
           await tab.press('c');
           await waitForState(tab, (s) => s.captions, 'C turning them on again');

           await page.evaluate(recordFullscreenRequests);
           await tab.press('f');
           const full = await page.waitForFunction(() => document.fullscreenElement?.tagName.toLowerCase(),
                                                   null, {timeout: 5_000}).then((h) => h.jsonValue()).catch(() => null);
           assert.match(String(full), /^ruffle-/, 'F did not take the player to full screen');
       }));

    // The name screen readers give the player, once it is `wanted` or after `timeout` ms
    // whatever it is.
    const playerName = (page, wanted, timeout) => page.waitForFunction(
        (w) => document.querySelector('ruffle-embed, ruffle-object')?.getAttribute('aria-label') === w,
        wanted, {timeout}).catch(() => {}).then(() => page.evaluate(
        () => document.querySelector('ruffle-embed, ruffle-object')?.getAttribute('aria-label')));

    it('a playlist names the player after the video that plays',
       {timeout: 120_000}, () => {
           const folder = suite.clips + '/';
           const rows = STEMS.map((stem) => ({
               flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`, title: `Clip ${stem}`,
           }));
           return visitPlaying('list', {rows, folder, position: Position.Right}, async (page) => {
               assert.equal(await playerName(page, 'Clip one', 5_000), 'Clip one');
               // Auto progress plays the second once the 3 s of the first have ended.
               assert.equal(await playerName(page, 'Clip two', 15_000), 'Clip two');
           }, {AutoProgress: '1'});
       });
});
