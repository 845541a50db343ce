import flash.external.ExternalInterface;

// What the movie asks of the page it sits in. Every call is optional: a page that denies
// script access, or a stand-alone player, simply answers nothing.
class Page {
    public static function address():Null<String> {
        var href = call("function(){return String(window.location.href);}");
        return href == null ? null : Std.string(href);
    }

    // Runs a page function by its plain name (the end-of-video script of the generated page).
    public static function callFunction(name:String) {
        call(name);
    }

    // The emulator plays video sound at its own volume and ignores the stream's sound
    // transform; its page element offers that volume. A real Flash player's element has no
    // such property, so this changes nothing there. The page sets it after this call has
    // returned: the emulator is busy running the movie while the movie calls out, and a
    // change asked of it then is refused.
    public static function setEmulatorVolume(level:Float) {
        var id = objectId();
        if (id == null)
            return;
        call("function(n,v){var e=document.getElementsByName(n)[0]||document.getElementById(n);"
            + "if(e&&('volume' in e)){window.setTimeout(function(){e.volume=v;},0);}}", id, level);
    }

    // Names the movie's element for screen readers after the video that plays, when it has a
    // title; otherwise the name the page gave it stays ("Video player" from zevoswf.js).
    public static function nameElement(title:Null<String>) {
        var id = objectId();
        if (id == null || title == null || StringTools.trim(title) == "")
            return;
        call("function(n,t){var e=document.getElementsByName(n)[0]||document.getElementById(n);"
            + "if(e&&e.setAttribute){window.setTimeout(function(){e.setAttribute('aria-label',t);},0);}}",
            id, StringTools.trim(title));
    }

    // The page may ask the movie's element for the caption text on show ("" for none) by
    // calling its shownCaption(): the browser tests read captions this way, since the emulator
    // draws text into its canvas. A page without script access simply cannot ask.
    public static function offerShownCaption(shown:Void->String) {
        offer("shownCaption", shown);
    }

    // The page may ask the movie's element for the player's state through playerState(): an
    // object of `playing`, `time` and `duration` in seconds, `volume` (0 to 1), `muted` and
    // `captions` (whether they show). The browser tests judge the player's keys by it.
    public static function offerPlayerState(state:Void->Dynamic) {
        offer("playerState", state);
    }

    static function offer(name:String, answer:Dynamic) {
        try {
            if (ExternalInterface.available)
                ExternalInterface.addCallback(name, answer);
        } catch (e:Dynamic) {}
    }

    static function objectId():Null<String> {
        try {
            return ExternalInterface.available ? ExternalInterface.objectID : null;
        } catch (e:Dynamic) {
            return null;
        }
    }

    static function call(name:String, ...args:Dynamic):Dynamic {
        try {
            if (!ExternalInterface.available)
                return null;
            return switch (args.length) {
                case 0: ExternalInterface.call(name);
                case 1: ExternalInterface.call(name, args[0]);
                default: ExternalInterface.call(name, args[0], args[1]);
            };
        } catch (e:Dynamic) {
            return null;
        }
    }
}
