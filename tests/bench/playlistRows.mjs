// Times vidlark-cli generate on playlists of many rows that all play one video and show one
// thumbnail, the shape of a long list made by filling the editor with copies of one row. Prints
// "rows seconds" per size; asserts nothing. Usage: node playlistRows.mjs CLI ROWS...
import {execFileSync} from 'node:child_process';
import {mkdirSync, mkdtempSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {makeClips} from '../e2e/lib/clips.mjs';
import {Layout, Position, writePlaylist} from '../e2e/lib/playlist.mjs';
import {caseFolders, writeSiteProfile} from '../e2e/lib/sites.mjs';

const [cli, ...sizes] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'vidlark-bench-playlist-'));
try {
    const clips = join(work, 'clips') + '/';
    mkdirSync(clips);
    makeClips(clips);
    execFileSync('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-y', '-f', 'lavfi', '-i',
                            'testsrc=size=640x360', '-frames:v', '1', join(clips, 'clip.jpg')]);
    for (const rows of sizes.map(Number)) {
        const {root, output, appFolder} = caseFolders(cli, work, `rows${rows}`);
        const profile = writeSiteProfile(cli, root, {
            StreamingMode: 'MUL1',
            Html5: '1',
            ServerPath: 'http://www.example.com/videos/',
        });
        const playlist = join(root, 'site.plf');
        writePlaylist(playlist, {
            position: Position.Right,
            layout: Layout.TitleDescThumb,
            html5Files: true,
            folders: {flash: clips, mp4: clips, webm: clips, thumbnail: clips},
            rows: Array.from({length: rows}, (_, n) => ({
                                 flash: 'clip.flv',
                                 mp4: 'clip.mp4',
                                 webm: 'clip.webm',
                                 title: `Part ${n + 1}`,
                                 description: `The same clip, row ${n + 1}`,
                                 thumbnail: 'clip.jpg',
                             })),
        });
        const args = ['generate', '--profile', profile, '--app-folder', appFolder, '--output',
                      output, '--playlist', playlist];
        const start = process.hrtime.bigint();
        execFileSync(cli, args, {stdio: 'pipe', maxBuffer: 1 << 30});
        const seconds = Number(process.hrtime.bigint() - start) / 1e9;
        const scratch = readdirSync(join(appFolder, 'temp', 'thumbs')).length;
        console.log(`${String(rows).padStart(7)} rows  ${seconds.toFixed(2).padStart(8)} s` +
                    `  (${scratch} files left in temp/thumbs)`);
        rmSync(root, {recursive: true, force: true});
    }
} finally {
    rmSync(work, {recursive: true, force: true});
}
