// What every per-engine test file starts with: for each engine VIDLARK_ENGINES names (all three by
// default), a suite with the built vidlark-cli's site maker, a work folder with clips/ in it, a
// local server and one browser of that engine for every case; all closed and removed at its end.
// An engine missing from the machine fails its suite.
import assert from 'node:assert/strict';
import {after, before, describe} from 'node:test';

import {skipReason} from './browser.mjs';
import {engineMissing, ENGINES, launchEngine} from './engines.mjs';
import {closeSuiteWork, openSuiteWork} from './suiteWork.mjs';

// `body(suite, name)` declares the cases; `suite`'s `work`, `clips` (the clips folder), `server`,
// `engine` and `makeSite` are there once the suite's `before` has run, so a file's own `before`
// in `body` may use them.
export function engineSuites(title, body) {
    const engines = (process.env.VIDLARK_ENGINES ?? ENGINES.join(',')).split(',');
    for (const name of engines) {
        describe(`${title} in ${name}`, {skip: skipReason()}, () => {
            const suite = {};
            before(async () => {
                assert.equal(engineMissing(name), '', `${name} cannot run here`);
                await openSuiteWork(suite, `vidlark-engine-${name}-`);
                const started = Date.now();
                suite.engine = await launchEngine(name);
                console.log(`# ${name} started in ${Date.now() - started} ms`);
            });
            after(async () => {
                await suite.engine?.close();
                await closeSuiteWork(suite);
            });
            body(suite, name);
        });
    }
}
