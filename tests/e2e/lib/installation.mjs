// An application folder of its own for each run: the build's skins, configuration and support
// files, so runs never share a scratch folder with each other or with other tests.
import {cpSync, mkdirSync, readdirSync, readFileSync, statSync, symlinkSync, writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';

import {decodeCp1252} from './cp1252.mjs';

function readLines(path) { return decodeCp1252(readFileSync(path)).split(/\r?\n/); }

export function makeAppFolder(cliPath, folder) {
    const build = dirname(cliPath);
    mkdirSync(join(folder, 'temp', 'thumbs'), {recursive: true});
    for (const name of readdirSync(build)) {
        const from = join(build, name);
        if (name === 'temp')
            continue;
        if (statSync(from).isDirectory())
            cpSync(from, join(folder, name), {recursive: true});
        else
            symlinkSync(from, join(folder, name));
    }
    return folder;
}

// The "no Flash" message in force: line 6 of the last complete group of seven lines.
export function errorFlash(appFolder) {
    const lines = readLines(join(appFolder, 'config', 'configsv.txt'));
    const groups = Math.floor(lines.length / 7);
    if (groups === 0)
        throw new Error('config/configsv.txt holds no complete group of options');
    return lines[(groups - 1) * 7 + 5];
}

// Width and height of the entry at `index` of the player size list (empty lines skipped).
export function playerSize(appFolder, index) {
    const entries = readLines(join(appFolder, 'config', 'configvws.txt')).filter((l) => l !== '');
    const match = /^(\d+)x(\d+)/.exec(entries[index] ?? '');
    if (!match)
        throw new Error(`no player size at index ${index}`);
    return {width: Number(match[1]), height: Number(match[2])};
}

// The playlist options in force (lines 3 to 5 of the last complete group of seven lines).
export function playlistOptions(appFolder) {
    const lines = readLines(join(appFolder, 'config', 'configsv.txt'));
    const groups = Math.floor(lines.length / 7);
    if (groups === 0)
        throw new Error('config/configsv.txt holds no complete group of options');
    const [items, width, fontSize] = lines.slice((groups - 1) * 7 + 2, (groups - 1) * 7 + 5);
    return {items: Number(items), width: Number(width), fontSize: Number(fontSize)};
}

// Turns on the option that hides a floating bar while the video plays (line 2 of the last
// complete group of seven lines, " 1 " as the program writes it).
export function hideFloatingBar(appFolder) {
    const file = join(appFolder, 'config', 'configsv.txt');
    const lines = readFileSync(file, 'latin1').split('\r\n');
    const groups = Math.floor(lines.length / 7);
    if (groups === 0)
        throw new Error('config/configsv.txt holds no complete group of options');
    lines[(groups - 1) * 7 + 1] = ' 1 ';
    writeFileSync(file, lines.join('\r\n'), 'latin1');
}
