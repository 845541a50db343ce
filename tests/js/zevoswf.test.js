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

// Loads the library into a fresh page. `navigator` is the fake navigator; `activeXVersion`, when
// given, makes ActiveXObject answer as an installed Flash control of that version.
function page(options) {
    const elements = {
        flashcontent: {id: "flashcontent", innerHTML: ALTERNATIVE},
        other: {id: "other", innerHTML: ALTERNATIVE},
    };
    const sandbox = {
        navigator: options.navigator || {plugins: {}, mimeTypes: {}},
        document: {getElementById: (id) => elements[id] || null},
    };
    if (options.activeXVersion !== undefined) {
        sandbox.ActiveXObject = function (progId) {
            if (progId !== "ShockwaveFlash.ShockwaveFlash" || options.activeXVersion === null)
                throw new Error("Automation server can't create object");
            this.GetVariable = (name) => (name === "$version" ? options.activeXVersion : "");
        };
    }
    sandbox.window = sandbox;
    vm.createContext(sandbox);
    vm.runInContext(SOURCE, sandbox, {filename: LIBRARY});
    return {SWFObject: sandbox.SWFObject, elements: elements};
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
    const match = new RegExp("<" + tag + "((?:\\s+[A-Za-z]+=\"[^\"]*\")*)\\s*/?>").exec(html);
    assert.ok(match, "no well-formed <" + tag + "> in " + html);
    const attributes = {};
    const pattern = /([A-Za-z]+)="([^"]*)"/g;
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

test("without a Flash player the alternative content stays", () => {
    const {SWFObject, elements} = page({});
    assert.strictEqual(generatedPlayer(SWFObject).write("flashcontent"), false);
    assert.strictEqual(elements.flashcontent.innerHTML, ALTERNATIVE);
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
             const {SWFObject, elements} = page({navigator: flashPlugin(description)});
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

test("an old ActiveX control or none leaves the element as it is", () => {
    for (const version of ["WIN 5,0,30,0", null]) {
        const {SWFObject, elements} = page({activeXVersion: version});
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
