// Headless Chromium without network: pages come from 127.0.0.1 or file://, and the page's request
// for jQuery on the public content-delivery network is answered with the npm copy of jQuery 1.9.1.
import assert from 'node:assert/strict';
import {existsSync, readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

export const CHROMIUM = '/usr/bin/chromium';
export const JQUERY_PATH = '/ajax/libs/jquery/1.9.1/jquery.min.js';

// A phone held upright and a desktop window, as visitors open the page (context options).
const IPHONE =
    'Mozilla/5.0 (iPhone; CPU iPhone OS 17_4 like Mac OS X) AppleWebKit/605.1.15 ' +
    '(KHTML, like Gecko) Version/17.4 Mobile/15E148 Safari/604.1';
export const PHONE =
    {viewport: {width: 390, height: 844}, userAgent: IPHONE, isMobile: true, hasTouch: true};
export const DESKTOP = {viewport: {width: 1280, height: 800}};
export const VISITORS = [['phone', PHONE], ['desktop', DESKTOP]];

// Most cases start videos from the test, so they lift the autoplay policy; with `autoplayPolicy`
// false the browser keeps its own (a video starts by itself only muted).
export async function launchBrowser({autoplayPolicy = true} = {}) {
    const {chromium} = await import('playwright-core');
    return chromium.launch({
        executablePath: CHROMIUM,
        args: [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            ...(autoplayPolicy ? ['--autoplay-policy=no-user-gesture-required'] : [])
        ],
    });
}

export const jquery = () =>
    readFileSync(createRequire(import.meta.url).resolve('jquery/jquery.min.js'), 'utf8');

// Opens `url` in a fresh context (`options` are the context's: user agent, viewport, ...);
// `problems` collects what a visitor would notice: script errors, failed loads and error statuses
// from the local server.
export async function openPage(browser, url, options = {}) {
    const context = await browser.newContext(options);
    const problems = {pageErrors: [], failedRequests: [], blocked: []};
    await context.route('**/*', (route) => {
        const target = new URL(route.request().url());
        if (target.protocol === 'file:' || target.hostname === '127.0.0.1')
            return route.continue();
        if (target.hostname === 'ajax.googleapis.com' && target.pathname === JQUERY_PATH)
            return route.fulfill(
                {status: 200, contentType: 'application/javascript', body: jquery()});
        problems.blocked.push(target.href);
        return route.abort('blockedbyclient');
    });
    const page = await context.newPage();
    page.on('pageerror', (error) => problems.pageErrors.push(String(error)));
    page.on('requestfailed', (request) => {
        const reason = request.failure()?.errorText ?? '';
        // Media elements cancel range requests they no longer need, and leaving a page cancels the
        // rest: neither is something a visitor sees.
        if (!problems.blocked.includes(request.url()) && reason !== 'net::ERR_ABORTED')
            problems.failedRequests.push(`${request.url()} (${reason})`);
    });
    page.on('response', (response) => {
        const target = new URL(response.url());
        if (response.status() >= 400 && target.pathname !== '/favicon.ico')
            problems.failedRequests.push(`${response.url()} (HTTP ${response.status()})`);
    });
    await page.goto(url);
    return {context, page, problems};
}

// Why the browser tests cannot run here, or false. Only a machine without the browser or the npm
// packages skips; scripts/test installs both.
export function skipReason() {
    const modules = join(dirname(fileURLToPath(import.meta.url)), '..', 'node_modules');
    const missing = [];
    if (!existsSync(CHROMIUM))
        missing.push(`${CHROMIUM} (Debian package chromium)`);
    for (const name of ['playwright-core', 'jquery', 'axe-core']) {
        if (!existsSync(join(modules, name)))
            missing.push(`tests/e2e/node_modules/${name} (npm ci --prefix tests/e2e)`);
    }
    const reason = missing.length > 0 ? `e2e prerequisites missing: ${missing.join(', ')}` : false;
    if (reason)
        console.log(reason);
    return reason;
}

// The pages' problems and the server's last answers, for a failed assertion's message.
export function describeVisits(visits, serverLog) {
    const lines = [];
    for (const {page, problems} of visits) {
        lines.push(`\n--- ${page.url()}`);
        for (const error of problems.pageErrors)
            lines.push(`page error: ${error}`);
        for (const failed of problems.failedRequests)
            lines.push(`failed: ${failed}`);
        for (const blocked of problems.blocked)
            lines.push(`blocked (not local): ${blocked}`);
    }
    lines.push('--- the last requests the server answered:');
    for (const {path, status} of serverLog.slice(-40))
        lines.push(`${status} ${path}`);
    return lines.join('\n');
}

// One visitor's case: `body` gets `open(url, options)`, which opens a page in a fresh context (see
// openPage). With `clean`, every page must also end without script errors or failed requests. A
// failure carries what the pages reported and what `server` was asked for; the contexts are
// closed either way.
export async function withVisits(browser, server, body, {clean = false} = {}) {
    const visits = [];
    const open = async (url, options) => {
        const visit = await openPage(browser, url, options);
        visits.push(visit);
        return visit;
    };
    try {
        await body(open);
        for (const {problems} of clean ? visits : []) {
            assert.deepEqual(problems.pageErrors, [], 'script errors on the page');
            assert.deepEqual(problems.failedRequests, [], 'requests that failed');
        }
    } catch (error) {
        // Reporters print the stack, which holds the message as it was when thrown.
        const details = describeVisits(visits, server.log);
        error.message += details;
        if (typeof error.stack === 'string')
            error.stack += details;
        throw error;
    } finally {
        for (const visit of visits)
            await visit.context.close().catch(() => {});
    }
}
