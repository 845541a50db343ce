// What every browser suite (lib/chromiumSuite.mjs, lib/engineSuite.mjs) makes before its first case
// and removes after its last: for the built vidlark-cli that VIDLARK_CLI names, a work folder with
// clips/ in it, and a local server with the site maker of lib/sites.mjs.
import {mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {assertBuiltCli} from './generate.mjs';
import {siteMaker} from './sites.mjs';
import {startServer} from './staticServer.mjs';

// Sets `suite`'s `cli`, `work`, `clips` and, unless the suite serves its pages itself (`server`
// false), `server` and `makeSite`. The work folder's name starts with `prefix`.
export async function openSuiteWork(suite, prefix, {server = true} = {}) {
    suite.cli = process.env.VIDLARK_CLI;
    assertBuiltCli(suite.cli);
    suite.work = mkdtempSync(join(tmpdir(), prefix));
    suite.clips = join(suite.work, 'clips');
    mkdirSync(suite.clips);
    if (server) {
        suite.server = await startServer();
        suite.makeSite = siteMaker(suite);
    }
}

export async function closeSuiteWork(suite) {
    await suite.server?.close();
    if (suite.work)
        rmSync(suite.work, {recursive: true, force: true});
}
