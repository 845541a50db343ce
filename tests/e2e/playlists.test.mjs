// What a visitor sees of a generated HTML5 playlist: each case writes a profile and a playlist
// file, runs `vidlark-cli generate --playlist`, serves the output at the profile's ServerPath on
// 127.0.0.1 and opens the test page in headless Chromium (no Flash, so the HTML5 list shows).
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';

import {skipReason, withVisits} from './lib/browser.mjs';
import {chromiumSuite} from './lib/chromiumSuite.mjs';
import {makeClips} from './lib/clips.mjs';
import {playerSize, playlistOptions} from './lib/installation.mjs';
import {Layout, Position} from './lib/playlist.mjs';

const skip = skipReason();


const SIZE_INDEX = 1;
const ITEM = '#666666';  // the item being played
const OTHER = '#333333';
const rgb = (hex) => `rgb(${[1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16)).join(', ')})`;

// Three rows; the second title and description hold characters that HTML and XML give a meaning.
const ROWS = [
    {stem: 'one', title: 'First clip', description: 'Opening scene', picture: 'red'},
    {stem: 'two', title: 'Rock & <Roll>', description: 'Say "hi" & bye', picture: 'green'},
    {stem: 'three', title: 'Third clip', description: 'Closing scene', picture: 'blue'},
];

