// zevoswf.js, the SWFObject 1.x library copied next to every generated page, run in a fake
// browser: a document with placeholder elements, a navigator with or without the Flash plug-in,
// and optionally Internet Explorer's ActiveXObject.
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const fs = require("node:fs");
const path = require("node:path");
const vm = require("node:vm");

const LIBRARY = path.join(__dirname, "..", "..", "support", "zevoswf.js");
const SOURCE = fs.readFileSync(LIBRARY, "utf8");
const ALTERNATIVE = '<p>Get the <a href="#">Flash player</a>.</p>';

function flashPlugin(description) {
    return {plugins: {"Shockwave Flash": {description: description}}, mimeTypes: {}};
}

// An element of the fake page: its attributes, children, and `fire(type)`, which runs the
// listeners of an event; a script's resolved address in `src`.
function fakeElement(tagName, src) {
    const attributes = {};
    const listeners = [];
    return {
        tagName: tagName.toUpperCase(),
        src: src,
        children: [],
        appendChild(child) { this.children.push(child); },
        setAttribute: (name, value) => { attributes[name] = String(value); },
        getAttribute: (name) => (name in attributes ? attributes[name] : null),
        removeAttribute: (name) => { delete attributes[name]; },
        addEventListener: (type, listener) => listeners.push([type, listener]),
        fire: (type) => listeners.filter(([t]) => t === type).forEach(([, l]) => l({type})),
    };
}
const scriptElement = (src) => fakeElement("script", src);

// Something that listens for events: `listen` is its addEventListener, `dispatch(event)` runs
// the listeners of the event's type.
function listenerList() {
    const listeners = [];
    return {
        listen: (type, listener, capture) => listeners.push({type, listener, capture}),
        dispatch: (event) => listeners.filter(({type}) => type === event.type)
                                 .forEach(({listener}) => listener(event)),
        count: () => listeners.length,
    };
}

// Loads the library into a fresh page. `navigator` is the fake navigator; `activeXVersion`, when
// given, makes ActiveXObject answer as an installed Flash control of that version.
// `webAssembly: false` is a browser too old to run the emulator. `holds` lists the elements
// inside the "flashcontent" placeholder besides its text ("video", "script"). `scripts` are the
// addresses of the page's script elements parsed so far, the library's own last;
// `currentScript` the address document.currentScript gives (none when absent). `rufflePlayer`
// is what the page put into window.RufflePlayer; `protocol` that of the page's address.
function page(options) {
    const holds = options.holds || [];
    // An <embed> is there while the element's markup holds one.
    const inside = (tags) => function (tag) {
        const embeds = tag.toLowerCase() === "embed" ? (this.innerHTML.match(/<embed /g) || []) : [];
        return tags.filter((name) => name === tag.toLowerCase()).concat(embeds);
    };
    const elements = {
        flashcontent: {id: "flashcontent", innerHTML: ALTERNATIVE, getElementsByTagName: inside(holds)},
        other: {id: "other", innerHTML: ALTERNATIVE, getElementsByTagName: inside([])},
    };
    const scripts = (options.scripts || ["http://example.com/v/zevoswf.js"]).map(scriptElement);
    const timers = [];
    const styles = [];
    const head = {
        appendChild: (element) => (element.tagName === "STYLE" ? styles : scripts).push(element),
    };
    const windowEvents = listenerList();
    const documentEvents = listenerList();
    const document = {
        getElementById: (id) => elements[id] || null,
        getElementsByTagName: (tag) =>
            ({script: scripts, style: styles, head: [head]})[tag.toLowerCase()] || [],
        createElement: (tag) => fakeElement(tag, ""),
        createTextNode: (text) => ({text}),
        addEventListener: documentEvents.listen,
        currentScript: options.currentScript ? scriptElement(options.currentScript) : null,
    };
    const sandbox = {
        navigator: options.navigator || {plugins: {}, mimeTypes: {}},
        document: document,
        location: {protocol: options.protocol || "http:"},
        setTimeout: (callback, ms) => timers.push({callback, ms}),
        addEventListener: windowEvents.listen,
    };
    if (options.webAssembly === false)
        sandbox.WebAssembly = undefined;
    if (options.rufflePlayer)
        sandbox.RufflePlayer = options.rufflePlayer;
    if (options.activeXVersion !== undefined) {
        sandbox.ActiveXObject = function (progId) {
            if (progId !== "ShockwaveFlash.ShockwaveFlash" || options.activeXVersion === null)
                throw new Error("Automation server can't create object");
            this.GetVariable = (name) => (name === "$version" ? options.activeXVersion : "");
        };
    }
    sandbox.window = sandbox;
    vm.createContext(sandbox);
    const before = scripts.length;
    vm.runInContext(SOURCE, sandbox, {filename: LIBRARY});
    // The addresses of the emulator scripts the library added to the page.
    const emulatorScripts = () => scripts.slice(before).map((script) => script.src);
    // What would happen next: the emulator's script fails to load, or time passes.
    const failEmulatorScript = () => scripts.slice(before).forEach((script) => script.fire("error"));
    const runTimers = () => timers.splice(0).forEach(({callback}) => callback());
    // An event as it reaches the window and then the document, capturing; true when a listener
    // stopped it there.
    const dispatch = (fields) => {
        let stopped = false;
        const event = {...fields, stopImmediatePropagation: () => { stopped = true; }};
        windowEvents.dispatch(event);
        if (!stopped)
            documentEvents.dispatch(event);
        return stopped;
    };
    const listeners = () => windowEvents.count() + documentEvents.count();
    return {SWFObject: sandbox.SWFObject, elements, emulatorScripts, failEmulatorScript, runTimers,
            timers, window: sandbox, styles, dispatch, listeners};
}

