// Windows-1252, the code page of every file the program reads and writes.

// Characters at 0x80–0x9F; the five unassigned codes stand for the C1 controls of the same number,
// as the program reads them.
const HIGH = '€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008dŽ\u008f\u0090‘’“”•–—˜™š›œ\u009džŸ';

export function encodeCp1252(text) {
    const bytes = [];
    for (const ch of text) {
        const code = ch.codePointAt(0);
        const high = HIGH.indexOf(ch);
        if (high >= 0)
            bytes.push(0x80 + high);
        else if (code < 0x80 || (code >= 0xa0 && code <= 0xff))
            bytes.push(code);
        else
            bytes.push(0x3f);  // "?", as the program writes characters outside the code page
    }
    return Buffer.from(bytes);
}

export function decodeCp1252(bytes) {
    let text = '';
    for (const b of bytes)
        text += b >= 0x80 && b < 0xa0 ? HIGH[b - 0x80] : String.fromCharCode(b);
    return text;
}
