/*
 * zevoswf.js - puts a Flash movie into a page element.
 *
 * The generated embed scripts call it with the SWFObject 1.x interface:
 *
 *     var so = new SWFObject("player.swf", "movieid", "480", "300", "6", "#000000");
 *     so.addVariable("loc", "http://example.com/videos/");
 *     so.addParam("allowFullScreen", "true");
 *     so.write("flashcontent");
 *
 * write() replaces the element's content with the movie when the visitor has a Flash player of
 * at least the requested version. Without one, an element that holds the page's HTML5 player
 * keeps it and write() returns false. An element that holds only a "get Flash" note gets the
 * movie all the same, played by the Flash emulator from the folder "ruffle/" beside this file,
 * as long as the browser can run it (WebAssembly, a page not opened from the disk); otherwise the
 * note stays. The note also comes back when the emulator's script cannot be loaded or the
 * emulator has not taken the movie over within a few seconds: a bare <embed> would only show the
 * browser's placeholder for a missing plug-in.
 *
 * The movie's element is a tab stop named for screen readers ("Video player", or the title set
 * with setAttribute("title", ...)); under the emulator it shows a focus ring when the keyboard
 * brings the focus, and Tab goes on past it to the rest of the page.
 *
 * Pages load this file with a plain, possibly document.write'd, <script> tag and some of them
 * still run in very old browsers, so it is written in ES3-era syntax: var and function only.
 */
