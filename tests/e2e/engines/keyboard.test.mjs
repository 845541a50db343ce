// The Flash player under the emulator from the keyboard in each browser engine: Tab reaches the
// named movie, Space pauses, → seeks on, M mutes, ↓ lowers the volume, and Tab goes on past it,
// all judged by the player's own state (lib/playerKeys.mjs). VIDLARK_ENGINES names the engines,
// as for smoke.test.mjs.
import assert from 'node:assert/strict';
import {before, it} from 'node:test';

import {makeClips} from '../lib/clips.mjs';
import {FIRST_FRAME_MS} from '../lib/emulator.mjs';
import {engineSuites} from '../lib/engineSuite.mjs';
import {PLAYER, tabToPlayer, waitForState, walkTheKeys} from '../lib/playerKeys.mjs';

engineSuites('the Flash player from the keyboard', (suite) => {
    let site;

    before(() => {
        const clips = makeClips(suite.clips, {seconds: 40});
        site = suite.makeSite('keys', {Html5: '0', AutoPlay: '1', AudioLevel: '40'},
                              {clips, sizeIndex: 0});
    });

    it('Tab reaches the player; Space, →, M and ↓ work it; Tab goes on past it',
       {timeout: 120_000}, async () => {
           const tab = await suite.engine.newTab();
           try {
               await tab.goto(site.url);
               await tab.waitFor((s) => Boolean(document.querySelector(s)?.shadowRoot?.querySelector('canvas')),
                                 PLAYER, {timeout: FIRST_FRAME_MS, message: 'the emulator'});
               await waitForState(tab, (s) => s.playing && s.time > 0.3, 'the video playing',
                                  FIRST_FRAME_MS);
               const focus = await tabToPlayer(tab);
               assert.deepEqual([focus.role, focus.label], ['application', 'Video player']);
               assert.equal(focus.outline, 'solid 3px', 'the focus ring');
               const walk = await walkTheKeys(tab);
               assert.deepEqual([walk.muted.volume, walk.unmuted.volume, walk.lower.volume],
                                [0, 0.4, 0.2], 'the volume after M, M and ↓');
               assert.ok(walk.leftWithTab, 'Tab left the focus on the player');
               assert.deepEqual(tab.pageErrors() ?? [], [], 'script errors on the page');
               assert.deepEqual(site.failures(), [], 'failed requests');
           } finally {
               await tab.close();
           }
       });
});
