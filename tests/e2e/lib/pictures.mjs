// Whether a picture plays, judged the same way in every engine: by its pixels changing, since a
// clock (currentTime) runs even where no decoder draws a frame.

// Runs in the page: a hash of the video element's current frame, with its size and time, or null
// while it has no frame.
export function videoPicture(selector) {
    const video = document.querySelector(selector);
    if (!video || video.videoWidth === 0)
        return null;
    const canvas = document.createElement('canvas');
    canvas.width = video.videoWidth;
    canvas.height = video.videoHeight;
    const context = canvas.getContext('2d');
    context.drawImage(video, 0, 0);
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 0;
    for (let i = 0; i < data.length; i += 4)
        hash = (hash * 31 + data[i] + data[i + 1] * 7 + data[i + 2] * 13) >>> 0;
    return {hash, width: video.videoWidth, time: video.currentTime, muted: video.muted,
            paused: video.paused, src: video.currentSrc};
}

// Runs in the page: a hash of the emulator's canvas in `region` (stage coordinates), whether its
// error panel shows, or null before its canvas exists.
export function emulatorPicture(region) {
    const player = document.querySelector('ruffle-embed, ruffle-object');
    const canvas = player?.shadowRoot?.querySelector('canvas');
    const context = canvas?.getContext('2d');
    if (!context)
        return null;
    const panic = player.shadowRoot.querySelector('#panic');
    const scale = canvas.width / canvas.clientWidth;
    const data = context.getImageData(
        Math.round(region.x * scale), Math.round(region.y * scale),
        Math.round(region.width * scale), Math.round(region.height * scale)).data;
    let hash = 0;
    for (let i = 0; i < data.length; i += 4)
        hash = (hash * 31 + data[i] + data[i + 1] * 7 + data[i + 2] * 13) >>> 0;
    return {hash, panic: Boolean(panic) && getComputedStyle(panic).display !== 'none'};
}

// Waits for `probe(arg)` to give a picture, then for it to change `changes` times; returns the
// pictures seen, first to last. Throws when the picture stands still for `timeout` ms.
export async function waitForPlayingPicture(tab, probe, arg, {changes = 2, timeout = 15_000} = {}) {
    const seen = [await tab.waitFor(probe, arg, {timeout, message: 'a picture'})];
    let deadline = Date.now() + timeout;
    while (seen.length <= changes) {
        const picture = await tab.evaluate(probe, arg);
        if (picture && picture.hash !== seen.at(-1).hash) {
            seen.push(picture);
            deadline = Date.now() + timeout;
        } else if (Date.now() > deadline) {
            throw new Error(`the picture stood still for ${timeout} ms after ${seen.length - 1} ` +
                            `changes: ${JSON.stringify(picture)}`);
        } else {
            await new Promise((done) => setTimeout(done, 200));
        }
    }
    return seen;
}
