// The three browser engines behind one small interface, so a test file runs the same checks in
// each: Chromium (Debian's chromium through playwright-core), Firefox (firefox-esr through
// puppeteer-core over WebDriver BiDi, headless) and WebKit (webkit2gtk-driver's WebKitWebDriver
// through selenium-webdriver, its MiniBrowser on an Xvfb display, as it has no headless mode).
//
// launchEngine(name) starts one browser; engine.newTab({viewport}) gives a tab, one at a time:
//   tab.goto(url)                 loads a page and waits for its load event
//   tab.evaluate(fn, arg)         runs `fn(arg)` in the page (a promise is awaited), returns JSON
//   tab.waitFor(fn, arg, options) polls `fn(arg)` until it is truthy, returns that value
//   tab.click(selector, n)        a visitor's click on the nth match (from 0; trusted events)
//   tab.press(key)                a key press on the focused element ('Tab', 'Enter', ' ', 'm')
//   tab.pageErrors()              script errors the pages of this tab reported (null in WebKit,
//                                 where no script of ours runs before the page's)
//   tab.close()
// Pages reach jQuery on the content-delivery network through the npm copy, and nothing outside
// 127.0.0.1 (Chromium by its request routing, the others through lib/cdnProxy.mjs).
import {spawn} from 'node:child_process';
import {existsSync} from 'node:fs';
import {createServer} from 'node:net';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {CHROMIUM, launchBrowser, openPage} from './browser.mjs';
import {startCdnProxy} from './cdnProxy.mjs';

export const ENGINES = Object.freeze(['chromium', 'firefox', 'webkit']);

const FIREFOX = '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const XVFB = '/usr/bin/Xvfb';
const MODULES = join(dirname(fileURLToPath(import.meta.url)), '..', 'node_modules');

// What each engine needs on the machine, and where it comes from.
const NEEDS = {
    chromium: [[CHROMIUM, 'Debian package chromium'], [join(MODULES, 'playwright-core'), 'npm']],
    firefox: [[FIREFOX, 'Debian package firefox-esr'], [join(MODULES, 'puppeteer-core'), 'npm']],
    webkit: [
        [WEBKIT_DRIVER, 'Debian package webkit2gtk-driver'],
        [MINIBROWSER, 'Debian package webkit2gtk-driver'], [XVFB, 'Debian package xvfb'],
        [join(MODULES, 'selenium-webdriver'), 'npm']
    ],
};

// What the engine lacks on this machine ('' when nothing): scripts/install-deps and
// `npm ci --prefix tests/e2e` install it all.
export function engineMissing(name) {
    if (!NEEDS[name])
        return `no engine "${name}" (known: ${ENGINES.join(', ')})`;
    return NEEDS[name]
        .filter(([path]) => !existsSync(path))
        .map(([path, from]) => `${path} (${from})`)
        .join(', ');
}

// A time limit for one driver call: a WebDriver that stops answering fails the case, not the run.
export function limited(promise, ms, what) {
    let timer;
    const expiry = new Promise((_, fail) => {
        timer = setTimeout(() => fail(new Error(`${what}: no answer within ${ms} ms`)), ms);
    });
    return Promise.race([promise, expiry]).finally(() => clearTimeout(timer));
}

const CALL_MS = 30_000;
const DESKTOP = {width: 1280, height: 800};

// The calls every tab shares, on top of the engine's own `evaluate`.
function withPolling(tab) {
    tab.waitFor = async (fn, arg, {timeout = 15_000, interval = 150, message} = {}) => {
        const deadline = Date.now() + timeout;
        for (;;) {
            const value = await tab.evaluate(fn, arg);
            if (value)
                return value;
            if (Date.now() > deadline)
                throw new Error(`${message ?? 'condition'} not met within ${timeout} ms: ${fn}`);
            await new Promise((done) => setTimeout(done, interval));
        }
    };
    return tab;
}

async function launchChromium() {
    const browser = await launchBrowser();
    return {
        name: 'chromium',
        async newTab({viewport = DESKTOP} = {}) {
            const {context, page, problems} = await openPage(browser, 'about:blank', {viewport});
            return withPolling({
                goto: (url) => page.goto(url),
                evaluate: (fn, arg) => page.evaluate(fn, arg),
                click: (selector, n = 0) =>
                    page.locator(selector).nth(n).click({timeout: CALL_MS}),
                press: (key) => page.keyboard.press(key === ' ' ? 'Space' : key),
                pageErrors: () => [...problems.pageErrors],
                close: () => context.close(),
            });
        },
        close: () => browser.close(),
    };
}

