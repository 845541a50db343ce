// What a keyboard or screen-reader user meets on a page: axe-core's automated WCAG check, and the
// tab stops. Each function takes a page (playwright-core's Page: `evaluate` and `keyboard`), so a
// case can run it in any engine that offers those two.
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';

// The success criteria of WCAG 2.0, 2.1 and 2.2 at levels A and AA, as axe-core tags its rules.
export const WCAG_AA_TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];

let axeSource = null;
function axeScript() {
    axeSource ??= readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
    return axeSource;
}

// axe-core's findings on the page as it is now: `violations` of the WCAG A/AA rules and
// `bestPractice`, the findings of its best-practice rules; each {id, impact, help, nodes}.
export async function audit(page) {
    await page.evaluate(axeScript());
    return page.evaluate(async (tags) => {
        const brief = (results) => results.map((r) => ({
            id: r.id,
            impact: r.impact,
            help: r.help,
            nodes: r.nodes.map((n) => n.target.join(' ')),
        }));
        const wcag = await window.axe.run(document, {runOnly: {type: 'tag', values: tags}});
        const practice =
            await window.axe.run(document, {runOnly: {type: 'tag', values: ['best-practice']}});
        return {violations: brief(wcag.violations), bestPractice: brief(practice.violations)};
    }, WCAG_AA_TAGS);
}

// The element that has the keyboard focus, described; null for the page itself.
export function focused(page) {
    return page.evaluate(() => {
        const element = document.activeElement;
        if (!element || element === document.body || element === document.documentElement)
            return null;
        const outline = getComputedStyle(element);
        return {
            tag: element.tagName.toLowerCase(),
            id: element.id,
            text: element.textContent.replace(/\s+/g, ' ').trim(),
            label: element.getAttribute('aria-label'),
            focusVisible: element.matches(':focus-visible'),
            outline: `${outline.outlineStyle} ${outline.outlineWidth}`,
        };
    });
}

// Presses Tab (Shift+Tab with `backwards`) until the focused element matches the CSS `selector`,
// at most `limit` times; returns what had the focus at each press.
export async function tabTo(page, selector, {backwards = false, limit = 30} = {}) {
    const seen = [];
    for (let n = 0; n < limit; ++n) {
        await page.keyboard.press(backwards ? 'Shift+Tab' : 'Tab');
        seen.push(await focused(page));
        if (await page.evaluate((s) => document.activeElement?.matches(s) ?? false, selector))
            return seen;
    }
    throw new Error(`${limit} presses of Tab never reached ${selector}: ${JSON.stringify(seen)}`);
}

// The stops that Tab visits from the top of the page until it leaves the page or `limit` presses.
export async function tabStops(page, limit = 30) {
    await page.evaluate(() => document.activeElement?.blur());
    const stops = [];
    for (let n = 0; n < limit; ++n) {
        await page.keyboard.press('Tab');
        const stop = await focused(page);
        if (!stop)
            break;
        stops.push(stop);
    }
    return stops;
}
