// Playlist files as the playlist editor saves them ("&Save Playlist as File"): lines 1 to 11
// scrambled like a profile line, line 12 the plain header "rows|columns", then one scrambled line
// per row with the row's fields joined by "|"; every line ended by CR LF. The program writes
// playlists only from its editor, so the scrambling is done here (profiles come from vidlark-cli).
import {writeFileSync} from 'node:fs';

import {encodeCp1252} from './cp1252.mjs';

const KEY = Buffer.from('morvelquist', 'latin1');

// Each value's Windows-1252 bytes shifted by the key: text position i (counted from 1) takes the
// key character at index i mod 11 (counted from 0).
function scramble(bytes) {
    const out = Buffer.alloc(bytes.length);
    for (let n = 0; n < bytes.length; ++n)
        out[n] = (bytes[n] + KEY[(n + 1) % KEY.length]) & 0xff;
    return out;
}

export const Position = Object.freeze({Right: 0, Bottom: 1, Invisible: 2});
export const Layout = Object.freeze({TitleOnly: 0, TitleDesc: 1, TitleDescThumb: 2});

// The fields a row line holds for each layout, in file order.
const FIELDS = ['flash', 'mp4', 'webm', 'title', 'description', 'thumbnail'];
const fieldCount = (layout) => 4 + layout;

// `rows` are objects with the fields above; folders end in the path separator, as the editor
// stores them. A row's `captions` ({file, language, label} each) follow its fields behind the
// "#captions" marker, every value with "%" and "|" percent-encoded.
export function playlistLines({position, layout, html5Files, folders, rows}) {
    const options = [0, 1, 2].map((n) => (n === position ? 'True' : 'False')).concat([
        0, 1, 2
    ].map((n) => (n === layout ? 'True' : 'False')));
    const columns = fieldCount(layout);
    const rowLines = rows.map((row) => {
        const fields = FIELDS.slice(0, columns).map((name) => row[name] ?? '');
        if (fields.some((field) => field.includes('|')))
            throw new Error(`a "|" in ${JSON.stringify(row)} would shift the row's fields`);
        const encode = (value) => value.replaceAll('%', '%25').replaceAll('|', '%7C');
        const captions = (row.captions ?? []).flatMap(
            ({file, language = '', label = ''}) => [file, language, label].map(encode));
        return [...fields, ...(captions.length ? ['#captions', ...captions] : [])].join('|');
    });
    return {
        valueLines: [
            ...options, html5Files ? '1' : '0', folders.flash ?? '', folders.mp4 ?? '',
            folders.webm ?? '', folders.thumbnail ?? ''
        ],
        header: `${rows.length + 1}|${columns}`,
        rowLines,
    };
}

export function writePlaylist(path, playlist) {
    const {valueLines, header, rowLines} = playlistLines(playlist);
    const scrambled = (value, what) => {
        const line = scramble(encodeCp1252(value));
        // A CR or LF here would split the line and shift every later one.
        if (line.includes(0x0d) || line.includes(0x0a))
            throw new Error(`${what} (${JSON.stringify(value)}) scrambles into a line break`);
        return line;
    };
    const lines = [
        ...valueLines.map((value, index) => scrambled(value, `playlist line ${index + 1}`)),
        Buffer.from(header, 'latin1'),
        ...rowLines.map((value, index) => scrambled(value, `playlist row ${index + 1}`)),
    ];
    writeFileSync(path, Buffer.concat(lines.flatMap((line) => [line, Buffer.from('\r\n')])));
}