async function launchFirefox() {
    const {default: puppeteer} = await import('puppeteer-core');
    const proxy = await startCdnProxy();
    const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: FIREFOX,
        headless: true,
        extraPrefsFirefox: {
            // Videos started by the test's scripts play, as Chromium's are let.
            'media.autoplay.default': 0,
            'network.proxy.type': 1,
            'network.proxy.http': '127.0.0.1',
            'network.proxy.http_port': proxy.port,
            'network.proxy.ssl': '127.0.0.1',
            'network.proxy.ssl_port': proxy.port,
            'network.proxy.no_proxies_on': '',
            'network.proxy.allow_hijacking_localhost': true,
        },
    });
    return {
        name: 'firefox',
        async newTab({viewport = DESKTOP} = {}) {
            const context = await browser.createBrowserContext();
            const page = await context.newPage();
            const errors = [];
            page.on('pageerror', (error) => errors.push(String(error)));
            await page.setViewport(viewport);
            return withPolling({
                goto: (url) => page.goto(url, {timeout: CALL_MS}),
                evaluate: (fn, arg) => page.evaluate(fn, arg),
                async click(selector, n = 0) {
                    const element = (await page.$$(selector))[n];
                    if (!element)
                        throw new Error(`no element ${n} of ${selector}`);
                    await element.click();
                },
                press: (key) => page.keyboard.press(key),
                pageErrors: () => [...errors],
                close: () => context.close(),
            });
        },
        async close() {
            await browser.close();
            await proxy.close();
        },
    };
}

// Xvfb on a display number it picks itself (-displayfd), or the error it gave.
function startXvfb() {
    const xvfb = spawn(XVFB, ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                       {stdio: ['ignore', 'ignore', 'pipe', 'pipe']});
    let stderr = '';
    xvfb.stderr.on('data', (chunk) => { stderr += chunk; });
    return limited(new Promise((found, failed) => {
        let out = '';
        xvfb.stdio[3].on('data', (chunk) => {
            out += chunk;
            if (out.includes('\n'))
                found({process: xvfb, display: `:${out.trim()}`});
        });
        xvfb.on('exit', (code) => failed(new Error(`Xvfb ended (${code}): ${stderr}`)));
    }), 10_000, 'Xvfb').catch((error) => {
        xvfb.kill();
        throw error;
    });
}

function freePort() {
    const probe = createServer();
    return new Promise((done) => probe.listen(0, '127.0.0.1', () => {
        const {port} = probe.address();
        probe.close(() => done(port));
    }));
}

// The driver answers /status once it listens.
async function waitForDriver(port, driver) {
    const deadline = Date.now() + 15_000;
    for (;;) {
        if (driver.exitCode !== null)
            throw new Error(`WebKitWebDriver ended (${driver.exitCode})`);
        try {
            const answer = await fetch(`http://127.0.0.1:${port}/status`);
            if (answer.ok)
                return;
        } catch {
            // not listening yet
        }
        if (Date.now() > deadline)
            throw new Error('WebKitWebDriver did not answer within 15 s');
        await new Promise((done) => setTimeout(done, 100));
    }
}

