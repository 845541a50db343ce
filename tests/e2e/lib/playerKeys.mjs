// The Flash player worked from the keyboard, judged by what the movie says of itself: its
// element's playerState() (player/src/Page.hx) gives whether it plays, the time, the volume,
// whether it is muted and whether captions show. Every function takes a tab of lib/engines.mjs
// (`evaluate` and `press`), so each engine runs the same checks; tabOfPage makes one of a
// playwright-core page.

export const PLAYER = 'ruffle-embed, ruffle-object';

export function tabOfPage(page) {
    return {
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        press: (key) => page.keyboard.press(key === ' ' ? 'Space' : key),
    };
}

// The movie's state, or null until the movie has offered it.
export function playerState(tab) {
    return tab.evaluate((selector) => {
        const element = document.querySelector(selector);
        return element && typeof element.playerState === 'function' ? element.playerState() : null;
    }, PLAYER);
}

// Polls the movie's state until `wanted(state)` holds; fails naming `what` and the last state.
export async function waitForState(tab, wanted, what, timeout = 10_000) {
    const deadline = Date.now() + timeout;
    let state = null;
    for (;;) {
        state = await playerState(tab);
        if (state && wanted(state))
            return state;
        if (Date.now() > deadline)
            throw new Error(`${what} not seen within ${timeout} ms; the player's state: ${JSON.stringify(state)}`);
        await new Promise((done) => setTimeout(done, 100));
    }
}

// The page's focus: whether the movie's element has it, and what that element says of itself.
export function focusOnPlayer(tab) {
    return tab.evaluate((selector) => {
        const element = document.activeElement;
        if (!element || !element.matches(selector))
            return {onPlayer: false, tag: element?.tagName.toLowerCase() ?? null};
        const style = getComputedStyle(element);
        return {
            onPlayer: true,
            role: element.getAttribute('role'),
            label: element.getAttribute('aria-label'),
            outline: `${style.outlineStyle} ${style.outlineWidth}`,
        };
    }, PLAYER);
}

// Presses Tab until the movie's element has the focus, at most `limit` times.
export async function tabToPlayer(tab, limit = 10) {
    for (let n = 0; n < limit; ++n) {
        await tab.press('Tab');
        const focus = await focusOnPlayer(tab);
        if (focus.onPlayer)
            return focus;
    }
    throw new Error(`${limit} presses of Tab never reached the player`);
}

// Space pauses, → seeks on by about 5 s, M mutes and unmutes, ↓ lowers the volume by a step of
// the bar; then Tab leaves the player. The player must be playing, the focus on it. Returns the
// states seen after each key and whether Tab took the focus away.
export async function walkTheKeys(tab) {
    await tab.press(' ');
    const paused = await waitForState(tab, (s) => !s.playing, 'Space pausing');

    await tab.press('ArrowRight');
    // Seeking plays on, as a click on the seek bar does: the first time seen past the jump
    // is at most a moment later than it.
    const sought = await waitForState(tab, (s) => s.time >= paused.time + 4, '→ seeking on');
    if (sought.time > paused.time + 7)
        throw new Error(`→ went from ${paused.time} s to ${sought.time} s, not about 5 s on`);

    await tab.press('m');
    const muted = await waitForState(tab, (s) => s.muted && s.volume === 0, 'M muting');
    await tab.press('m');
    const unmuted = await waitForState(tab, (s) => !s.muted, 'M unmuting');
    await tab.press('ArrowDown');
    const lower = await waitForState(tab, (s) => s.volume < unmuted.volume, '↓ lowering the volume');

    await tab.press('Tab');
    const after = await focusOnPlayer(tab);
    return {paused, sought, muted, unmuted, lower, leftWithTab: !after.onPlayer};
}