chromiumSuite('generated playlist pages in Chromium', {skip, prefix: 'vidlark-e2e-playlist-'},
              (suite) => {
    before(() => {
        mkdirSync(join(suite.work, 'pictures'));
        for (const row of ROWS) {
            makeClips(suite.clips, {name: row.stem, seconds: 2});
            execFileSync(
                'ffmpeg',
                [
                    '-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
                    `color=${row.picture}:s=320x240`, '-frames:v', '1',
                    join(suite.work, 'pictures', `${row.stem}.jpg`)
                ],
                {stdio: 'pipe'});
        }
    });

    // Generates the site of one case at http://127.0.0.1:PORT/<name>/site/. `settings` maps
    // profile keys to values, or is a function of the case's base address that returns that map.
    function makeSite(name, {position, layout, settings = {}, captions = {}}) {
        const chosen = (base) => ({
            Html5: '1',
            ...(typeof settings === 'function' ? settings(base) : settings),
        });
        return suite.makeSite(name, chosen, {
            sizeIndex: SIZE_INDEX,
            position,
            layout,
            folder: suite.clips + '/',
            thumbnails: join(suite.work, 'pictures') + '/',
            rows: ROWS.map((row) => ({
                flash: `${row.stem}.flv`,
                mp4: `${row.stem}.mp4`,
                webm: `${row.stem}.webm`,
                title: row.title,
                description: row.description,
                thumbnail: `${row.stem}.jpg`,
                captions: captions[row.stem],
            })),
        });
    }

    // Every page of a case must end without script errors or failed requests.
    function visitorCase(title, body) {
        it(title, {timeout: 60_000}, () => withVisits(suite.browser, suite.server, body, {clean: true}));
    }

    // The list once the configuration has been read, and the first video ready; from then on the
    // page records every video that starts or ends, so a case can follow the playlist.
    async function openPlaylist(open, site) {
        const visit = await open(site.url);
        const {page} = visit;
        await page.locator(`#vDiv${site.tag} > video#vI${site.tag}`).waitFor({timeout: 15_000});
        await page.waitForFunction(
            (tag) => document.querySelectorAll(`#pDivSc${tag} li`).length > 0, site.tag);
        await page.evaluate(() => {
            window.playlistLog = [];
            for (const type of ['play', 'ended']) {
                document.addEventListener(type, (event) => {
                    const stem = event.target.currentSrc.replace(/^.*\/|\.[^.]*$/g, '');
                    window.playlistLog.push({type, id: event.target.id, stem});
                }, true);
            }
        });
        return visit;
    }

    const log = (page) => page.evaluate(() => window.playlistLog);

    async function waitForLog(page, type, id, stem) {
        await page.waitForFunction(
            ([t, i, s]) =>
                window.playlistLog.some((e) => e.type === t && e.id === i && e.stem === s),
            [type, id, stem], {timeout: 15_000});
    }

    // Jumps to just before the end of the video shown and plays, so its end handler runs.
    async function playToEnd(page, id) {
        await page.waitForFunction((i) => document.getElementById(i)?.readyState >= 1, id);
        await page.evaluate((i) => {
            const video = document.getElementById(i);
            video.muted = true;
            video.currentTime = Math.max(0, video.duration - 0.2);
            video.play().catch(() => {});
        }, id);
    }

    // The list item backgrounds, with the pointer away from the list so no hover colour shows.
    async function itemColours(page, site) {
        await page.mouse.move(0, 0);
        return page.locator(`#pDivSc${site.tag} li`)
            .evaluateAll((items) => items.map((li) => getComputedStyle(li).backgroundColor));
    }

    const highlighted = (index) => ROWS.map((_, n) => rgb(n === index ? ITEM : OTHER));

    // A short pause in which a page that wrongly went on would have started the next video.
    const settle = (page) => page.waitForTimeout(700);

    const POSITIONS = ['Right', 'Bottom', 'Invisible'];
    const LAYOUTS = ['TitleOnly', 'TitleDesc', 'TitleDescThumb'];
    for (const position of POSITIONS) {
        for (const layout of LAYOUTS) {
            visitorCase(`lists one item per row: ${position}, ${layout}`, async (open) => {
                const name = `list-${position}-${layout}`.toLowerCase();
                const site = makeSite(name, {position: Position[position], layout: Layout[layout]});
                const {page} = await openPlaylist(open, site);
                await assertItems(page, site, position, layout);
                await assertPlacement(page, site, position, layout);
            });
        }
    }

    // The configuration file of an invisible playlist has no thumbnail folder (`yy`): its hidden
    // images get no address, so nothing is asked for in vain.
    async function assertItems(page, site, position, layout) {
        const items = page.locator(`#pDivSc${site.tag} li`);
        if (layout === 'TitleDescThumb') {
            await page.waitForFunction(
                (tag) => [...document.querySelectorAll(`#pDivSc${tag} li img`)].every(
                    (img) => img.complete),
                site.tag, {timeout: 10_000});
        }
        const shown = await items.evaluateAll(
            (lis) => lis.map(
                (li) => ({
                    bold: li.querySelector('strong')?.textContent,
                    cells: [...li.querySelectorAll('td')].map((td) => td.textContent.trim()),
                    images: [...li.querySelectorAll('img')].map((img) => ({
                                                                    src: img.getAttribute('src'),
                                                                    width: img.naturalWidth,
                                                                    height: img.naturalHeight,
                                                                })),
                })));
        const expected = ROWS.map((row) => {
            const hidden = position === 'Invisible';
            const thumb = hidden ? '' : `${site.serverPath}thumbs/${row.stem}.jpg`;
            switch (layout) {
                case 'TitleOnly':
                    return {bold: row.title, cells: [row.title], images: []};
                case 'TitleDesc':
                    return {bold: row.title, cells: [row.title, row.description], images: []};
                default:
                    return {
                        bold: row.title,
                        cells: ['', row.title, row.description],
                        images: [{src: thumb, width: hidden ? 0 : 80, height: hidden ? 0 : 58}],
                    };
            }
        });
        assert.deepEqual(shown, expected);
    }

    async function assertPlacement(page, site, position, layout) {
        const player = playerSize(site.appFolder, SIZE_INDEX);
        const options = playlistOptions(site.appFolder);
        const video = await page.locator(`#vDiv${site.tag}`).boundingBox();
        const list = await page.locator(`#pDiv${site.tag}`).boundingBox();
        assert.deepEqual({width: video.width, height: video.height}, player, 'the video container');
        if (position === 'Invisible') {
            assert.equal(list, null, 'an invisible playlist takes no room');
            return;
        }
        const border = 2;
        if (position === 'Right') {
            assert.equal(list.y, video.y, 'the list starts level with the video');
            assert.ok(list.x >= video.x + video.width, 'the list is right of the video');
            assert.deepEqual(
                {width: list.width, height: list.height},
                {width: options.width - 3 + border, height: player.height + border});
        } else {
            assert.equal(list.x, video.x, 'the list starts under the video');
            assert.ok(list.y >= video.y + video.height, 'the list is below the video');
            const perItem = layout === 'TitleOnly' ? 45 : 75;
            assert.deepEqual(
                {width: list.width, height: list.height},
                {width: player.width + border, height: options.items * perItem + border});
        }
        const boxes =
            await page.locator(`#pDivSc${site.tag} li`)
                .evaluateAll((lis) => lis.map((li) => li.getBoundingClientRect().toJSON()));
        for (let n = 1; n < boxes.length; ++n) {
            assert.equal(boxes[n].left, boxes[0].left, `item ${n + 1} is aligned with the first`);
            assert.ok(boxes[n].top >= boxes[n - 1].bottom, `item ${n + 1} is below item ${n}`);
        }
        // At the Right the items' 96% width plus padding reaches a little past a narrow list's
        // inner edge, so only their start and middle are held to the list.
        for (const box of boxes) {
            const middle = (box.left + box.right) / 2;
            assert.ok(box.left >= list.x && middle < list.x + list.width, 'inside the list');
        }
    }

    // Each video element the list plays gets the tracks of its own row: none for a row without
    // captions, and the first of its row's showing.
    visitorCase('each video of the list shows the captions of its own row', async (open) => {
        const folder = join(suite.work, 'captions');
        mkdirSync(folder, {recursive: true});
        const cue = (text) => `WEBVTT\n\n00:00.000 --> 00:01.900\n${text}\n`;
        writeFileSync(join(folder, 'one.en.vtt'), cue('First words'));
        writeFileSync(join(folder, 'one.de.vtt'), cue('Erste Worte'));
        writeFileSync(join(folder, 'three.en.srt'), '1\n00:00:00,000 --> 00:00:01,900\nLast words\n');
        const site = makeSite('captions', {
            position: Position.Right,
            layout: Layout.TitleOnly,
            captions: {
                one: [
                    {file: join(folder, 'one.en.vtt'), language: 'en', label: 'English'},
                    {file: join(folder, 'one.de.vtt'), language: 'de', label: 'Deutsch'},
                ],
                three: [{file: join(folder, 'three.en.srt'), language: 'en'}],
            },
        });
        const {page} = await openPlaylist(open, site);
        // The showing track's cue at a time inside it, with the track labels of the element.
        const shown = async (id) => {
            await page.waitForFunction((i) => {
                const video = document.getElementById(i);
                if (!video || video.textTracks.length === 0)
                    return video?.readyState >= 1;
                const track = video.textTracks[0];
                if (video.currentTime < 0.5) {
                    video.currentTime = 0.5;
                    return false;
                }
                return track.activeCues && track.activeCues.length === 1;
            }, id, {timeout: 15_000, polling: 200});
            return page.evaluate((i) => {
                const video = document.getElementById(i);
                const tracks = [...video.textTracks];
                return {
                    labels: tracks.map((t) => `${t.language}:${t.label}:${t.mode}`),
                    cue: tracks.length ? tracks[0].activeCues[0].text : null,
                };
            }, id);
        };
        assert.deepEqual(await shown(`vI${site.tag}`), {
            labels: ['en:English:showing', 'de:Deutsch:disabled'],
            cue: 'First words',
        });
        await page.locator(`#pDivSc${site.tag} li`).nth(1).click();
        await waitForLog(page, 'play', `v${site.tag}`, 'two');
        assert.deepEqual(await shown(`v${site.tag}`), {labels: [], cue: null});
        await page.locator(`#pDivSc${site.tag} li`).nth(2).click();
        await waitForLog(page, 'play', `v${site.tag}`, 'three');
        assert.deepEqual(
            await shown(`v${site.tag}`), {labels: ['en:en:showing'], cue: 'Last words'});
    });

    visitorCase(
        'with auto progress plays the list through, then sends the visitor to the redirect',
        async (open) => {
            const site = makeSite('progress', {
                position: Position.Bottom,
                layout: Layout.TitleDesc,
                settings: (base) => ({AutoProgress: '1', RedirectURL: `${base}site/after.html`}),
            });
            writeFileSync(
                join(site.output, 'after.html'),
                '<html><head><title>After the list</title></head><body></body></html>');
            const {page} = await openPlaylist(open, site);
            await playToEnd(page, `vI${site.tag}`);
            await waitForLog(page, 'play', `v${site.tag}`, 'two');
            assert.deepEqual(await itemColours(page, site), highlighted(1));
            assert.equal(await page.locator(`#vI${site.tag}`).count(), 0, 'the first video left');
            await playToEnd(page, `v${site.tag}`);
            await waitForLog(page, 'play', `v${site.tag}`, 'three');
            assert.deepEqual(await itemColours(page, site), highlighted(2));
            const plays = (await log(page)).filter((e) => e.type === 'play').map((e) => e.stem);
            assert.deepEqual(plays, ['one', 'two', 'three']);
            await playToEnd(page, `v${site.tag}`);
            await page.waitForURL(`${site.serverPath}after.html`, {timeout: 10_000});
            assert.equal(await page.title(), 'After the list');
        });

    visitorCase(
        'without auto progress stops after each video; a click plays and highlights that item',
        async (open) => {
            const site = makeSite('stop', {
                position: Position.Right,
                layout: Layout.TitleOnly,
                settings: (base) => ({AutoProgress: '0', RedirectURL: `${base}site/after.html`}),
            });
            writeFileSync(
                join(site.output, 'after.html'),
                '<html><head><title>After the list</title></head><body></body></html>');
            const {page} = await openPlaylist(open, site);
            await playToEnd(page, `vI${site.tag}`);
            await waitForLog(page, 'ended', `vI${site.tag}`, 'one');
            await settle(page);
            assert.deepEqual(
                (await log(page)).map((e) => `${e.type} ${e.stem}`), ['play one', 'ended one']);
            assert.equal(await page.locator(`#vI${site.tag}`).count(), 1, 'still the first video');

            await page.locator(`#pDivSc${site.tag} li`).nth(1).click();
            await waitForLog(page, 'play', `v${site.tag}`, 'two');
            assert.deepEqual(await itemColours(page, site), highlighted(1));
            assert.equal(await page.locator(`#vDiv${site.tag} video`).count(), 1);
            await playToEnd(page, `v${site.tag}`);
            await waitForLog(page, 'ended', `v${site.tag}`, 'two');
            await settle(page);
            const after = await log(page);
            assert.deepEqual(after.slice(-1), [{type: 'ended', id: `v${site.tag}`, stem: 'two'}]);
            assert.equal(page.url(), site.url, 'no end action before the last video');
            assert.deepEqual(await itemColours(page, site), highlighted(1));

            // The action after the last video does not depend on auto progress.
            await page.locator(`#pDivSc${site.tag} li`).nth(2).click();
            await waitForLog(page, 'play', `v${site.tag}`, 'three');
            await playToEnd(page, `v${site.tag}`);
            await page.waitForURL(`${site.serverPath}after.html`, {timeout: 10_000});
        });

    visitorCase(
        'an invisible playlist goes on by itself and shows the action HTML after the last video',
        async (open) => {
            // Auto progress is off in the profile: an invisible list has nothing to click.
            const site = makeSite('action', {
                position: Position.Invisible,
                layout: Layout.TitleDesc,
                settings: {AutoProgress: '0', ActionCode: '<p id="offer">Buy now</p>'},
            });
            const {page} = await openPlaylist(open, site);
            const player = page.locator(`#elementf${site.tag}`);
            const action = page.locator(`#elemento${site.tag}`);
            assert.equal(await action.isVisible(), false, 'the action HTML waits for the end');
            await playToEnd(page, `vI${site.tag}`);
            await waitForLog(page, 'play', `v${site.tag}`, 'two');
            assert.equal(await action.isVisible(), false, 'not after the first video');
            await playToEnd(page, `v${site.tag}`);
            await waitForLog(page, 'play', `v${site.tag}`, 'three');
            await playToEnd(page, `v${site.tag}`);
            await player.waitFor({state: 'hidden', timeout: 10_000});
            await action.waitFor({state: 'visible', timeout: 10_000});
            assert.equal(await action.locator('#offer').innerText(), 'Buy now');
        });
});