async function launchWebKit() {
    const {Builder, By, Capabilities} = await import('selenium-webdriver');
    const {Key} = await import('selenium-webdriver/lib/input.js');
    const proxy = await startCdnProxy();
    const xvfb = await startXvfb();
    const port = await freePort();
    // With LANG=C.UTF-8 the page's language is "C", which the Flash emulator refuses.
    const driverProcess = spawn(WEBKIT_DRIVER, [`--port=${port}`], {
        stdio: ['ignore', 'pipe', 'pipe'],
        env: {...process.env, DISPLAY: xvfb.display, LANG: 'en_US.UTF-8'},
    });
    driverProcess.stdout.resume();
    driverProcess.stderr.resume();
    const stop = async () => {
        driverProcess.kill();
        xvfb.process.kill();
        await proxy.close();
    };
    let driver;
    try {
        await waitForDriver(port, driverProcess);
        const capabilities = new Capabilities({
            browserName: 'MiniBrowser',
            // Naming the binary drops the driver's own arguments: --automation is ours to pass.
            'webkitgtk:browserOptions': {
                binary: MINIBROWSER,
                args: ['--automation'],
            },
            proxy: {proxyType: 'manual', httpProxy: `127.0.0.1:${proxy.port}`,
                    sslProxy: `127.0.0.1:${proxy.port}`},
        });
        driver = await limited(
            new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities(capabilities).build(),
            60_000, 'a WebKitWebDriver session');
        await limited(driver.manage().setTimeouts({script: CALL_MS, pageLoad: CALL_MS}), CALL_MS,
                      'setting the time limits');
    } catch (error) {
        await stop();
        throw error;
    }
    const call = (promise, what) => limited(promise, CALL_MS + 5_000, what);
    // The window's frame around the page, to size the window for a viewport.
    const frame = await call(driver.executeScript(
        'return [window.outerWidth - window.innerWidth, window.outerHeight - window.innerHeight]'),
        'the window frame');
    let open = false;
    return {
        name: 'webkit',
        async newTab({viewport = DESKTOP} = {}) {
            if (open)
                throw new Error('WebKit has one window: close its tab before opening another');
            open = true;
            await call(driver.manage().window().setRect(
                {x: 0, y: 0, width: viewport.width + frame[0], height: viewport.height + frame[1]}),
                'sizing the window');
            // The window is never narrower than its tool bar: a narrower viewport is a frame.
            const width = await call(driver.executeScript('return window.innerWidth'), 'the width');
            const framed = width > viewport.width;
            const evaluate = (fn, arg) => call(driver.executeScript(
                `return (${fn}).apply(null, arguments);`, arg ?? null), 'running a script');
            return withPolling({
                async goto(url) {
                    await call(driver.switchTo().defaultContent(), 'leaving the frame');
                    if (!framed)
                        return call(driver.get(url), `loading ${url}`);
                    const style = `border:0;display:block;width:${viewport.width}px;` +
                        `height:${viewport.height}px`;
                    const harness = `<body style="margin:0"><iframe style="${style}" ` +
                        `src="${url.replaceAll('&', '&amp;').replaceAll('"', '&quot;')}"></iframe>`;
                    await call(driver.get(`data:text/html,${encodeURIComponent(harness)}`),
                               `loading ${url} in a frame`);
                    await call(driver.switchTo().frame(0), 'entering the frame');
                    // The frame's own load, as get() waits for the top page's only.
                    const deadline = Date.now() + CALL_MS;
                    while (await evaluate(() => document.readyState) !== 'complete') {
                        if (Date.now() > deadline)
                            throw new Error(`${url} did not load within ${CALL_MS} ms`);
                        await new Promise((done) => setTimeout(done, 100));
                    }
                },
                evaluate,
                async click(selector, n = 0) {
                    const element =
                        (await call(driver.findElements(By.css(selector)), selector))[n];
                    if (!element)
                        throw new Error(`no element ${n} of ${selector}`);
                    await call(element.click(), `clicking ${selector}`);
                },
                press: (key) => call(driver.actions().sendKeys(KEYS(Key)[key] ?? key).perform(),
                                     `pressing ${key}`),
                // Classic WebDriver runs no script before the page's own, so nothing hears them.
                pageErrors: () => null,
                async close() {
                    open = false;
                    await call(driver.switchTo().defaultContent(), 'leaving the frame');
                    await call(driver.get('about:blank'), 'leaving the page');
                },
            });
        },
        async close() {
            await limited(driver.quit(), 15_000, 'ending the WebKit session').catch(() => {});
            await stop();
        },
    };
}

const KEYS = (Key) => ({
    Tab: Key.TAB,
    Enter: Key.ENTER,
    Escape: Key.ESCAPE,
    ArrowLeft: Key.ARROW_LEFT,
    ArrowRight: Key.ARROW_RIGHT,
    ArrowUp: Key.ARROW_UP,
    ArrowDown: Key.ARROW_DOWN,
});

const LAUNCHERS = {chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit};

export function launchEngine(name) {
    const launch = LAUNCHERS[name];
    if (!launch)
        throw new Error(`no engine "${name}" (known: ${ENGINES.join(', ')})`);
    return launch();
}
