// What every Chromium test file starts with: a suite whose cases share the work of
// lib/suiteWork.mjs (vidlark-cli, work folder, clips/, server, site maker) and one headless
// Chromium (and one keeping the browser's own autoplay policy, where asked); all closed and removed
// at its end.
import {after, before, describe} from 'node:test';

import {launchBrowser} from './browser.mjs';
import {closeSuiteWork, openSuiteWork} from './suiteWork.mjs';

// `body(suite)` declares the cases; `suite`'s fields (those of openSuiteWork, `browser` and
// `policyBrowser`) are there once the suite's `before` has run, so a file's own `before` in `body`
// may use them. The work folder's name starts with `prefix`. Without `server` the file serves its
// pages itself.
export function chromiumSuite(title, {skip, prefix, server = true, policyBrowser = false}, body) {
    describe(title, {skip}, () => {
        const suite = {};
        before(async () => {
            await openSuiteWork(suite, prefix, {server});
            suite.browser = await launchBrowser();
            if (policyBrowser)
                suite.policyBrowser = await launchBrowser({autoplayPolicy: false});
        });
        after(async () => {
            await suite.browser?.close();
            await suite.policyBrowser?.close();
            await closeSuiteWork(suite);
        });
        body(suite);
    });
}