// The player the generated embed script creates (one SWFObject, "loc" and five parameters).
function generatedPlayer(SWFObject) {
    const so = new SWFObject("http://example.com/v/Skin-30-dark.swf?", "zevosva0732", "480",
                             "300", "6", "#000000");
    so.addVariable("loc", "http://example.com/v/");
    so.addParam("bgcolor", "#000000");
    so.addParam("quality", "high");
    so.addParam("menu", "false");
    so.addParam("allowFullScreen", "true");
    so.addParam("allowScriptAccess", "always");
    return so;
}

function decodeEntities(text) {
    return text.replace(/&quot;/g, '"').replace(/&#39;/g, "'").replace(/&lt;/g, "<")
        .replace(/&gt;/g, ">").replace(/&amp;/g, "&");
}

// The attributes of the first `tag` in `html`, decoded as a browser would. Fails on markup a
// browser would read differently (a stray quote ends a value early and leaves junk behind).
function tagAttributes(html, tag) {
    const match = new RegExp("<" + tag + "((?:\\s+[A-Za-z-]+=\"[^\"]*\")*)\\s*/?>").exec(html);
    assert.ok(match, "no well-formed <" + tag + "> in " + html);
    const attributes = {};
    const pattern = /([A-Za-z-]+)="([^"]*)"/g;
    let pair;
    while ((pair = pattern.exec(match[1])) !== null)
        attributes[pair[1]] = decodeEntities(pair[2]);
    return attributes;
}

