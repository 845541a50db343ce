// Where the player finds its files. The page hands it `loc`, the folder of the configuration
// file; the emulator resolves a relative NetStream address against the movie and a relative
// URLLoader address against the page, so every address is made absolute here from one base.
class Addresses {
    static final SCHEME = ~/^[a-zA-Z][a-zA-Z0-9+.\-]*:/;

    // The folder every relative address of the configuration is read against: `loc` itself
    // (resolved against the page when it is relative), the page's own folder when it is empty.
    public static function base(loc:String, page:String):String {
        var trimmed = loc == null ? "" : StringTools.trim(loc);
        if (trimmed == "")
            return folderOf(page);
        var resolved = resolve(trimmed, page);
        return StringTools.endsWith(resolved, "/") ? resolved : resolved + "/";
    }

    public static function resolve(address:String, base:String):String {
        if (address == null || address == "")
            return folderOf(base);
        if (SCHEME.match(address) && !isWindowsPath(address))
            return address;
        if (base == null || base == "")
            return address;
        if (StringTools.startsWith(address, "//"))
            return schemeOf(base) + address;
        if (StringTools.startsWith(address, "/"))
            return originOf(base) + address;
        return folderOf(base) + address;
    }

    // `tt` of a local test holds the application folder as a file system path ("C:\...\temp\"),
    // which no browser request can use.
    public static function isWindowsPath(address:String):Bool {
        return ~/^[a-zA-Z]:[\\\/]/.match(address) || StringTools.startsWith(address, "\\\\");
    }

    public static function isWebAddress(address:String):Bool {
        var lower = address.toLowerCase();
        return StringTools.startsWith(lower, "http://") || StringTools.startsWith(lower, "https://");
    }

    // Whether a browser would run the address as script (or as a document it makes up) rather
    // than load a page: its scheme as the browser reads it, without case, after dropping the
    // blanks and C0 controls around it and every tab and line break inside.
    public static function opensScript(address:String):Bool {
        var scheme = schemeAsBrowsersRead(address);
        return scheme == "javascript:" || scheme == "vbscript:" || scheme == "data:";
    }

    // The address's scheme ("javascript:") as a browser's address parser finds it, lower case;
    // empty when it has none.
    public static function schemeAsBrowsersRead(address:String):String {
        if (address == null)
            return "";
        var kept = new StringBuf();
        for (i in 0...address.length) {
            var ch = address.charCodeAt(i);
            if (ch != 0x09 && ch != 0x0A && ch != 0x0D)
                kept.addChar(ch);
        }
        var text = kept.toString();
        var first = 0;
        while (first < text.length && text.charCodeAt(first) <= 0x20)
            first++;
        return schemeOf(text.substr(first)).toLowerCase();
    }

    public static function folderOf(address:String):String {
        if (address == null)
            return "";
        var cut = address.length;
        for (mark in ["?", "#"]) {
            var at = address.indexOf(mark);
            if (at >= 0 && at < cut)
                cut = at;
        }
        var path = address.substr(0, cut);
        var origin = originOf(path);
        var slash = path.lastIndexOf("/");
        if (origin != "" && slash < origin.length)
            return origin + "/";
        return slash < 0 ? "" : path.substr(0, slash + 1);
    }

    static function schemeOf(address:String):String {
        return SCHEME.match(address) ? SCHEME.matched(0) : "";
    }

    // "http://host:port" of an address, empty for one without "//" after its scheme.
    static function originOf(address:String):String {
        var scheme = schemeOf(address);
        if (scheme == "" || address.substr(scheme.length, 2) != "//")
            return "";
        var slash = address.indexOf("/", scheme.length + 2);
        return slash < 0 ? address : address.substr(0, slash);
    }

    // The seek script beside the configuration serves the file from a byte offset on.
    public static function seekAddress(base:String, file:String, start:Float):String {
        return base + "zevoseek.php?file=" + StringTools.urlEncode(file) + "&start="
            + Std.string(Math.floor(start));
    }
}
