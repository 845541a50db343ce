// Captions in the Flash player under the emulator. vidlark-cli generates a Skin-30-dark page with
// HTML5 off; its zevoconfigsv.xml is then replaced by one written here, whose video lines carry
// caption tracks in `cc`, beside hand-written WebVTT files. The text on show is asked of the
// movie's element (shownCaption, offered through ExternalInterface), and the canvas shows
// whether letters are drawn over the picture.
import assert from 'node:assert/strict';
import {mkdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {it} from 'node:test';

import {withVisits} from '../lib/browser.mjs';
import {chromiumSuite} from '../lib/chromiumSuite.mjs';
import {makeColourFlv} from '../lib/clips.mjs';
import {canvasPixels, colourAt, emulatorSkipReason, near, openPlayer, panicShown, ruffleFolder, waitForColour} from '../lib/emulator.mjs';
import {generate} from '../lib/generate.mjs';
import {caseFolders, writeSiteProfile} from '../lib/sites.mjs';

const cli = process.env.VIDLARK_CLI;
const skip = emulatorSkipReason(cli);

// Player size 0 on Skin-30-dark: a 480 x 270 picture, the 30-pixel bar below it.
const WIDTH = 480;
const HEIGHT = 270;
const BAR = 30;
const GREEN = [0x00, 0xA0, 0x00];
const BLUE = [0x00, 0x00, 0xC0];
// The bottom band of the picture, where captions sit, and a point well above it.
const CAPTION_BAND = {x: 0, y: HEIGHT - 60, width: WIDTH, height: 58};
const PICTURE_POINT = [WIDTH / 2, 40];
// Where a click on the CC button names the track chosen for a moment.
const NOTICE_AREA = {x: WIDTH - 160, y: 0, width: 160, height: 40};
// ControlBar.layout on a 30-pixel bar without the embed button: full screen in the square
// ending unit * 0.4 before the right edge, the captions button in the square left of it.
const UNIT = BAR / 2;
const CC_BUTTON = {x: WIDTH - UNIT * 0.4 - 2 * BAR, y: HEIGHT, width: BAR, height: BAR};

const isLetter = ([r, g, b]) => r > 200 && g > 200 && b > 200;
const isBox = ([r, g, b]) => r < 50 && g < 70 && b < 70;

// Auto start and auto progress on unless `autoStart` is false, which shows the big play button.
function configFile(modeCode, videoLines, {autoStart = true} = {}) {
    const yesNo = (on) => (on ? 'Yes' : 'No');
    return ['<?xml version="1.0" encoding="utf-8"?>', '<vidlark>', '<config>',
        `<aa>${modeCode}</aa>`, '<bb>Progressive</bb>', '<cc>1</cc>', `<dd>${yesNo(autoStart)}</dd>`,
        '<ee>Yes</ee>', '<ff>No</ff>', '<gg>No</gg>', `<hh>${yesNo(!autoStart)}</hh>`, '<ii>0</ii>', '<jj>0x202020</jj>', '<kk>480</kk>',
        '<ll>300</ll>', '<mm>No</mm>', '<ss>No</ss>', '<uu>No</uu>', '<vv>No</vv>', '</config>',
        '<files>', ...videoLines, '</files>', '</vidlark>', ''].join('\r\n');
}

chromiumSuite('captions in the Flash player under the emulator',
              {skip, prefix: 'vidlark-captions-'}, (suite) => {
    // A generated page at /<name>/site/ whose configuration is `config`; `files` maps names in
    // the output folder to their text, `clips` names to [colour, seconds].
    function makeSite(name, {config, files = {}, clips = {}}) {
        const {root, output, appFolder} = caseFolders(cli, suite.work, name);
        const serverPath = `http://127.0.0.1:${suite.server.port}/${name}/site/`;
        const profile = writeSiteProfile(
            cli, root, {Html5: '0', PlayerStyle: '0', PlayerSize: '0', ServerPath: serverPath});
        const flv = makeColourFlv(join(root, 'generated.flv'), ['000000'], 1);
        generate({cli, appFolder, profile, output, clips: {flv}});
        writeFileSync(join(output, 'zevoconfigsv.xml'), config);
        for (const [file, text] of Object.entries(files)) {
            mkdirSync(join(output, file, '..'), {recursive: true});
            writeFileSync(join(output, file), text);
        }
        for (const [file, [colour, seconds]] of Object.entries(clips))
            makeColourFlv(join(output, file), [colour], seconds);
        suite.server.mount(`/${name}/site/ruffle/`, ruffleFolder(cli));
        suite.server.mount(`/${name}/site/`, output);
        return {url: `${serverPath}onlinetest.html`, ruffle: `${serverPath}ruffle/ruffle.js`};
    }

    function visitPlayer(site, body) {
        return withVisits(suite.browser, suite.server, async (open) => {
            const visit = await openPlayer(open, site.url, site.ruffle);
            const box = await visit.player.boundingBox();
            const click = (x, y) => visit.page.mouse.click(box.x + x, box.y + y);
            const shown = () => visit.page.evaluate(() => {
                const player = document.querySelector('ruffle-embed, ruffle-object');
                return typeof player.shownCaption === 'function' ? player.shownCaption() : null;
            });
            await body({...visit, click, shown});
            assert.equal(await panicShown(visit.page), false, 'the emulator shows its error panel');
            assert.deepEqual(visit.problems.pageErrors, [], 'script errors on the page');
        });
    }

    // Polls the caption on show until `wanted` (a string or a test); returns every distinct
    // text seen, in order: null until the movie has offered shownCaption, "" while none shows.
    async function captionsUntil(page, shown, wanted, timeout) {
        const matches = typeof wanted === 'string' ? (text) => text === wanted : wanted;
        const seen = [];
        const deadline = Date.now() + timeout;
        for (;;) {
            const text = await shown();
            if (seen[seen.length - 1] !== text)
                seen.push(text);
            if (matches(text) || Date.now() > deadline)
                return seen;
            await page.waitForTimeout(100);
        }
    }

    async function pixelCounts(page, area) {
        const {boxes: [rows]} = await canvasPixels(page, {boxes: [area]});
        const pixels = rows.flat();
        return {letters: pixels.filter(isLetter).length, box: pixels.filter(isBox).length};
    }

    // Polls the counts of `area` until `wanted` holds of them or `timeout` passes, and returns
    // the last counts: the emulator draws a click's answer a frame or more later, and later
    // still on a busy machine.
    async function pixelCountsUntil(page, area, wanted, timeout) {
        const deadline = Date.now() + timeout;
        for (;;) {
            const counts = await pixelCounts(page, area);
            if (wanted(counts) || Date.now() > deadline)
                return counts;
            await page.waitForTimeout(50);
        }
    }

    it('shows each cue at its time over the picture, and the CC button steps through the tracks and off',
        {timeout: 120_000}, () => {
            const site = makeSite('single', {
                config: configFile(89, [
                    '<video title="Talk &quot;one&quot;" v1="talk.flv" pic="talk.jpg" ' +
                    'cc="captions/talk.en.vtt|en|English|captions/talk%7Cfr.vtt|fr|Fran%7Cçais"/>'
                ]),
                clips: {'talk.flv': ['00A000', 20]},
                files: {
                    'captions/talk.en.vtt': '\uFEFFWEBVTT\r\n\r\nNOTE two cues\r\n\r\nintro\r\n' +
                        '00:01.000 --> 00:05.000 align:center\r\n<v Ann><i>Hello</i> &amp; welcome</v>\r\n\r\n' +
                        '00:00:05.000 --> 00:00:20.000\r\nSecond cue\r\n',
                    'captions/talk|fr.vtt': 'WEBVTT\n\n00:00.000 --> 00:20.000\nBonjour\n',
                },
            });
            return visitPlayer(site, async ({page, click, shown}) => {
                const seen = await captionsUntil(page, shown, 'Second cue', 30_000);
                assert.deepEqual(seen.filter(Boolean), ['Hello & welcome', 'Second cue'],
                    `the captions on show were ${JSON.stringify(seen)}`);
                const picture = await colourAt(page, PICTURE_POINT);
                assert.ok(near(picture, GREEN), `the video shows rgb ${picture}`);
                const drawn = await pixelCounts(page, CAPTION_BAND);
                assert.ok(drawn.letters > 40 && drawn.box > 300,
                    `the caption band holds ${drawn.letters} letter and ${drawn.box} box pixels`);
                if (process.env.VIDLARK_SHOTS)
                    await page.screenshot({path: join(process.env.VIDLARK_SHOTS, 'captions.png')});
                const button = await pixelCounts(page, CC_BUTTON);
                assert.ok(button.letters > 10, `the CC button has ${button.letters} light pixels`);

                await click(CC_BUTTON.x + BAR / 2, CC_BUTTON.y + BAR / 2);
                const isNamed = ({letters, box}) => letters > 20 && box > 100;
                const named = await pixelCountsUntil(page, NOTICE_AREA, isNamed, 1_500);
                if (process.env.VIDLARK_SHOTS)
                    await page.screenshot({path: join(process.env.VIDLARK_SHOTS, 'captions-track.png')});
                const french = await captionsUntil(page, shown, 'Bonjour', 10_000);
                assert.equal(french[french.length - 1], 'Bonjour', `after one click: ${JSON.stringify(french)}`);
                assert.ok(isNamed(named),
                    `the track's name: ${named.letters} letter and ${named.box} box pixels at the top right`);
                // The name goes after a moment; the caption stays.
                const isGone = ({letters, box}) => letters === 0 && box < 20;
                const gone = await pixelCountsUntil(page, NOTICE_AREA, isGone, 6_000);
                assert.ok(isGone(gone), `the track's name stays: ${JSON.stringify(gone)}`);
                assert.equal(await shown(), 'Bonjour');

                await click(CC_BUTTON.x + BAR / 2, CC_BUTTON.y + BAR / 2);
                const off = await captionsUntil(page, shown, '', 5_000);
                assert.equal(off[off.length - 1], '', `after two clicks: ${JSON.stringify(off)}`);
                // The next frame drawn no longer holds the caption.
                await page.waitForTimeout(300);
                const hidden = await pixelCounts(page, CAPTION_BAND);
                assert.ok(hidden.letters === 0 && hidden.box < 20,
                    `with captions off the band holds ${hidden.letters} letter and ${hidden.box} box pixels`);
                const dimmed = await pixelCounts(page, CC_BUTTON);
                assert.ok(dimmed.letters < button.letters, 'the CC button is not dimmed');
            });
        });

    it('offers the CC button before play, and captions turned off then stay off', {timeout: 120_000}, () => {
        const site = makeSite('before-play', {
            config: configFile(89, ['<video title="" v1="quiet.flv" cc="quiet.vtt|en|English"/>'],
                {autoStart: false}),
            clips: {'quiet.flv': ['00A000', 8]},
            files: {'quiet.vtt': 'WEBVTT\n\n00:00.000 --> 00:08.000\nNot wanted\n'},
        });
        return visitPlayer(site, async ({page, click, shown}) => {
            await captionsUntil(page, shown, (text) => text !== null, 15_000);
            // The big play button is in the middle of a black picture until play.
            await page.waitForTimeout(500);
            const button = await pixelCounts(page, CC_BUTTON);
            assert.ok(button.letters > 10, `before play the CC button has ${button.letters} light pixels`);
            await click(CC_BUTTON.x + BAR / 2, CC_BUTTON.y + BAR / 2);
            await click(WIDTH / 2, HEIGHT / 2);
            const video = await waitForColour(page, PICTURE_POINT, GREEN, 15_000);
            assert.ok(near(video, GREEN), `after play the picture is rgb ${video}`);
            await page.waitForTimeout(1_500);
            assert.equal(await shown(), '', 'captions turned off before play show');
            const band = await pixelCounts(page, CAPTION_BAND);
            assert.equal(band.letters, 0, `the caption band holds ${band.letters} letter pixels`);
        });
    });

    it('follows the video that plays in a playlist', {timeout: 120_000}, () => {
        const site = makeSite('playlist', {
            config: configFile(97, [
                '<video title="One" v1="one.flv" cc="one.vtt|en|"/>',
                '<video title="Two &amp; more" v1="two.flv" cc="two.vtt||"/>',
                '<video title="Three" v1="three.flv"/>',
            ]),
            clips: {'one.flv': ['00A000', 3], 'two.flv': ['0000C0', 4], 'three.flv': ['C00000', 6]},
            files: {
                'one.vtt': 'WEBVTT\n\n00:00.000 --> 00:10.000\nFirst video\n',
                'two.vtt': 'WEBVTT\n\n00:00.000 --> 00:10.000\nSecond video\n',
            },
        });
        return visitPlayer(site, async ({page, shown}) => {
            const seen = await captionsUntil(page, shown, 'Second video', 30_000);
            assert.deepEqual(seen.filter(Boolean), ['First video', 'Second video'],
                `the captions on show were ${JSON.stringify(seen)}`);
            // The cue can be offered a moment before the emulator draws the video's first frame.
            const second = await waitForColour(page, PICTURE_POINT, BLUE, 3_000);
            assert.ok(near(second, BLUE), `the second video shows rgb ${second}`);
            // The third video has no captions: nothing stays from the second.
            const third = await waitForColour(page, PICTURE_POINT, [0xC0, 0, 0], 15_000);
            assert.ok(near(third, [0xC0, 0, 0]), `the third video never shows (rgb ${third})`);
            assert.equal(await shown(), '', 'a caption shows over the video without captions');
        });
    });
});
