// Runs vidlark-cli generate and reports what the run made.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {existsSync, readdirSync} from 'node:fs';

// Fails a suite whose VIDLARK_CLI names no built vidlark-cli.
export function assertBuiltCli(cli) {
    assert.ok(cli && existsSync(cli), `VIDLARK_CLI must name the built vidlark-cli (got ${cli})`);
}

// A playlist run names its playlist file in `playlist` instead of `clips`. With `makeMp4`, the run
// makes the MP4 of the Flash video (--make-mp4) instead of choosing the clips' own. `captions` are
// the single video's tracks as --captions takes them ("FILE:LANGUAGE:LABEL").
export function generate(
    {cli, appFolder, profile, output, clips, html5Files, playlist, makeMp4, captions = []}) {
    const args = ['generate', '--profile', profile, '--app-folder', appFolder, '--output', output];
    if (playlist)
        args.push('--playlist', playlist);
    else
        args.push('--flash', clips.flv);
    if (makeMp4)
        args.push('--make-mp4');
    else if (html5Files && !playlist)
        args.push('--mp4', clips.mp4, '--webm', clips.webm);
    for (const track of captions)
        args.push('--captions', track);
    let stdout;
    try {
        stdout = execFileSync(cli, args, {encoding: 'utf8', stdio: 'pipe', timeout: 60_000});
    } catch (error) {
        throw new Error(
            `vidlark-cli ${args.join(' ')} ended with status ${error.status}` +
            `${error.signal ? ` (signal ${error.signal})` : ''}:\n` +
            `${error.stderr ?? ''}${error.stdout ?? ''}`);
    }
    return {embedCode: stdout.split('\n--\n')[0], tag: generationTag(output)};
}

// The run's tag, read back from the one core script it leaves in the output folder.
function generationTag(output) {
    const tags = readdirSync(output)
                     .map((name) => /^zevocoresv(a\d{4})\.js$/.exec(name))
                     .filter(Boolean)
                     .map((match) => match[1]);
    if (tags.length !== 1)
        throw new Error(`expected one core script in ${output}, found ${tags.length}`);
    return tags[0];
}