function objectParams(html) {
    const params = {};
    const pattern = /<param name="([^"]*)" value="([^"]*)" \/>/g;
    let pair;
    while ((pair = pattern.exec(html)) !== null)
        params[decodeEntities(pair[1])] = decodeEntities(pair[2]);
    return params;
}

const EMULATOR = "http://example.com/v/ruffle/ruffle.js";
// What every movie's element carries for the keyboard and screen readers, without a title.
const ACCESSIBLE = {tabindex: "0", role: "application", "aria-label": "Video player",
                    "data-zevo-player": ""};
const absentCases = [
    // [case, page options, movie written, emulator loaded]
    ["a note only: the emulator plays the movie", {}, true, true],
    ["a note only, no WebAssembly: the note stays", {webAssembly: false}, false, false],
    ["a page opened from the disk: the note stays",
     {protocol: "file:", scripts: ["file:///home/ann/vidlark/temp/zevoswf.js"]}, false, false],
    ["an HTML5 video inside: it stays", {holds: ["video"]}, false, false],
    ["the HTML5 script inside, its video not yet added: it stays", {holds: ["script"]}, false, false],
    ["a plug-in too old for the movie: the emulator plays it",
     {navigator: flashPlugin("Shockwave Flash 5.0 r42")}, true, true],
    ["an ActiveX control too old, an old browser: the note stays",
     {activeXVersion: "WIN 5,0,30,0", webAssembly: false}, false, false],
    ["Internet Explorer without Flash: the note stays", {activeXVersion: null, webAssembly: false},
     false, false],
];
for (const [name, options, written, emulator] of absentCases) {
    test(`no usable Flash player, ${name}`, () => {
        const {SWFObject, elements, emulatorScripts} = page(options);
        assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), written);
        if (written)
            assert.match(elements.flashcontent.innerHTML, /^<embed /);
        else
            assert.strictEqual(elements.flashcontent.innerHTML, ALTERNATIVE);
        assert.deepStrictEqual(emulatorScripts(), emulator ? [EMULATOR] : []);
        assert.strictEqual(elements.other.innerHTML, ALTERNATIVE);
    });
}

test("a real plug-in plays the movie itself, even beside an HTML5 video", () => {
    for (const holds of [[], ["video"], ["script"]]) {
        const {SWFObject, elements, emulatorScripts, window} =
            page({navigator: flashPlugin("Shockwave Flash 10.0 r45"), holds});
        assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
        assert.match(elements.flashcontent.innerHTML, /^<embed /);
        assert.deepStrictEqual(emulatorScripts(), []);
        assert.strictEqual(window.RufflePlayer, undefined);
    }
});

test("the emulator gets the same embed markup a plug-in gets", () => {
    const withPlugin = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    const emulated = page({});
    generatedPlayer(withPlugin.SWFObject).write("flashcontent");
    generatedPlayer(emulated.SWFObject).write("flashcontent");
    assert.strictEqual(emulated.elements.flashcontent.innerHTML,
                       withPlugin.elements.flashcontent.innerHTML);
});

const addressCases = [
    // [case, page options, emulator address]
    ["beside the library on the web server", {}, EMULATOR],
    ["a query and fragment of the library's address are not part of the folder",
     {scripts: ["http://127.0.0.1:8080/zevoswf.js?v=2#top"]}, "http://127.0.0.1:8080/ruffle/ruffle.js"],
    ["the last script parsed is the running library",
     {scripts: ["http://cdn.example.net/jquery.min.js", "http://example.com/a/b/zevoswf.js"]},
     "http://example.com/a/b/ruffle/ruffle.js"],
    ["document.currentScript names the library where the browser has it",
     {scripts: ["http://example.com/v/zevoswf.js", "http://other.example.org/later.js"],
      currentScript: "http://example.com/v/zevoswf.js"},
     EMULATOR],
    ["a library written into the page itself: beside the page", {scripts: [""]}, "ruffle/ruffle.js"],
];
for (const [name, options, address] of addressCases) {
    test(`emulator address: ${name}`, () => {
        const {SWFObject, emulatorScripts} = page(options);
        assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
        assert.deepStrictEqual(emulatorScripts(), [address]);
    });
}

