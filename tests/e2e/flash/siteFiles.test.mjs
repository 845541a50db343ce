// What the uploaded files make of the Flash page under the emulator (HTML5 off): a site
// uploaded without ruffle/ shows the author's no-Flash message, and a Flash video whose name
// holds characters an address reads differently is found and plays.
import assert from 'node:assert/strict';
import {mkdirSync, rmSync} from 'node:fs';
import {join} from 'node:path';
import {it} from 'node:test';

import {withVisits} from '../lib/browser.mjs';
import {chromiumSuite} from '../lib/chromiumSuite.mjs';
import {makeClips} from '../lib/clips.mjs';
import {emulatorSkipReason, FIRST_FRAME_MS, noFlashNote, panicShown, pictureChanges} from '../lib/emulator.mjs';
import {errorFlash, playerSize} from '../lib/installation.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = emulatorSkipReason(cli);

chromiumSuite('the uploaded Flash site under the emulator', {skip, prefix: 'vidlark-flash-files-'},
              (suite) => {
    // Generates a page for the Flash video `name` and serves its output folder.
    function makeSite(caseName, name) {
        const folder = join(suite.work, caseName, 'clips');
        mkdirSync(folder, {recursive: true});
        const clips = makeClips(folder, {name, seconds: 20});
        return suite.makeSite(caseName, {Html5: '0', AutoPlay: '1'},
                              {clips: {flv: clips.flv}, sizeIndex: 0});
    }

    it('a site uploaded without ruffle/ shows the configured no-Flash message', {timeout: 60_000},
       () => withVisits(suite.browser, suite.server, async (open) => {
           const site = makeSite('noruffle', 'clip');
           rmSync(join(site.output, 'ruffle'), {recursive: true, force: true});
           const {page} = await open(site.url);
           const shown = await noFlashNote(page, site.tag, errorFlash(site.appFolder));
           assert.equal(shown.html, shown.expected);
           assert.equal(shown.plugins, 0, 'no plug-in element is left on the page');
           assert.ok(suite.server.log.some(({path, status}) =>
                         path === `${site.sitePath}ruffle/ruffle.js` && status === 404),
                     'the page asked for the emulator');
       }));

    it('a Flash video named "take#1 why? 50%.flv" is found and plays', {timeout: 120_000},
       () => withVisits(suite.browser, suite.server, async (open) => {
           const site = makeSite('marks', 'take#1 why? 50%');
           const {page} = await open(site.url);
           await page.waitForFunction(
               () => document.querySelector('ruffle-embed')?.shadowRoot?.querySelector('canvas'),
               null, {timeout: FIRST_FRAME_MS});
           const {width, height} = playerSize(site.appFolder, 0);
           assert.ok(await pictureChanges(page, {x: 0, y: 0, width, height}, FIRST_FRAME_MS),
                     'the picture never changes: the video does not play');
           assert.equal(await panicShown(page), false, 'the emulator shows its error panel');
           const asked = suite.server.log.filter(({path}) => path.endsWith('.flv'));
           assert.deepEqual(asked.map(({path, status}) => [path, status]).slice(0, 1),
                            [[`${site.sitePath}take%231%20why%3F%2050%25.flv`, 200]]);
       }));
});
