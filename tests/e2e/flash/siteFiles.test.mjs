// What the uploaded files make of the Flash page under the emulator (HTML5 off): a site
// uploaded without ruffle/ shows the author's no-Flash message, and a Flash video whose name
// holds characters an address reads differently is found and plays.
import assert from 'node:assert/strict';
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, describe, it} from 'node:test';

import {launchBrowser, skipReason, withVisits} from '../lib/browser.mjs';
import {makeClips} from '../lib/clips.mjs';
import {FIRST_FRAME_MS, noFlashNote, panicShown, pictureChanges, ruffleFolder} from '../lib/emulator.mjs';
import {generate} from '../lib/generate.mjs';
import {errorFlash, makeAppFolder, playerSize} from '../lib/installation.mjs';
import {baseProfile, Line, writeProfile} from '../lib/profile.mjs';
import {startServer} from '../lib/staticServer.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = skipReason() || (!ruffleFolder(cli) && 'e2e prerequisites missing: the build\'s ruffle/');

describe('the uploaded Flash site under the emulator', {skip}, () => {
    let work;
    let server;
    let browser;

    before(async () => {
        assert.ok(cli && existsSync(cli), `VIDLARK_CLI must name the built vidlark-cli (got ${cli})`);
        work = mkdtempSync(join(tmpdir(), 'vidlark-flash-files-'));
        server = await startServer();
        browser = await launchBrowser();
    });

    after(async () => {
        await browser?.close();
        await server?.close();
        if (work)
            rmSync(work, {recursive: true, force: true});
    });

    // Generates a page for the Flash video `name` and serves its output folder.
    function makeSite(caseName, name) {
        const root = join(work, caseName);
        mkdirSync(join(root, 'clips'), {recursive: true});
        const output = join(root, 'out');
        mkdirSync(output);
        const clips = makeClips(join(root, 'clips'), {name, seconds: 20});
        const appFolder = makeAppFolder(cli, join(root, 'app'));
        const sitePath = `/${caseName}/site/`;
        const values = baseProfile();
        values[Line.ServerPath - 1] = `http://127.0.0.1:${server.port}${sitePath}`;
        values[Line.Html5 - 1] = '0';
        values[Line.AutoPlay - 1] = '1';
        const profile = join(root, 'site.epe');
        writeProfile(profile, values);
        const run = generate({cli, appFolder, profile, output, clips: {flv: clips.flv}});
        server.mount(sitePath, output);
        const url = `http://127.0.0.1:${server.port}${sitePath}onlinetest.html`;
        return {...run, appFolder, output, sitePath, url};
    }

    it('a site uploaded without ruffle/ shows the configured no-Flash message', {timeout: 60_000},
       () => withVisits(browser, server, async (open) => {
           const site = makeSite('noruffle', 'clip');
           rmSync(join(site.output, 'ruffle'), {recursive: true, force: true});
           const {page} = await open(site.url);
           const shown = await noFlashNote(page, site.tag, errorFlash(site.appFolder));
           assert.equal(shown.html, shown.expected);
           assert.equal(shown.plugins, 0, 'no plug-in element is left on the page');
           assert.ok(server.log.some(({path, status}) =>
                         path === `${site.sitePath}ruffle/ruffle.js` && status === 404),
                     'the page asked for the emulator');
       }));

    it('a Flash video named "take#1 why? 50%.flv" is found and plays', {timeout: 120_000},
       () => withVisits(browser, server, async (open) => {
           const site = makeSite('marks', 'take#1 why? 50%');
           const {page} = await open(site.url);
           await page.waitForFunction(
               () => document.querySelector('ruffle-embed')?.shadowRoot?.querySelector('canvas'),
               null, {timeout: FIRST_FRAME_MS});
           const {width, height} = playerSize(site.appFolder, 0);
           assert.ok(await pictureChanges(page, {x: 0, y: 0, width, height}, FIRST_FRAME_MS),
                     'the picture never changes: the video does not play');
           assert.equal(await panicShown(page), false, 'the emulator shows its error panel');
           const asked = server.log.filter(({path}) => path.endsWith('.flv'));
           assert.deepEqual(asked.map(({path, status}) => [path, status]).slice(0, 1),
                            [[`${site.sitePath}take%231%20why%3F%2050%25.flv`, 200]]);
       }));
});