const configCases = [
    // [case, window.RufflePlayer before, config after]
    ["none set by the page", undefined,
     {preferredRenderer: "canvas", splashScreen: false, autoplay: "on", unmuteOverlay: "hidden",
      favorFlash: false}],
    ["the page's own settings win, the rest are added",
     {config: {preferredRenderer: "webgl", autoplay: "auto", letterbox: "off"}},
     {preferredRenderer: "webgl", autoplay: "auto", letterbox: "off", splashScreen: false,
      unmuteOverlay: "hidden", favorFlash: false}],
    ["a setting the page turned off stays off", {config: {splashScreen: true, favorFlash: true}},
     {splashScreen: true, favorFlash: true, preferredRenderer: "canvas", autoplay: "on",
      unmuteOverlay: "hidden"}],
];
for (const [name, before, after] of configCases) {
    test(`emulator settings: ${name}`, () => {
        const {SWFObject, window} = page({rufflePlayer: before});
        generatedPlayer(SWFObject).write("flashcontent");
        // The object is made in the page's realm; compare its plain contents.
        assert.deepStrictEqual(JSON.parse(JSON.stringify(window.RufflePlayer.config)), after);
    });
}

test("two players on one page load the emulator once", () => {
    const {SWFObject, elements, emulatorScripts} = page({});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
    assert.strictEqual(generatedPlayer(SWFObject).write(elements.other), true);
    assert.match(elements.other.innerHTML, /^<embed /);
    assert.deepStrictEqual(emulatorScripts(), [EMULATOR]);
});

// The browser's placeholder for a missing plug-in is all a bare <embed> shows: where the emulator
// does not run, the page's own note comes back.
const startCases = [
    // [case, what happens after write(), the note is back]
    ["the emulator's script cannot be loaded", ({failEmulatorScript}) => failEmulatorScript(), true],
    ["the emulator has not taken the movie over in time", ({runTimers}) => runTimers(), true],
    ["the emulator took the movie over in time", ({elements, runTimers}) => {
        elements.flashcontent.innerHTML = "<ruffle-embed></ruffle-embed>";
        runTimers();
    }, false],
];
for (const [name, next, noteBack] of startCases) {
    test(`emulator start: ${name}`, () => {
        const fake = page({});
        assert.strictEqual(generatedPlayer(fake.SWFObject).write("flashcontent"), true);
        assert.match(fake.elements.flashcontent.innerHTML, /^<embed /);
        assert.ok(fake.timers.every(({ms}) => ms >= 2000 && ms <= 10000), "a few seconds");
        next(fake);
        assert.strictEqual(fake.elements.flashcontent.innerHTML === ALTERNATIVE, noteBack);
    });
}

test("a player written after the emulator's script failed gets its note back at once", () => {
    const fake = page({});
    generatedPlayer(fake.SWFObject).write("flashcontent");
    fake.failEmulatorScript();
    generatedPlayer(fake.SWFObject).write(fake.elements.other);
    assert.strictEqual(fake.elements.other.innerHTML, ALTERNATIVE);
    assert.deepStrictEqual(fake.emulatorScripts(), [EMULATOR]);
});

test("an emulator the page started already is not loaded again", () => {
    const running = {config: {}, newest: () => null};
    const {SWFObject, elements, emulatorScripts} = page({rufflePlayer: running});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
    assert.match(elements.flashcontent.innerHTML, /^<embed /);
    assert.deepStrictEqual(emulatorScripts(), []);
});

test("a plug-in of a high enough version gets the embed markup", () => {
    const {SWFObject, elements} = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
    const html = elements.flashcontent.innerHTML;
    assert.deepStrictEqual(tagAttributes(html, "embed"), {
        type: "application/x-shockwave-flash",
        src: "http://example.com/v/Skin-30-dark.swf?",
        width: "480",
        height: "300",
        id: "zevosva0732",
        name: "zevosva0732",
        bgcolor: "#000000",
        quality: "high",
        menu: "false",
        allowFullScreen: "true",
        allowScriptAccess: "always",
        flashvars: "loc=http%3A%2F%2Fexample.com%2Fv%2F",
        ...ACCESSIBLE,
    });
    assert.strictEqual(elements.other.innerHTML, ALTERNATIVE);
});

