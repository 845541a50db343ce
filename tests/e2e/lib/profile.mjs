// Profiles written by the built program (`vidlark-cli profile write FILE KEY=VALUE ...`), so the
// browser tests read pages made from the very bytes the desktop program saves. A profile here is
// an object of the keys `vidlark-cli profile show` prints; a key left out keeps the program's start
// value.
import {execFileSync} from 'node:child_process';

// A single video in Normal mode on the first skin and size, white tint, the big play button, audio
// at 80, no end-of-video action; all else off or empty as the program starts.
export function baseProfile() {
    return {
        StreamingMode: 'SIN1',
        PlayerColorNumber: '16777215',
        PlayerColor: 'FFFFFF',
        AudioLevel: '80',
        ShowBigPlayButton: '1',
        ServerPath: '',
    };
}

// The pair as the command line takes it: a backslash, CR and LF are written as \\, \r and \n.
function pair(key, value) {
    const escaped = value.replaceAll('\\', '\\\\').replaceAll('\r', '\\r').replaceAll('\n', '\\n');
    return `${key}=${escaped}`;
}

// Writes `values` (see above) to `path` with the vidlark-cli at `cli`.
export function writeProfile(cli, path, values) {
    const args = ['profile', 'write', path,
                  ...Object.entries(values).map(([key, value]) => pair(key, value))];
    try {
        execFileSync(cli, args, {encoding: 'utf8', stdio: 'pipe', timeout: 30_000});
    } catch (error) {
        throw new Error(`vidlark-cli ${args.join(' ')} ended with status ${error.status}:\n` +
                        `${error.stderr ?? ''}${error.stdout ?? ''}`);
    }
}
