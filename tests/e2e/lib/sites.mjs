// Generated sites for browser checks: each one a profile (and a playlist file for a list), one
// vidlark-cli run into a folder of its own, served at http://127.0.0.1:PORT/<name>/site/.
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';

import {generate} from './generate.mjs';
import {makeAppFolder, playerSize} from './installation.mjs';
import {Layout, writePlaylist} from './playlist.mjs';
import {baseProfile, Line, writeProfile} from './profile.mjs';

// `settings` maps profile lines to values. A single video plays `clips` ({flv, mp4, webm}, the
// HTML5 pair chosen when Html5 is on); with `rows` ({flash, mp4, webm, title} each, names in
// `folder`) the site is a playlist at `position`, titles only, with its HTML5 copies unless
// Html5 is '0'.
export function siteMaker({cli, work, server}) {
    return function makeSite(name, settings,
                             {clips, rows, folder, position, captions = [], sizeIndex = 1} = {}) {
        const root = join(work, name);
        const output = join(root, 'out');
        mkdirSync(output, {recursive: true});
        const appFolder = makeAppFolder(cli, join(root, 'app'));
        const sitePath = `/${name}/site/`;
        const serverPath = `http://127.0.0.1:${server.port}${sitePath}`;
        const values = baseProfile();
        values[Line.ServerPath - 1] = serverPath;
        values[Line.PlayerSize - 1] = String(sizeIndex);
        if (rows)
            values[Line.Mode - 1] = 'MUL1';
        for (const [line, value] of Object.entries(settings))
            values[Line[line] - 1] = value;
        const profile = join(root, 'site.epe');
        writeProfile(profile, values);
        let run;
        if (rows) {
            const playlist = join(root, 'site.plf');
            writePlaylist(playlist, {
                position,
                layout: Layout.TitleOnly,
                html5Files: settings.Html5 !== '0',
                folders: {flash: folder, mp4: folder, webm: folder},
                rows,
            });
            run = generate({cli, appFolder, profile, output, playlist});
        } else {
            run = generate(
                {cli, appFolder, profile, output, clips, html5Files: settings.Html5 === '1', captions});
        }
        server.mount(sitePath, output);
        return {
            ...run,
            appFolder,
            output,
            sitePath,
            serverPath,
            size: playerSize(appFolder, sizeIndex),
            url: `${serverPath}onlinetest.html`,
            // What the server refused or could not find for this site, but `expected` paths.
            failures: (expected = []) => server.log.filter(
                ({path, status}) => path.startsWith(`/${name}/`) && status >= 400 &&
                    !expected.includes(path)),
        };
    };
}