const versionCases = [
    // [plug-in description, required version, written]
    ["Shockwave Flash 32.0 r0", "6", true],
    ["Shockwave Flash 6.0 r21", "6", true],
    ["Shockwave Flash 5.0 r42", "6", false],
    ["Shockwave Flash 9.0 r47", "9.0.115", false],
    ["Shockwave Flash 9.0 r124", "9.0.115", true],
    ["Shockwave Flash 10.1 r53", "10.2", false],
    ["Shockwave Flash 11.2 d202", "10.2", true],
    ["Shockwave Flash", "6", false],
];
for (const [description, required, written] of versionCases) {
    test(`plug-in "${description}", Flash ${required} required: ${written ? "written" : "untouched"}`,
         () => {
             // Without WebAssembly the plug-in alone decides.
             const {SWFObject, elements} =
                 page({navigator: flashPlugin(description), webAssembly: false});
             const so = new SWFObject("a.swf", "movie", "320", "240", required, "#ffffff");
             assert.strictEqual(so.write("flashcontent"), written);
             assert.strictEqual(elements.flashcontent.innerHTML !== ALTERNATIVE, written);
         });
}

test("the plug-in is also found through its MIME type", () => {
    const navigator = {
        plugins: {},
        mimeTypes: {
            "application/x-shockwave-flash": {enabledPlugin: {description: "Shockwave Flash 8.0 r24"}},
        },
    };
    const {SWFObject, elements} = page({navigator: navigator});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
    assert.match(elements.flashcontent.innerHTML, /^<embed /);
});

test("values with quotes and markup stay inside their attributes", () => {
    const {SWFObject, elements} = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    const so = new SWFObject('a "quoted" name.swf', "id'1", "480", "300", "6", "#000000");
    so.addParam("wmode", '"><script>alert(1)</script>');
    so.addVariable("title", 'Say "hi" & <go>');
    so.addVariable("two words", "a=b");
    assert.strictEqual(so.write("flashcontent"), true);
    const html = elements.flashcontent.innerHTML;
    assert.ok(!html.includes("<script"), html);
    const attributes = tagAttributes(html, "embed");
    assert.strictEqual(attributes.src, 'a "quoted" name.swf');
    assert.strictEqual(attributes.id, "id'1");
    assert.strictEqual(attributes.wmode, '"><script>alert(1)</script>');
    assert.strictEqual(attributes.flashvars,
                       "title=Say%20%22hi%22%20%26%20%3Cgo%3E&two%20words=a%3Db");
});

test("Internet Explorer's ActiveX control gets object markup with params", () => {
    const {SWFObject, elements} = page({activeXVersion: "WIN 10,0,32,18"});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), true);
    const html = elements.flashcontent.innerHTML;
    assert.deepStrictEqual(tagAttributes(html, "object"), {
        id: "zevosva0732",
        classid: "clsid:D27CDB6E-AE6D-11cf-96B8-444553540000",
        width: "480",
        height: "300",
        ...ACCESSIBLE,
    });
    assert.deepStrictEqual(objectParams(html), {
        movie: "http://example.com/v/Skin-30-dark.swf?",
        bgcolor: "#000000",
        quality: "high",
        menu: "false",
        allowFullScreen: "true",
        allowScriptAccess: "always",
        flashvars: "loc=http%3A%2F%2Fexample.com%2Fv%2F",
    });
    assert.ok(html.endsWith("</object>"));
});

