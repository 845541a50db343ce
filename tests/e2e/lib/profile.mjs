// Profiles as the desktop program saves them: 26 lines (27 or 28 with the later options on), each
// value's Windows-1252 bytes shifted by
// the key "morvelquist", every line ended by CR LF.
import {writeFileSync} from 'node:fs';

import {encodeCp1252} from './cp1252.mjs';

const KEY = Buffer.from('morvelquist', 'latin1');

// Text position i (counted from 1) takes the key character at index i mod 11 (counted from 0).
export function scramble(bytes) {
    const out = Buffer.alloc(bytes.length);
    for (let n = 0; n < bytes.length; ++n)
        out[n] = (bytes[n] + KEY[(n + 1) % KEY.length]) & 0xff;
    return out;
}

export const Line = Object.freeze({
    Mode: 1,
    IsLive: 2,
    Html5: 3,
    PlayerStyle: 4,
    PlayerSize: 5,
    PlayerColorNumber: 6,
    PlayerColor: 7,
    AutoPlay: 8,
    AutoProgress: 9,
    AudioLevel: 10,
    ShowBigPlayButton: 11,
    IntroImageName: 12,
    IntroImagePath: 13,
    OutroImageName: 14,
    OutroImagePath: 15,
    ServerPath: 16,
    VideoPath: 17,
    OutDir: 18,
    Encrypt: 19,
    RedirectURL: 20,
    AffiliateLink: 21,
    ActionCode: 22,
    ShowEmbedCode: 23,
    SocialShare: 24,
    ShareTitle: 25,
    ShareURL: 26,
    PlaysInline: 27,
    MutedAutoPlay: 28,
    FluidSize: 29,
});

// A single video in Normal mode on the first skin, white tint, no end-of-video action.
export function baseProfile() {
    const values = new Array(26).fill('');
    values[Line.Mode - 1] = 'SIN1';
    for (const line
             of [Line.IsLive, Line.Html5, Line.PlayerStyle, Line.PlayerSize, Line.AutoPlay,
                 Line.AutoProgress, Line.Encrypt, Line.ShowEmbedCode, Line.SocialShare])
        values[line - 1] = '0';
    values[Line.PlayerColorNumber - 1] = '16777215';
    values[Line.PlayerColor - 1] = 'FFFFFF';
    values[Line.AudioLevel - 1] = '80';
    values[Line.ShowBigPlayButton - 1] = '1';
    return values;
}

export function writeProfile(path, values) {
    if (values.length < 26 || values.length > 29)
        throw new Error(`a profile has 26 to 29 lines, not ${values.length}`);
    // A later check line left unset before one that is set is off.
    const lines = Array.from(values, (value) => value ?? '0').map((value, index) => {
        const line = scramble(encodeCp1252(value));
        // A CR or LF here would split the value over two lines and shift every later setting.
        if (line.includes(0x0d) || line.includes(0x0a))
            throw new Error(
                `profile line ${index + 1} (${JSON.stringify(value)}) scrambles into a line break`);
        return Buffer.concat([line, Buffer.from('\r\n')]);
    });
    writeFileSync(path, Buffer.concat(lines));
}
