// What every visitor meets, in each browser engine: axe-core's WCAG A/AA check of the HTML5 pages
// and the Flash page, a playlist worked from the keyboard alone (Tab reaches every item, Enter
// plays it), the author's no-Flash message on a site uploaded without ruffle/, and a Flash video
// whose name holds "#", "?" and "%" found and played through the emulator.
import assert from 'node:assert/strict';
import {readFileSync, rmSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join} from 'node:path';
import {before, it} from 'node:test';

import {WCAG_AA_TAGS} from '../lib/accessibility.mjs';
import {makeClips} from '../lib/clips.mjs';
import {FIRST_FRAME_MS} from '../lib/emulator.mjs';
import {engineSuites} from '../lib/engineSuite.mjs';
import {errorFlash} from '../lib/installation.mjs';
import {emulatorPicture, waitForPlayingPicture} from '../lib/pictures.mjs';
import {Position} from '../lib/playlist.mjs';

const STEMS = ['one', 'two', 'three'];
const axeSource =
    readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// axe-core's WCAG A/AA violations on the tab's page, each "rule: targets".
async function violations(tab) {
    await tab.evaluate((source) => (0, eval)(source), axeSource);
    return tab.evaluate(async (tags) => {
        const result = await window.axe.run(document, {runOnly: {type: 'tag', values: tags}});
        return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`);
    }, WCAG_AA_TAGS);
}

engineSuites('every visitor', (suite) => {
    let clips;

    before(() => {
        clips = makeClips(suite.clips, {seconds: 20});
        for (const stem of STEMS)
            makeClips(suite.clips, {name: stem, seconds: 6});
    });

    async function inTab(body) {
        const tab = await suite.engine.newTab();
        try {
            await body(tab);
        } finally {
            await tab.close();
        }
    }

    const playlistRows = () => STEMS.map((stem) => ({
        flash: `${stem}.flv`, mp4: `${stem}.mp4`, webm: `${stem}.webm`, title: `Clip ${stem}`
    }));
    const folder = () => suite.clips + '/';

    it('the HTML5, playlist and Flash pages pass the WCAG A/AA check', {timeout: 180_000},
       () => inTab(async (tab) => {
           // Each page once its player is there: the video, or the emulator's element.
           const sites = [
               [suite.makeSite('axe-html5', {Html5: '1'}, {clips}), 'video'],
               [suite.makeSite('axe-list', {Html5: '1'},
                         {rows: playlistRows(), folder: folder(), position: Position.Bottom}),
                'video'],
               [suite.makeSite('axe-flash', {Html5: '0'}, {clips}), 'ruffle-embed'],
           ];
           for (const [site, player] of sites) {
               await tab.goto(site.url);
               await tab.waitFor((selector) => Boolean(document.querySelector(selector)), player,
                                 {message: player});
               assert.deepEqual(await violations(tab), [], site.url);
           }
       }));

    it('Tab reaches every playlist item and Enter plays it', {timeout: 120_000},
       () => inTab(async (tab) => {
           const site = suite.makeSite('keys', {Html5: '1'},
                                 {rows: playlistRows(), folder: folder(), position: Position.Right});
           await tab.goto(site.url);
           const items = `#pDivSc${site.tag} li`;
           await tab.waitFor((selector) => document.querySelectorAll(selector).length === 3,
                             items, {message: 'the three items'});
           const reached = [];
           for (let press = 0; press < 20 && reached.length < 3; ++press) {
               await tab.press('Tab');
               const index = await tab.evaluate((selector) => [...document.querySelectorAll(selector)]
                                                    .indexOf(document.activeElement), items);
               if (index >= 0 && !reached.includes(index))
                   reached.push(index);
           }
           assert.deepEqual(reached, [0, 1, 2], 'the items Tab reached, in order');
           await tab.press('Enter');  // on the third item
           const playing = await tab.waitFor(([selector, video]) => {
               const list = [...document.querySelectorAll(selector)];
               const source = document.querySelector(video)?.currentSrc ?? '';
               return /\/three\.(mp4|webm)$/.test(source) &&
                   list.findIndex((li) => li.getAttribute('aria-current') === 'true') === 2;
           }, [items, `#vDiv${site.tag} > video`], {message: 'the third video, marked current'});
           assert.ok(playing);
       }));

    it('a site uploaded without ruffle/ shows the configured no-Flash message',
       {timeout: 60_000}, () => inTab(async (tab) => {
           const site = suite.makeSite('noruffle', {Html5: '0'}, {clips});
           rmSync(join(site.output, 'ruffle'), {recursive: true, force: true});
           await tab.goto(site.url);
           const expected = errorFlash(site.appFolder);
           const shown = await tab.waitFor(([tag, text]) => {
               const box = document.getElementById(`flashcontent${tag}`);
               const parsed = document.createElement('div');
               parsed.innerHTML = text;
               return box && box.getElementsByTagName('embed').length === 0 &&
                   box.innerHTML === parsed.innerHTML && {
                       plugins: document.querySelectorAll(
                           'embed, object, ruffle-embed, ruffle-object').length,
                   };
           }, [site.tag, expected], {timeout: 15_000, message: 'the no-Flash message'});
           assert.equal(shown.plugins, 0, 'no plug-in element is left');
       }));

    it('a Flash video named "take#1 why? 50%.flv" is found and plays', {timeout: 120_000},
       () => inTab(async (tab) => {
           const marks = makeClips(suite.clips, {name: 'take#1 why? 50%', seconds: 20});
           const site = suite.makeSite('marks', {Html5: '0', AutoPlay: '1'},
                                 {clips: marks, sizeIndex: 0});
           await tab.goto(site.url);
           const stage = {x: 0, y: 0, ...site.size};
           await tab.waitFor(emulatorPicture, stage,
                             {timeout: FIRST_FRAME_MS, message: 'the emulator'});
           const pictures = await waitForPlayingPicture(tab, emulatorPicture, stage);
           assert.deepEqual(pictures.map((p) => p.panic), [false, false, false], 'the error panel');
           assert.ok(suite.server.log.some(({path, status}) =>
                         path === `${site.sitePath}take%231%20why%3F%2050%25.flv` && status === 200),
                     'the encoded address was asked for and found');
       }));
});
