// Generated sites for browser checks: each one a profile (and a playlist file for a list), one
// vidlark-cli run into a folder of its own, served at http://127.0.0.1:PORT/<name>/site/.
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';

import {generate} from './generate.mjs';
import {makeAppFolder, playerSize} from './installation.mjs';
import {Layout, writePlaylist} from './playlist.mjs';
import {baseProfile, writeProfile} from './profile.mjs';

// The folders of one case under `work`: `root` (<work>/<name>), its empty output folder `output`
// and an application folder of its own, so runs never share a scratch folder.
export function caseFolders(cli, work, name) {
    const root = join(work, name);
    const output = join(root, 'out');
    mkdirSync(output, {recursive: true});
    return {root, output, appFolder: makeAppFolder(cli, join(root, 'app'))};
}

// Writes <root>/site.epe: the base profile with `values` over it.
export function writeSiteProfile(cli, root, values) {
    const profile = join(root, 'site.epe');
    writeProfile(cli, profile, {...baseProfile(), ...values});
    return profile;
}

// Writes <root>/site.plf, the playlist of `rows` (names in `folder`, pictures in `thumbnails`) at
// `position` in `layout`, and generates the site from it.
function generatePlaylist(cli, {root, output, appFolder}, profile, html5Files,
                          {rows, folder, thumbnails, position, layout = Layout.TitleOnly}) {
    const playlist = join(root, 'site.plf');
    writePlaylist(playlist, {
        position,
        layout,
        html5Files,
        folders: {flash: folder, mp4: folder, webm: folder, thumbnail: thumbnails},
        rows,
    });
    return generate({cli, appFolder, profile, output, playlist});
}

// Where the site's videos are served: the VideoPath when the profile names one, else beside the
// pages (the upload instructions send them there).
function videoAddress(settings, serverPath) {
    const typed = (settings.VideoPath ?? '').trim();
    return typed === '' ? serverPath : typed.replace(/\/?$/, '/');
}

// `settings` maps profile keys to values, or is a function of the site's base address
// http://127.0.0.1:PORT/<name>/ that returns that map. A single video plays `clips` ({flv, mp4,
// webm}, the HTML5 pair chosen when Html5 is on; with `makeMp4` the run makes the MP4) with
// `captions`; with `rows` ({flash, mp4, webm, title, ...} each) the site is a playlist (see
// generatePlaylist), with its HTML5 copies unless Html5 is '0'. The output folder is served at the
// pages' address and at the VideoPath.
export function siteMaker({cli, work, server}) {
    return function makeSite(name, settings, options = {}) {
        const {clips, rows, captions = [], makeMp4 = false, sizeIndex = 1} = options;
        const folders = caseFolders(cli, work, name);
        const {appFolder, output} = folders;
        const base = `http://127.0.0.1:${server.port}/${name}/`;
        const sitePath = `/${name}/site/`;
        const serverPath = `${base}site/`;
        const chosen = typeof settings === 'function' ? settings(base) : settings;
        const profile = writeSiteProfile(cli, folders.root, {
            ServerPath: serverPath,
            PlayerSize: String(sizeIndex),
            ...(rows ? {StreamingMode: 'MUL1'} : {}),
            ...chosen,
        });
        const run = rows ?
            generatePlaylist(cli, folders, profile, chosen.Html5 !== '0', options) :
            generate({cli, appFolder, profile, output, clips, html5Files: chosen.Html5 === '1',
                      makeMp4, captions});
        const videoPath = videoAddress(chosen, serverPath);
        for (const address of new Set([serverPath, videoPath]))
            server.mount(new URL(address).pathname, output);
        return {
            ...run,
            appFolder,
            output,
            sitePath,
            serverPath,
            videoPath,
            size: playerSize(appFolder, sizeIndex),
            url: `${serverPath}onlinetest.html`,
            // What the server refused or could not find for this site, but `expected` paths.
            failures: (expected = []) => server.log.filter(
                ({path, status}) => path.startsWith(`/${name}/`) && status >= 400 &&
                    !expected.includes(path)),
        };
    };
}
