// What a visitor sees of the pages vidlark-cli generates: each case writes a profile, generates
// into a folder of its own, serves it at the profile's ServerPath on 127.0.0.1 and opens the page
// in headless Chromium. Chromium has no Flash plug-in, so the HTML5 fallback is what shows.
import assert from 'node:assert/strict';
import {existsSync, mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, it} from 'node:test';
import {pathToFileURL} from 'node:url';

import {skipReason, VISITORS, withVisits} from './lib/browser.mjs';
import {chromiumSuite} from './lib/chromiumSuite.mjs';
import {makeClips, makeFlashOnly} from './lib/clips.mjs';
import {errorFlash, playerSize} from './lib/installation.mjs';

const skip = skipReason();


const ANDROID_PHONE =
    'Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 (KHTML, like Gecko) ' +
    'Chrome/124.0.0.0 Mobile Safari/537.36';
// The second entry of the size list, so the profile's size line is really applied.
const SIZE_INDEX = 1;

// With the browser's own autoplay policy too (`policyBrowser`), for the cases about starting by
// itself.
chromiumSuite('generated player pages in Chromium', {skip, prefix: 'vidlark-e2e-',
                                                     policyBrowser: true}, (suite) => {
    let clips;

    before(() => {
        clips = makeClips(suite.clips);
    });

    // Generates the site of one case with lib/sites.mjs: pages at
    // http://127.0.0.1:PORT/<name>/site/, the videos also at the VideoPath.
    function makeSite(name, settings, siteClips = clips, {makeMp4 = false, captions = []} = {}) {
        return suite.makeSite(name, settings,
                              {clips: siteClips, makeMp4, captions, sizeIndex: SIZE_INDEX});
    }

    function visitorCase(title, body) {
        it(title, {timeout: 60_000}, () => withVisits(suite.browser, suite.server, body));
    }

    function assertNoProblems(problems) {
        assert.deepEqual(problems.pageErrors, [], 'script errors on the page');
        assert.deepEqual(problems.failedRequests, [], 'requests of the page that failed');
    }

    // The HTML5 player inside its container, loaded far enough to know its length.
    async function html5Player(page, site) {
        const video = page.locator(`#vDiv${site.tag} > video#vI${site.tag}`);
        await video.waitFor({state: 'visible', timeout: 15_000});
        await page.waitForFunction(
            (id) => document.getElementById(id).readyState >= 1, `vI${site.tag}`,
            {timeout: 15_000});
        const state = await video.evaluate(describeVideo);
        return {state, box: await video.boundingBox()};
    }

    async function assertHtml5Video(page, site) {
        const {width, height} = playerSize(site.appFolder, SIZE_INDEX);
        const {state, box} = await html5Player(page, site);
        assert.equal(state.width, String(width));
        assert.equal(state.height, String(height));
        assert.deepEqual({width: box.width, height: box.height}, {width, height}, 'size on screen');
        const sources = [
            [`${site.videoPath}clip.mp4`, 'video/mp4'],
            [`${site.videoPath}clip.webm`, 'video/webm'],
        ];
        assert.deepEqual(state.sources, sources);
        assert.ok(sources.some(([src]) => src === state.currentSrc), `plays ${state.currentSrc}`);
        assert.ok(
            Math.abs(state.duration - 2) < 0.5, `the two-second clip, not ${state.duration} s`);
        assert.equal(state.controls, true);
        return state;
    }

    // Jumps to just before the end and plays, muted, so the page's end-of-video action runs.
    async function playToEnd(page, site) {
        await html5Player(page, site);
        await page.evaluate((id) => {
            const video = document.getElementById(id);
            video.muted = true;
            video.currentTime = Math.max(0, video.duration - 0.2);
            video.play().catch(() => {});
        }, `vI${site.tag}`);
    }

    visitorCase(
        'shows the HTML5 video at the player size with the initial volume', async (open) => {
            // The video folder is typed without its closing slash, which generation adds.
            const site = makeSite(
                'html5', (base) => ({Html5: '1', AudioLevel: '40', VideoPath: `${base}media`}));
            assert.notEqual(site.videoPath, site.serverPath);
            const {page, problems} = await open(site.url);
            const state = await assertHtml5Video(page, site);
            assert.equal(state.volume, 0.4);
            assertNoProblems(problems);
        });

    visitorCase('plays videos whose names hold quotes, accents and other scripts', async (open) => {
        // The configuration file says UTF-8 but is written in Windows-1252: beyond ASCII the
        // names travel as character references; the script builds the video element with them.
        const folder = join(suite.work, 'clips-named');
        mkdirSync(folder);
        const named = makeClips(folder, {name: 'Café "视频" & co'});
        const site = makeSite('named', {Html5: '1'}, named);
        const {page, problems} = await open(site.url);
        const {state} = await html5Player(page, site);
        assert.deepEqual(state.sources, [
            [`${site.serverPath}Café "视频" & co.mp4`, 'video/mp4'],
            [`${site.serverPath}Café "视频" & co.webm`, 'video/webm'],
        ]);
        assert.ok(state.duration > 1, `duration ${state.duration}`);
        assertNoProblems(problems);
    });

    visitorCase('plays videos whose names hold a hash, a question mark and a percent sign',
                async (open) => {
        // Read as they are, "#" would end the address, "?" start a query and "%" an escape: the
        // browser would ask the server for "take" or fail on the address.
        const folder = join(suite.work, 'clips-marks');
        mkdirSync(folder);
        const named = makeClips(folder, {name: 'take#1 why? 50%'});
        const site = makeSite('marks', {Html5: '1'}, named);
        const {page, problems} = await open(site.url);
        const {state} = await html5Player(page, site);
        assert.deepEqual(state.sources, [
            [`${site.serverPath}take%231 why%3F 50%25.mp4`, 'video/mp4'],
            [`${site.serverPath}take%231 why%3F 50%25.webm`, 'video/webm'],
        ]);
        assert.equal(
            decodeURIComponent(new URL(state.currentSrc).pathname),
            `${new URL(site.serverPath).pathname}take#1 why? 50%.mp4`);
        assert.ok(Math.abs(state.duration - 2) < 0.5, `the two-second clip, not ${state.duration} s`);
        assertNoProblems(problems);
    });

    for (const [codecs, label] of [['h263', 'encoded'], ['h264', 'remuxed']]) {
        visitorCase(`plays the MP4 that --make-mp4 made of an FLV-only choice (${label})`,
                    async (open) => {
            const folder = join(suite.work, `clips-flv-only-${codecs}`);
            mkdirSync(folder);
            const flashOnly = makeFlashOnly(folder, {name: 'talk', codecs});
            const site = makeSite(`makemp4-${codecs}`, {Html5: '1'}, flashOnly, {makeMp4: true});
            assert.ok(existsSync(join(folder, 'talk.mp4')), 'the copy beside the Flash video');
            const {page, problems} = await open(site.url);
            const {state} = await html5Player(page, site);
            // The page names a WebM source even when none was chosen; the MP4 comes first and plays.
            assert.deepEqual(state.sources[0], [`${site.videoPath}talk.mp4`, 'video/mp4']);
            assert.equal(state.currentSrc, `${site.videoPath}talk.mp4`);
            assert.ok(Math.abs(state.duration - 2) < 0.2, `the two-second clip, not ${state.duration} s`);
            await page.evaluate((id) => {
                const video = document.getElementById(id);
                video.muted = true;
                video.play().catch(() => {});
            }, `vI${site.tag}`);
            await page.waitForFunction(
                (id) => document.getElementById(id).currentTime > 0.5, `vI${site.tag}`,
                {timeout: 10_000});
            assertNoProblems(problems);
        });
    }

    visitorCase('sends the visitor to the redirect address when the video ends', async (open) => {
        const site =
            makeSite('redirect', (base) => ({Html5: '1', RedirectURL: `${base}site/after.html`}));
        writeFileSync(
            join(site.output, 'after.html'),
            '<html><head><title>After the video</title></head><body><h1>Thanks</h1></body></html>');
        const {page, problems} = await open(site.url);
        await playToEnd(page, site);
        await page.waitForURL(`${site.serverPath}after.html`, {timeout: 10_000});
        assert.equal(await page.title(), 'After the video');
        assertNoProblems(problems);
    });

    visitorCase(
        'replaces the player with the action HTML at the end; Dismiss brings it back',
        async (open) => {
            const site = makeSite('action', {Html5: '1', ActionCode: '<p id="offer">Buy now</p>'});
            const {page, problems} = await open(site.url);
            const player = page.locator(`#elementf${site.tag}`);
            const action = page.locator(`#elemento${site.tag}`);
            await assertHtml5Video(page, site);
            assert.equal(await action.isVisible(), false, 'the action HTML waits for the end');
            await playToEnd(page, site);
            await player.waitFor({state: 'hidden', timeout: 10_000});
            await action.waitFor({state: 'visible', timeout: 10_000});
            assert.equal(await action.locator('#offer').innerText(), 'Buy now');
            // A visitor reads the offer once it has finished sliding in.
            await page.waitForFunction(() => window.jQuery(':animated').length === 0);
            await action.locator('#backtovideo', {hasText: 'Dismiss'}).click();
            await action.waitFor({state: 'hidden', timeout: 5_000});
            await player.waitFor({state: 'visible', timeout: 5_000});
            assert.equal(await page.locator(`#vI${site.tag}`).isVisible(), true);
            assertNoProblems(problems);
        });

    visitorCase('still shows the video with "E&ncrypt HTML" on', async (open) => {
        const site = makeSite('encrypt', {Html5: '1', Encrypt: '1'});
        const source = readFileSync(join(site.output, 'onlinetest.html'), 'latin1');
        assert.match(source, /document\.write\(unescape\("(\\x[0-9a-f]{2})+"\)\);/);
        assert.doesNotMatch(source, /zevocoresv/, 'the script address is not readable in the page');
        assert.match(
            site.embedCode, /^<script type="text\/javascript">\r\ndocument\.write\(unescape\(/);
        assert.ok(source.includes(site.embedCode), 'the page holds the code the user pastes');
        const {page, problems} = await open(site.url);
        await assertHtml5Video(page, site);
        assertNoProblems(problems);
    });

    visitorCase(
        'shows the video on an Android phone, without a Flash placeholder', async (open) => {
            const site = makeSite('android', {Html5: '1'});
            const {page, problems} = await open(site.url, {userAgent: ANDROID_PHONE});
            await assertHtml5Video(page, site);
            assert.equal(await page.locator(`#flashcontent${site.tag}`).count(), 0);
            assertNoProblems(problems);
        });

    // Where the browser can run the Flash emulator, the page plays the movie through it
    // (tests/e2e/flash); a browser without WebAssembly keeps the message.
    visitorCase('shows the "no Flash" message when HTML5 is off and no emulator can run',
                async (open) => {
        const site = makeSite('noflash', {Html5: '0'});
        const visit = await open('about:blank');
        await visit.context.addInitScript(() => { delete window.WebAssembly; });
        await visit.page.goto(site.url);
        const {page, problems} = visit;
        const placeholder = page.locator(`#flashcontent${site.tag}`);
        await placeholder.waitFor({state: 'visible', timeout: 10_000});
        // The message as the browser reads it on its own, so both sides are serialised alike.
        const shown = await placeholder.evaluate((element, message) => {
            const parsed = document.createElement('div');
            parsed.innerHTML = message;
            return {html: element.innerHTML, expected: parsed.innerHTML, text: element.innerText};
        }, errorFlash(site.appFolder));
        assert.equal(shown.html, shown.expected);
        assert.ok(shown.text.trim().length > 0, 'the message has visible text');
        assert.equal(await page.locator('video').count(), 0);
        assert.deepEqual(suite.server.log.filter(({path}) => path.startsWith('/noflash/site/ruffle/')), []);
        assertNoProblems(problems);
    });

    // An SRT written in Windows-1252 (as older subtitle tools do) and a WebVTT file: the run
    // converts the first, and the page gives the video both as text tracks, the first showing.
    for (const [visitor, options] of VISITORS) {
        visitorCase(`shows the caption tracks, the first by default (${visitor})`, async (open) => {
            const folder = join(suite.work, `captions-${visitor}`);
            mkdirSync(folder);
            const srt = join(folder, 'clip.fr.srt');
            writeFileSync(srt, Buffer.concat([
                Buffer.from('1\r\n00:00:00,200 --> 00:00:01,500\r\nCaf'),
                Buffer.from([0xe9]),
                Buffer.from(' cr'),
                Buffer.from([0xe8]),
                Buffer.from('me\r\n'),
            ]));
            const vtt = join(folder, 'clip.de.vtt');
            writeFileSync(vtt, 'WEBVTT\n\n00:00.100 --> 00:01.900\nZweite | Spur\n');
            const site = makeSite(`captions-${visitor}`, {Html5: '1'}, clips, {
                captions: [`${srt}:fr:Fran\u00e7ais | 100%`, `${vtt}:de`],
            });
            const {page, problems} = await open(site.url, options);
            await html5Player(page, site);
            const id = `vI${site.tag}`;
            // A disabled track loads no cues: the second is hidden (not shown) to read its own.
            await page.evaluate((videoId) => {
                document.getElementById(videoId).textTracks[1].mode = 'hidden';
            }, id);
            await page.waitForFunction((videoId) => {
                const tracks = document.getElementById(videoId).textTracks;
                return tracks.length === 2 && [...tracks].every((t) => t.cues && t.cues.length > 0);
            }, id, {timeout: 15_000});
            const tracks = await page.evaluate((videoId) => {
                const video = document.getElementById(videoId);
                return [...video.querySelectorAll('track')].map((element) => ({
                    src: element.getAttribute('src'),
                    isDefault: element.default,
                    kind: element.track.kind,
                    language: element.track.language,
                    label: element.track.label,
                    cues: [...element.track.cues].map((c) => [c.startTime, c.endTime, c.text]),
                }));
            }, id);
            assert.deepEqual(tracks, [
                {
                    src: `${site.serverPath}clip.fr.vtt`, isDefault: true, kind: 'captions',
                    language: 'fr', label: 'Fran\u00e7ais | 100%',
                    cues: [[0.2, 1.5, 'Caf\u00e9 cr\u00e8me']],
                },
                {
                    src: `${site.serverPath}clip.de.vtt`, isDefault: false, kind: 'captions',
                    language: 'de', label: 'de', cues: [[0.1, 1.9, 'Zweite | Spur']],
                },
            ]);
            // The default track was showing before the test touched the tracks, and shows its
            // cue at a time inside it.
            await page.evaluate((videoId) => {
                document.getElementById(videoId).currentTime = 0.8;
            }, id);
            await page.waitForFunction((videoId) => {
                const track = document.getElementById(videoId).textTracks[0];
                return track.activeCues && track.activeCues.length === 1;
            }, id, {timeout: 15_000});
            const first = await page.evaluate((videoId) => {
                const track = document.getElementById(videoId).textTracks[0];
                return {mode: track.mode, active: track.activeCues[0].text};
            }, id);
            assert.deepEqual(first, {mode: 'showing', active: 'Caf\u00e9 cr\u00e8me'});
            assertNoProblems(problems);
        });
    }

    // Long enough to still play while the test looks at it and clicks.
    function longClips(name) {
        const folder = join(suite.work, `clips-${name}`);
        mkdirSync(folder);
        return makeClips(folder, {seconds: 30});
    }

    function policyCase(title, body) {
        it(title, {timeout: 90_000}, () => withVisits(suite.policyBrowser, suite.server, body));
    }

    // Opens the page with a recorder that runs before the page's scripts: when a video first
    // plays it notes whether it is muted and whether the visitor had touched the page, and tries a
    // second video of the same address with sound, which the browser's policy must refuse. The
    // record arrives as a console message, since every evaluation from the test counts as a touch.
    async function openRecordingStart(open, url, options) {
        const visit = await open('about:blank', options);
        await visit.context.addInitScript(() => {
            document.addEventListener('playing', (event) => {
                if (window.vidlarkStart)
                    return;
                const video = event.target;
                const start = {muted: video.muted, touched: navigator.userActivation.hasBeenActive};
                window.vidlarkStart = start;
                const probe = document.createElement('video');
                probe.src = video.currentSrc;
                const report = (result) => {
                    start.withSound = result;
                    probe.pause();
                    console.log('vidlark-start ' + JSON.stringify(start));
                };
                probe.play().then(() => report('played'), (error) => report(error.name));
            }, true);
        });
        const recorded = visit.page.waitForEvent(
            'console', {predicate: (m) => m.text().startsWith('vidlark-start '), timeout: 20_000});
        await visit.page.goto(url);
        const start = JSON.parse((await recorded).text().slice('vidlark-start '.length));
        return {...visit, start};
    }

    policyCase(
        'auto start with the muted start: plays inline and muted at once, the button unmutes',
        async (open) => {
            const site = makeSite(
                'muted',
                {Html5: '1', AutoPlay: '1', PlaysInline: '1', MutedAutoPlay: '1'},
                longClips('muted'));
            for (const [visitor, options] of VISITORS) {
                const {page, problems, start} = await openRecordingStart(open, site.url, options);
                assert.deepEqual(start, {muted: true, touched: false, withSound: 'NotAllowedError'},
                                 `${visitor}: started muted by itself, where sound is refused`);
                const id = `vI${site.tag}`;
                const {state} = await html5Player(page, site);
                assert.equal(state.playsInline, true, visitor);
                assert.equal(state.paused, false, `${visitor}: still playing`);

                const button = page.locator(`#vDiv${site.tag} > #uB${site.tag}`);
                assert.match(await button.innerText(), /Unmute/);
                const videoBox = await page.locator(`#${id}`).boundingBox();
                const buttonBox = await button.boundingBox();
                assert.ok(buttonBox.x >= videoBox.x && buttonBox.y >= videoBox.y &&
                              buttonBox.x + buttonBox.width <= videoBox.x + videoBox.width &&
                              buttonBox.y + buttonBox.height <= videoBox.y + videoBox.height,
                          `${visitor}: the button lies over the video`);
                await button.click();
                await button.waitFor({state: 'detached', timeout: 5_000});
                const after = await page.evaluate((id) => {
                    const video = document.getElementById(id);
                    return {muted: video.muted, paused: video.paused};
                }, id);
                assert.deepEqual(
                    after, {muted: false, paused: false}, `${visitor}: sound on, still playing`);
                assertNoProblems(problems);
            }
        });

    policyCase('auto start without the muted start waits for the visitor, as before', async (open) => {
        const site = makeSite('plainauto', {Html5: '1', AutoPlay: '1'}, longClips('plainauto'));
        for (const [visitor, options] of VISITORS) {
            const {page, problems} = await open(site.url, options);
            const {state} = await html5Player(page, site);
            assert.equal(state.playsInline, false, visitor);
            assert.equal(state.paused, true, visitor);
            assert.equal(await page.locator(`#uB${site.tag}`).count(), 0, visitor);
            assertNoProblems(problems);
        }
    });

    visitorCase('opens the local test page from disk without errors', async (open) => {
        const site = makeSite('local', {Html5: '1'});
        const local = join(site.appFolder, 'temp', 'do-not-upload.html');
        const {page, problems} = await open(pathToFileURL(local).href);
        const placeholder = page.locator(`#flashcontent${site.tag}`);
        await placeholder.waitFor({state: 'visible', timeout: 10_000});
        assert.match(await placeholder.innerText(), /You probably do not have the Flash Player/);
        assert.equal(await page.evaluate(() => typeof SWFObject), 'function');
        assertNoProblems(problems);
    });
});

// What a video element tells about itself; runs in the page.
function describeVideo(video) {
    return {
        width: video.getAttribute('width'),
        height: video.getAttribute('height'),
        sources: [...video.querySelectorAll('source')].map((s) => [s.getAttribute('src'), s.type]),
        currentSrc: video.currentSrc,
        duration: video.duration,
        volume: video.volume,
        controls: video.controls,
        playsInline: video.hasAttribute('playsinline'),
        paused: video.paused,
    };
}

