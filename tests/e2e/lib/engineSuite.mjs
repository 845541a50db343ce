// What every per-engine test file starts with: for each engine VIDLARK_ENGINES names (all three by
// default), a suite with the built vidlark-cli's site maker, a work folder with clips/ in it, a
// local server and one browser of that engine for every case; all closed and removed at its end.
// An engine missing from the machine fails its suite.
import assert from 'node:assert/strict';
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, describe} from 'node:test';

import {skipReason} from './browser.mjs';
import {engineMissing, ENGINES, launchEngine} from './engines.mjs';
import {siteMaker} from './sites.mjs';
import {startServer} from './staticServer.mjs';

// `body(suite, name)` declares the cases; `suite`'s `work`, `clips` (the clips folder), `server`,
// `engine` and `makeSite` are there once the suite's `before` has run, so a file's own `before`
// in `body` may use them.
export function engineSuites(title, body) {
    const cli = process.env.VIDLARK_CLI;
    const engines = (process.env.VIDLARK_ENGINES ?? ENGINES.join(',')).split(',');
    for (const name of engines) {
        describe(`${title} in ${name}`, {skip: skipReason()}, () => {
            const suite = {};
            before(async () => {
                assert.ok(cli && existsSync(cli),
                          `VIDLARK_CLI must name the built vidlark-cli (got ${cli})`);
                assert.equal(engineMissing(name), '', `${name} cannot run here`);
                suite.work = mkdtempSync(join(tmpdir(), `vidlark-engine-${name}-`));
                suite.clips = join(suite.work, 'clips');
                mkdirSync(suite.clips);
                suite.server = await startServer();
                suite.makeSite = siteMaker({cli, work: suite.work, server: suite.server});
                const started = Date.now();
                suite.engine = await launchEngine(name);
                console.log(`# ${name} started in ${Date.now() - started} ms`);
            });
            after(async () => {
                await suite.engine?.close();
                await suite.server?.close();
                if (suite.work)
                    rmSync(suite.work, {recursive: true, force: true});
            });
            body(suite, name);
        });
    }
}
