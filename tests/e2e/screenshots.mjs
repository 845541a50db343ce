// The README's picture of a generated page playing in the browser (run by scripts/screenshots):
// a page with HTML5 off and the "Skin-44-dark-float" skin for a ten-second FLV, served from its
// output folder on 127.0.0.1 as after an upload, photographed in headless Chromium once the
// emulator's picture has moved on from its first frame.
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';

import {launchBrowser, openPage} from './lib/browser.mjs';
import {generate} from './lib/generate.mjs';
import {makeAppFolder} from './lib/installation.mjs';
import {writeSiteProfile} from './lib/sites.mjs';
import {startServer} from './lib/staticServer.mjs';

const cli = process.env.VIDLARK_CLI;
const target = resolve(process.argv[2] ?? 'player-in-browser.png');
if (!cli)
    throw new Error('VIDLARK_CLI must name the built vidlark-cli');

const work = mkdtempSync(join(tmpdir(), 'vidlark-shots-'));
const server = await startServer();
const browser = await launchBrowser();
try {
    const flv = join(work, 'sample.flv');
    execFileSync('ffmpeg', [
        '-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
        'testsrc2=size=640x360:rate=25:duration=10', '-f', 'lavfi', '-i',
        'sine=frequency=440:duration=10', '-c:v', 'flv', '-q:v', '3', '-g', '25', '-c:a',
        'libmp3lame', '-ar', '44100', flv
    ]);
    const output = join(work, 'out');
    mkdirSync(output);
    const appFolder = makeAppFolder(cli, join(work, 'app'));
    const profile = writeSiteProfile(cli, work, {
        ServerPath: `http://127.0.0.1:${server.port}/site/`,
        PlayerSize: '0',
        PlayerStyle: '2',
        AutoPlay: '1',
        PlayerColor: '23406E',
        PlayerColorNumber: String(0x6E4023),
    });
    generate({cli, appFolder, profile, output, clips: {flv}});
    server.mount('/site/', output);

    const {page} = await openPage(browser, `http://127.0.0.1:${server.port}/site/onlinetest.html`);
    await page.setViewportSize({width: 900, height: 620});
    await page.waitForFunction(
        () => document.querySelector('ruffle-embed')?.shadowRoot?.querySelector('canvas'), null,
        {timeout: 60_000});
    // Three seconds into the video, with the pointer over the picture so the bar shows.
    const box = await page.locator('ruffle-embed').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 3);
    await page.waitForTimeout(3_000);
    await page.mouse.move(box.x + box.width / 2 + 5, box.y + box.height / 3);
    await page.screenshot({path: target});
    console.log(`wrote ${target}`);
} finally {
    await browser.close();
    await server.close();
    rmSync(work, {recursive: true, force: true});
}