// The movie's element as a keyboard and screen-reader user meets it, whoever plays it.
const PLAYERS = [
    // [player, page options, element]
    ["a plug-in", {navigator: flashPlugin("Shockwave Flash 10.0 r45")}, "embed"],
    ["the ActiveX control", {activeXVersion: "WIN 10,0,32,18"}, "object"],
    ["the emulator", {}, "embed"],
];
const titleCases = [
    // [title the page set, accessible name]
    [undefined, "Video player"],
    ["Our summer trip", "Our summer trip"],
    ["  ", "Video player"],
    [' Say "hi" & <go> ', 'Say "hi" & <go>'],
];
for (const [name, options, tag] of PLAYERS) {
    test(`${name}: the movie is a named tab stop for the keyboard`, () => {
        for (const [title, label] of titleCases) {
            const {SWFObject, elements} = page(options);
            const so = generatedPlayer(SWFObject);
            if (title !== undefined)
                so.setAttribute("title", title);
            assert.strictEqual(so.write("flashcontent"), true);
            const attributes = tagAttributes(elements.flashcontent.innerHTML, tag);
            assert.deepStrictEqual(
                [attributes.tabindex, attributes.role, attributes["aria-label"]],
                ["0", "application", label], `title ${JSON.stringify(title)}`);
        }
    });
}

test("the focus ring's style is added once, with a movie, for both ways of ringing", () => {
    for (const [name, options] of PLAYERS) {
        const {SWFObject, elements, styles} = page(options);
        generatedPlayer(SWFObject).write("flashcontent");
        generatedPlayer(SWFObject).write(elements.other);
        assert.strictEqual(styles.length, 1, name);
        const css = styles[0].children.map((node) => node.text).join("");
        assert.match(css, /^\[data-zevo-player\]:focus-visible\{outline:3px solid [^}]+\}/, name);
        assert.match(css, /\}\[data-zevo-player\]\[data-zevo-focus-ring\]\{outline:3px solid [^}]+\}$/,
                     name);
    }
    const {SWFObject, styles} = page({webAssembly: false});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), false);
    assert.strictEqual(styles.length, 0, "no movie, no style");
});

// The emulator's element: `shadowRoot.activeElement` is its part that has the focus.
function emulatorElement(innerFocusVisible) {
    const element = fakeElement("ruffle-embed", "");
    element.setAttribute("data-zevo-player", "");
    const inner = innerFocusVisible === null ? {} : {matches: (query) => {
        assert.strictEqual(query, ":focus-visible");
        return innerFocusVisible;
    }};
    element.shadowRoot = {activeElement: inner};
    return element;
}

const keyCases = [
    // [key press, on the movie, the emulator does not see it]
    [{key: "Tab"}, true, true],
    [{key: "Tab", shiftKey: true}, true, true],
    [{keyCode: 9}, true, true],
    [{key: " "}, true, false],
    [{key: "ArrowRight"}, true, false],
    [{key: "Tab"}, false, false],
];
test("Tab and Shift+Tab go on past the movie; its other keys reach the emulator", () => {
    const fake = page({});
    generatedPlayer(fake.SWFObject).write("flashcontent");
    generatedPlayer(fake.SWFObject).write(fake.elements.other);
    for (const [key, onMovie, stopped] of keyCases) {
        const target = onMovie ? emulatorElement(true) : fakeElement("a", "");
        assert.strictEqual(fake.dispatch({type: "keydown", target, ...key}), stopped,
                           JSON.stringify([key, onMovie]));
    }
});

test("a real plug-in keeps its keys to itself: the page watches none", () => {
    const fake = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    generatedPlayer(fake.SWFObject).write("flashcontent");
    assert.strictEqual(fake.listeners(), 0);
});