var SWFObject = (function (global) {
    var FLASH_MIME_TYPE = "application/x-shockwave-flash";
    var ACTIVEX_CLASS_ID = "clsid:D27CDB6E-AE6D-11cf-96B8-444553540000";

    // "6", "9.0.115", "Shockwave Flash 10.1 r53", "WIN 10,0,32,18" -> [major, minor, revision]
    function parseVersion(text) {
        var numbers = String(text).match(/\d+/g) || [];
        var version = [0, 0, 0];
        for (var i = 0; i < 3 && i < numbers.length; i++) {
            version[i] = parseInt(numbers[i], 10);
        }
        return version;
    }

    function versionAtLeast(installed, required) {
        for (var i = 0; i < 3; i++) {
            if (installed[i] != required[i]) {
                return installed[i] > required[i];
            }
        }
        return true;
    }

    function pluginFromNavigator(nav) {
        if (!nav) {
            return null;
        }
        var plugin = nav.plugins ? nav.plugins["Shockwave Flash"] : null;
        if (!plugin && nav.mimeTypes) {
            var type = nav.mimeTypes[FLASH_MIME_TYPE];
            plugin = type ? type.enabledPlugin : null;
        }
        if (!plugin || !plugin.description) {
            return null;
        }
        // The description reads "Shockwave Flash 32.0 r0": skip the words before the number.
        var numbers = String(plugin.description).replace(/^[^\d]*/, "");
        return numbers ? parseVersion(numbers) : null;
    }

    function hasActiveX() {
        // Newer Internet Explorers hide the constructor from typeof but still answer to "in".
        return typeof global.ActiveXObject != "undefined" || "ActiveXObject" in global;
    }

    function activeXVersion() {
        if (!hasActiveX()) {
            return null;
        }
        try {
            var control = new global.ActiveXObject("ShockwaveFlash.ShockwaveFlash");
            return parseVersion(control.GetVariable("$version"));
        } catch (e) {
            // Flash 6 players refuse the unversioned name or the $version query.
        }
        try {
            new global.ActiveXObject("ShockwaveFlash.ShockwaveFlash.6");
            return [6, 0, 0];
        } catch (e) {
            return null;
        }
    }

    // The folder this library was loaded from, read while it runs: pages load it with a plain or
    // a document.write'd script tag, so the running script is the last one parsed so far.
    var libraryFolder = (function () {
        var doc = global.document;
        if (!doc) {
            return "";
        }
        var script = doc.currentScript;
        if (!script && doc.getElementsByTagName) {
            var scripts = doc.getElementsByTagName("script");
            script = scripts.length ? scripts[scripts.length - 1] : null;
        }
        var src = script && script.src ? String(script.src) : "";
        return src.replace(/[?#].*$/, "").replace(/[^\/]*$/, "");
    })();

    // What the emulator needs to play on any machine. Its default renderer falls back to a notice
    // on machines without a GPU that swallows the visitor's first click, so it draws on a plain
    // canvas. The player shows its own intro picture and play button, so the emulator's splash
    // and play overlay stay away; a browser that holds back sound until the visitor acts gets it
    // at the first click, without the emulator's unmute notice over the video. A Flash player
    // too old for the movie must not keep the emulator from taking the movie over.
    var EMULATOR_DEFAULTS = [
        ["preferredRenderer", "canvas"],
        ["splashScreen", false],
        ["autoplay", "on"],
        ["unmuteOverlay", "hidden"],
        ["favorFlash", false]
    ];

    // Browsers do not let the emulator fetch its WebAssembly for a page opened from the disk: there
    // the note says more than the emulator's error panel would.
    function canRunEmulator() {
        var location = global.location;
        if (location && location.protocol == "file:") {
            return false;
        }
        return typeof global.WebAssembly == "object" && global.WebAssembly !== null;
    }

    // The generated pages put their HTML5 player inside the element: the <video> itself, or the
    // script that adds it once the player's configuration has arrived.
    function holdsHtml5Player(element) {
        if (!element.getElementsByTagName) {
            return false;
        }
        return element.getElementsByTagName("video").length > 0 ||
            element.getElementsByTagName("script").length > 0;
    }

    // Settings the page made itself win; the emulator reads them when it starts.
    function configureEmulator() {
        var api = global.RufflePlayer;
        if (!api) {
            api = global.RufflePlayer = {};
        }
        if (!api.config) {
            api.config = {};
        }
        for (var i = 0; i < EMULATOR_DEFAULTS.length; i++) {
            if (!(EMULATOR_DEFAULTS[i][0] in api.config)) {
                api.config[EMULATOR_DEFAULTS[i][0]] = EMULATOR_DEFAULTS[i][1];
            }
        }
    }

    // Once per page, even when several players (or several copies of this library) ask: the
    // emulator takes over every movie of the page, also those written after it started.
    function loadEmulator(doc) {
        var api = global.RufflePlayer;
        if (api && typeof api.newest == "function") {
            return;  // the page or a browser extension started one already
        }
        if (emulatorScript(doc)) {
            return;
        }
        configureEmulator();
        var script = doc.createElement("script");
        script.type = "text/javascript";
        script.src = libraryFolder + "ruffle/ruffle.js";
        script.setAttribute("data-zevo-emulator", "ruffle");
        // Players written after a failure put their note back at once.
        if (script.addEventListener) {
            script.addEventListener("error", function () {
                script.setAttribute("data-zevo-emulator", "failed");
            }, false);
        }
        var parent = doc.getElementsByTagName("head")[0] || doc.body || doc.documentElement;
        parent.appendChild(script);
    }

    // How long the emulator may take from write() to taking the movie over.
    var EMULATOR_START_MS = 5000;

    // The emulator's script element, added by this library (or another copy of it) to the page.
    function emulatorScript(doc) {
        return findElement(doc, "script", "data-zevo-emulator");
    }

    // Puts `note` back into `element` when the emulator's script fails or the emulator leaves the
    // movie's <embed> where it is (it replaces the element with its own once it runs).
    function watchEmulator(doc, element, note) {
        var done = false;
        function restore() {
            if (!done && element.getElementsByTagName("embed").length > 0) {
                element.innerHTML = note;
            }
            done = true;
        }
        var script = emulatorScript(doc);
        if (script && script.getAttribute("data-zevo-emulator") == "failed") {
            restore();
            return;
        }
        if (script && script.addEventListener) {
            script.addEventListener("error", restore, false);
        }
        if (global.setTimeout) {
            global.setTimeout(restore, EMULATOR_START_MS);
        }
    }

    var DEFAULT_LABEL = "Video player";
    // Marks the movies this library wrote; the emulator copies it onto its own element.
    var PLAYER_MARK = "data-zevo-player";

    // Set on a movie while the keyboard has put the focus into it (see watchKeyboard).
    var RING_MARK = "data-zevo-focus-ring";

    // The focus ring of a movie, two lines so it shows on light and dark pages around light and
    // dark pictures; only when the keyboard moved the focus, as for the page's own controls. Two
    // rules, since a browser that does not know :focus-visible drops the rule it is in.
    var RING = "{outline:3px solid #0b57d0;outline-offset:2px;box-shadow:0 0 0 2px #fff}";
    var FOCUS_STYLE = "[" + PLAYER_MARK + "]:focus-visible" + RING + "[" + PLAYER_MARK + "][" +
        RING_MARK + "]" + RING;

    function isPlayer(element) {
        return Boolean(element && element.getAttribute && element.getAttribute(PLAYER_MARK) !== null);
    }

    // Whether `element`'s focus gets the ring. The emulator's element hands its focus to a part
    // inside it, and moves it there itself on a click, which the browser then rings as a focus
    // a script moved: a pointer's press says no ring; otherwise the browser's own judgement
    // of the part that has the focus.
    var pointerLast = false;

    function focusVisible(element) {
        if (pointerLast) {
            return false;
        }
        var inner = (element.shadowRoot && element.shadowRoot.activeElement) || element;
        try {
            return inner.matches(":focus-visible");
        } catch (e) {
            return true;  // a browser without :focus-visible rings every focus
        }
    }

    var keyboardWatched = false;

    // Tab and Shift+Tab go on past a movie: the emulator keeps them for the movie's own tab
    // order, and a keyboard user could never leave the player. Every other key is the movie's.
    function watchKeyboard(doc) {
        if (keyboardWatched || !global.addEventListener || !doc.addEventListener) {
            return;
        }
        keyboardWatched = true;
        // On the window and capturing, ahead of the emulator's own listeners.
        global.addEventListener("keydown", function (event) {
            pointerLast = false;
            if ((event.key == "Tab" || event.keyCode == 9) && isPlayer(event.target)) {
                event.stopImmediatePropagation();
            }
        }, true);
        var pressed = function () {
            pointerLast = true;
        };
        global.addEventListener("mousedown", pressed, true);
        global.addEventListener("pointerdown", pressed, true);
        global.addEventListener("touchstart", pressed, true);
        doc.addEventListener("focusin", function (event) {
            if (isPlayer(event.target) && focusVisible(event.target)) {
                event.target.setAttribute(RING_MARK, "");
            }
        }, true);
        doc.addEventListener("focusout", function (event) {
            if (isPlayer(event.target)) {
                event.target.removeAttribute(RING_MARK);
            }
        }, true);
    }

    // Once per page, however many players (or copies of this library) it has.
    function addFocusStyle(doc) {
        if (!doc || !doc.createElement || findElement(doc, "style", "data-zevo-focus")) {
            return;
        }
        var style = doc.createElement("style");
        style.setAttribute("data-zevo-focus", "");
        style.setAttribute("type", "text/css");
        var parent = doc.getElementsByTagName("head")[0] || doc.body || doc.documentElement;
        parent.appendChild(style);
        if (style.styleSheet) {
            style.styleSheet.cssText = FOCUS_STYLE;  // Internet Explorer 8 and older
        } else {
            style.appendChild(doc.createTextNode(FOCUS_STYLE));
        }
    }

    // The first `tag` element of the page with the attribute `name`.
    function findElement(doc, tag, name) {
        var elements = doc.getElementsByTagName(tag);
        for (var i = 0; i < elements.length; i++) {
            if (elements[i].getAttribute && elements[i].getAttribute(name) !== null) {
                return elements[i];
            }
        }
        return null;
    }

    // The visitor's Flash player: its version and whether it is the ActiveX control.
    function installedPlayer() {
        var version = pluginFromNavigator(global.navigator);
        if (version) {
            return {version: version, activeX: false};
        }
        version = activeXVersion();
        return version ? {version: version, activeX: true} : null;
    }

    function escapeAttribute(value) {
        return String(value)
            .replace(/&/g, "&amp;")
            .replace(/"/g, "&quot;")
            .replace(/'/g, "&#39;")
            .replace(/</g, "&lt;")
            .replace(/>/g, "&gt;");
    }

    function attribute(name, value) {
        return " " + name + '="' + escapeAttribute(value) + '"';
    }

    // An ordered list of name/value pairs; setting a name again replaces its value in place.
    function PairList() {
        this.pairs = [];
    }
    PairList.prototype.indexOf = function (name) {
        for (var i = 0; i < this.pairs.length; i++) {
            if (this.pairs[i][0] == name) {
                return i;
            }
        }
        return -1;
    };
    PairList.prototype.set = function (name, value) {
        var index = this.indexOf(name);
        if (index < 0) {
            this.pairs.push([name, value]);
        } else {
            this.pairs[index][1] = value;
        }
    };
    PairList.prototype.get = function (name) {
        var index = this.indexOf(name);
        return index < 0 ? undefined : this.pairs[index][1];
    };

    function SWFObject(swf, id, width, height, version, bgcolor) {
        this.attributes = new PairList();
        this.params = new PairList();
        this.variables = new PairList();
        this.setAttribute("swf", swf);
        this.setAttribute("id", id);
        this.setAttribute("width", width);
        this.setAttribute("height", height);
        this.setAttribute("version", version === undefined ? "0" : version);
        if (bgcolor) {
            this.addParam("bgcolor", bgcolor);
        }
        this.addParam("quality", "high");
    }

    SWFObject.prototype.setAttribute = function (name, value) {
        this.attributes.set(name, value);
    };
    SWFObject.prototype.getAttribute = function (name) {
        return this.attributes.get(name);
    };
    SWFObject.prototype.addParam = function (name, value) {
        this.params.set(name, value);
    };
    SWFObject.prototype.getParam = function (name) {
        return this.params.get(name);
    };
    SWFObject.prototype.addVariable = function (name, value) {
        this.variables.set(name, value);
    };
    SWFObject.prototype.getVariable = function (name) {
        return this.variables.get(name);
    };

    // The player decodes flashvars like a query string, so each name and value is URL-encoded:
    // an address holding "&" or "=" reaches the movie whole.
    SWFObject.prototype.getVariablePairs = function () {
        var encoded = [];
        for (var i = 0; i < this.variables.pairs.length; i++) {
            var pair = this.variables.pairs[i];
            encoded.push(encodeURIComponent(pair[0]) + "=" + encodeURIComponent(pair[1]));
        }
        return encoded;
    };

    // The "flashvars" parameter: one added directly with addParam comes first.
    SWFObject.prototype.flashvars = function () {
        var parts = this.getVariablePairs();
        var direct = this.params.get("flashvars");
        if (direct !== undefined && direct !== "") {
            parts.unshift(direct);
        }
        return parts.join("&");
    };

    // A style set with setAttribute (the fluid size of the generated pages) goes on the element of
    // either kind, so the movie's box follows the page whether the plug-in, the ActiveX control or
    // the emulator plays it.
    SWFObject.prototype.styleAttribute = function () {
        var style = this.getAttribute("style");
        return style ? attribute("style", style) : "";
    };

    // The movie is a control of the page for the keyboard and for screen readers: a tab stop,
    // named after the video where the page gave a title (setAttribute("title", ...)), with the
    // role of an application, which has screen readers hand the movie its keys.
    SWFObject.prototype.accessibleAttributes = function () {
        var title = String(this.getAttribute("title") || "").replace(/^\s+|\s+$/g, "");
        return attribute("tabindex", "0") + attribute("role", "application") +
            attribute("aria-label", title || DEFAULT_LABEL) + attribute(PLAYER_MARK, "");
    };

    SWFObject.prototype.embedMarkup = function () {
        var html = "<embed" + attribute("type", FLASH_MIME_TYPE) +
            attribute("src", this.getAttribute("swf")) +
            attribute("width", this.getAttribute("width")) +
            attribute("height", this.getAttribute("height")) +
            attribute("id", this.getAttribute("id")) + attribute("name", this.getAttribute("id")) +
            this.styleAttribute() + this.accessibleAttributes();
        for (var i = 0; i < this.params.pairs.length; i++) {
            if (this.params.pairs[i][0] != "flashvars") {
                html += attribute(this.params.pairs[i][0], this.params.pairs[i][1]);
            }
        }
        var vars = this.flashvars();
        if (vars) {
            html += attribute("flashvars", vars);
        }
        return html + " />";
    };

    SWFObject.prototype.objectMarkup = function () {
        var html = "<object" + attribute("id", this.getAttribute("id")) +
            attribute("classid", ACTIVEX_CLASS_ID) +
            attribute("width", this.getAttribute("width")) +
            attribute("height", this.getAttribute("height")) + this.styleAttribute() +
            this.accessibleAttributes() + ">";
        html += "<param" + attribute("name", "movie") + attribute("value", this.getAttribute("swf")) +
            " />";
        for (var i = 0; i < this.params.pairs.length; i++) {
            var pair = this.params.pairs[i];
            if (pair[0] != "flashvars") {
                html += "<param" + attribute("name", pair[0]) + attribute("value", pair[1]) + " />";
            }
        }
        var vars = this.flashvars();
        if (vars) {
            html += "<param" + attribute("name", "flashvars") + attribute("value", vars) + " />";
        }
        return html + "</object>";
    };

    // The markup for the visitor's kind of player; the plug-in form when none is installed.
    SWFObject.prototype.getSWFHTML = function () {
        var player = installedPlayer();
        return player && player.activeX ? this.objectMarkup() : this.embedMarkup();
    };

    SWFObject.prototype.write = function (target) {
        var doc = global.document;
        var element = typeof target == "string" ? (doc ? doc.getElementById(target) : null) : target;
        if (!element) {
            return false;
        }
        var player = installedPlayer();
        if (player && versionAtLeast(player.version, parseVersion(this.getAttribute("version")))) {
            element.innerHTML = player.activeX ? this.objectMarkup() : this.embedMarkup();
            addFocusStyle(doc);
            return true;
        }
        if (holdsHtml5Player(element) || !canRunEmulator() || !doc || !doc.createElement) {
            return false;
        }
        var note = element.innerHTML;
        element.innerHTML = this.embedMarkup();
        addFocusStyle(doc);
        watchKeyboard(doc);
        loadEmulator(doc);
        watchEmulator(doc, element, note);
        return true;
    };

    // The installed player's version as [major, minor, revision], [0, 0, 0] without one.
    SWFObject.getPlayerVersion = function () {
        var player = installedPlayer();
        return player ? player.version : [0, 0, 0];
    };

    return SWFObject;
})(this);