const ringCases = [
    // [case, the visitor's last input, what the emulator's focused part answers to
    // :focus-visible, ringed]
    ["the keyboard put the focus into the movie", ["keydown"], true, true],
    ["the browser judges a focus no ring", ["keydown"], false, false],
    ["a click, the emulator moving the focus itself", ["pointerdown", "mousedown"], true, false],
    ["a touch", ["touchstart"], true, false],
    ["a key after a click", ["mousedown", "keydown"], true, true],
    ["no input yet: the browser's judgement", [], true, true],
    ["a browser without :focus-visible", ["keydown"], null, true],
];
for (const [name, inputs, innerFocusVisible, ringed] of ringCases) {
    test(`the emulator's movie rings its focus: ${name}`, () => {
        const fake = page({});
        generatedPlayer(fake.SWFObject).write("flashcontent");
        for (const type of inputs)
            fake.dispatch({type, target: fakeElement("div", ""), key: "a"});
        const element = emulatorElement(innerFocusVisible);
        fake.dispatch({type: "focusin", target: element});
        assert.strictEqual(element.getAttribute("data-zevo-focus-ring") !== null, ringed);
        fake.dispatch({type: "focusout", target: element});
        assert.strictEqual(element.getAttribute("data-zevo-focus-ring"), null);
    });
}

const FLUID = "display:block;max-width:100%;height:auto;aspect-ratio:480 / 300";
const styledCases = [
    // [player, page options, element that carries the style]
    ["a plug-in", {navigator: flashPlugin("Shockwave Flash 10.0 r45")}, "embed"],
    ["the ActiveX control", {activeXVersion: "WIN 10,0,32,18"}, "object"],
    ["the emulator", {}, "embed"],
];
for (const [name, options, tag] of styledCases) {
    test(`a style set on the player reaches the element ${name} plays`, () => {
        const {SWFObject, elements} = page(options);
        const so = generatedPlayer(SWFObject);
        so.setAttribute("style", FLUID);
        assert.strictEqual(so.write("flashcontent"), true);
        const attributes = tagAttributes(elements.flashcontent.innerHTML, tag);
        assert.strictEqual(attributes.style, FLUID);
        assert.strictEqual(attributes.width, "480");
        if (tag === "object")
            assert.ok(!("style" in objectParams(elements.flashcontent.innerHTML)));
    });
}

test("an old ActiveX control or none leaves the element as it is", () => {
    for (const version of ["WIN 5,0,30,0", null]) {
        const {SWFObject, elements} = page({activeXVersion: version, webAssembly: false});
        assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), false);
        assert.strictEqual(elements.flashcontent.innerHTML, ALTERNATIVE);
    }
});

test("write takes an element as well as an id, and refuses a missing one", () => {
    const {SWFObject, elements} = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    assert.strictEqual(generatedPlayer(SWFObject).write("nosuchelement"), false);
    assert.strictEqual(generatedPlayer(SWFObject).write(elements.other), true);
    assert.match(elements.other.innerHTML, /^<embed /);
    assert.strictEqual(elements.flashcontent.innerHTML, ALTERNATIVE);
});

test("attributes and parameters set again replace the earlier value", () => {
    const {SWFObject, elements} = page({navigator: flashPlugin("Shockwave Flash 10.0 r45")});
    const so = generatedPlayer(SWFObject);
    so.setAttribute("width", "640");
    so.addParam("quality", "low");
    so.addVariable("loc", "b");
    assert.strictEqual(so.getAttribute("width"), "640");
    assert.strictEqual(so.getParam("quality"), "low");
    assert.strictEqual(so.getVariable("loc"), "b");
    so.write("flashcontent");
    const attributes = tagAttributes(elements.flashcontent.innerHTML, "embed");
    assert.strictEqual(attributes.width, "640");
    assert.strictEqual(attributes.quality, "low");
    assert.strictEqual(attributes.flashvars, "loc=b");
    assert.strictEqual((elements.flashcontent.innerHTML.match(/quality=/g) || []).length, 1);
});

test("the library uses only syntax that old browsers parse", () => {
    const code = SOURCE.replace(/\/\*[\s\S]*?\*\//g, "").replace(/\/\/[^\n]*/g, "");
    for (const modern of [/=>/, /\blet\s/, /\bconst\s/, /`/, /\bclass\s/, /\.\.\./]) {
        assert.ok(!modern.test(code), "found " + modern + " in zevoswf.js");
    }
});
