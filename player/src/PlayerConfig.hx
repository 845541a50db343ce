// What the player reads from zevoconfigsv.xml. The file is written line by line without an XML
// library, and older versions inserted titles and addresses unescaped, so a title holding a quote
// or an ampersand makes it ill-formed: it is read element by element as text, never by an XML
// parser, and a missing or odd value falls back to what an empty profile would have written.

enum DeliveryMode {
    Progressive;
    Pseudo;
    Rtmp;
}

enum EndAction {
    Nothing;
    OpenAddress(address:String);
    CallPageFunction(name:String);
}

enum PlaylistPlace {
    Hidden;
    Right;
    Bottom;
}

enum PlaylistLayout {
    TitleOnly;
    TitleDesc;
    Thumbnails;
}

typedef VideoEntry = {
    title:String,
    desc:String,
    flash:String,
    pic:String,
    captions:Array<CaptionTrack>
}

class PlayerConfig {
    public var modeCode:Int = 0;
    public var delivery:DeliveryMode = Progressive;
    public var bufferSeconds:Float = 3;
    public var autoStart:Bool = false;
    public var autoProgress:Bool = false;
    public var introPicture:Null<String> = null;
    public var outroPicture:Null<String> = null;
    public var bigPlayButton:Bool = true;
    public var volume:Int = 80;
    public var tint:Int = 0x000000;
    public var hideFloatingBar:Bool = false;
    public var totalWidthText:String = "";
    public var totalHeight:Int = 0;
    public var playlistPlace:PlaylistPlace = Hidden;
    public var playlistLayout:PlaylistLayout = TitleOnly;
    public var playlistHeight:Int = 0;
    public var rtmpAddress:Null<String> = null;
    public var live:Bool = false;
    public var embedButton:Bool = false;
    public var baseAddress:String = "";
    public var clickThrough:Null<String> = null;
    public var endAction:EndAction = Nothing;
    public var playlistFontSize:Int = 11;
    public var playlistTextColour:Int = 0xFFFFFF;
    public var videos:Array<VideoEntry> = [];

    public function new() {}

    // The generator writes a multiple of 89 for a single video and of 97 for a playlist; any
    // other number means the file was not written for this player, and it refuses to play.
    public function isSingleVideo():Bool {
        return modeCode > 0 && modeCode % 89 == 0 && modeCode % 97 != 0;
    }

    public function isPlaylist():Bool {
        return modeCode > 0 && modeCode % 97 == 0;
    }

    public function hasValidModeCode():Bool {
        return isSingleVideo() || isPlaylist();
    }

    // `kk` of a playlist at the right is the total width followed directly by the playlist's
    // width ("730250"); the total width itself is the stage width the page gave the movie.
    public function playlistWidth(stageWidth:Int):Int {
        var total = Std.string(stageWidth);
        if (playlistPlace != Right || totalWidthText.length <= total.length
            || totalWidthText.substr(0, total.length) != total)
            return 0;
        var width = Std.parseInt(totalWidthText.substr(total.length));
        return width == null || width < 0 || width >= stageWidth ? 0 : width;
    }

    public static function parse(text:String):PlayerConfig {
        var c = new PlayerConfig();
        var code = Std.parseInt(element(text, "aa"));
        c.modeCode = code == null ? 0 : code;
        c.delivery = switch (element(text, "bb")) {
            case "Pseudo": Pseudo;
            case "Rtmp": Rtmp;
            default: Progressive;
        };
        var buffer = Std.parseFloat(element(text, "cc"));
        c.bufferSeconds = Math.isNaN(buffer) || buffer < 0 ? 3 : buffer;
        c.autoStart = element(text, "dd") == "Yes";
        c.autoProgress = element(text, "ee") == "Yes";
        c.introPicture = optional(element(text, "ff"));
        c.outroPicture = optional(element(text, "gg"));
        c.bigPlayButton = element(text, "hh") != "No";
        c.volume = clampVolume(element(text, "ii"));
        parseTint(c, element(text, "jj"));
        c.totalWidthText = element(text, "kk");
        c.totalHeight = number(element(text, "ll"), 0);
        var visible = element(text, "mm") == "Yes";
        c.playlistLayout = switch (element(text, "nn")) {
            case "Desc": TitleDesc;
            case "Thumb": Thumbnails;
            default: TitleOnly;
        };
        c.playlistPlace = !visible ? Hidden : switch (element(text, "oo")) {
            case "Right": Right;
            case "Bottom": Bottom;
            default: Hidden;
        };
        c.playlistHeight = number(element(text, "pp"), 0);
        c.rtmpAddress = optional(element(text, "qq"));
        c.live = element(text, "rr") == "Yes";
        c.embedButton = element(text, "ss") == "Yes";
        c.baseAddress = element(text, "tt");
        c.clickThrough = optional(element(text, "uu"));
        if (Addresses.opensScript(c.clickThrough))
            c.clickThrough = null;
        c.endAction = parseEndAction(element(text, "vv"));
        c.playlistFontSize = number(element(text, "ab"), 11);
        c.playlistTextColour = element(text, "ac") == "000" ? 0x000000 : 0xFFFFFF;
        c.videos = videoLines(text);
        return c;
    }

    // The text between <name> and </name> inside the config element, entities decoded, trimmed.
    static function element(text:String, name:String):String {
        var open = "<" + name + ">";
        var start = text.indexOf(open);
        if (start < 0)
            return "";
        start += open.length;
        var end = text.indexOf("</" + name + ">", start);
        if (end < 0)
            end = lineEnd(text, start);
        return StringTools.trim(decodeEntities(text.substring(start, end)));
    }

    static function lineEnd(text:String, from:Int):Int {
        var cr = text.indexOf("\r", from);
        var lf = text.indexOf("\n", from);
        if (cr < 0)
            return lf < 0 ? text.length : lf;
        return lf < 0 ? cr : (cr < lf ? cr : lf);
    }

    static function optional(value:String):Null<String> {
        return value == "" || value == "No" ? null : value;
    }

    static function number(value:String, fallback:Int):Int {
        var n = Std.parseInt(value);
        return n == null ? fallback : n;
    }

    static function clampVolume(value:String):Int {
        var n = Std.parseInt(value);
        if (n == null)
            return 80;
        return n < 0 ? 0 : (n > 100 ? 100 : n);
    }

    // "0x" and up to six hexadecimal digits (the user may have typed fewer), then a "y" on a
    // floating-bar skin whose bar hides while the pointer is away.
    static function parseTint(c:PlayerConfig, value:String) {
        var digits = value;
        if (StringTools.startsWith(digits.toLowerCase(), "0x"))
            digits = digits.substr(2);
        var last = digits.length > 0 ? digits.charAt(digits.length - 1) : "";
        if (last == "y" || last == "n") {
            c.hideFloatingBar = last == "y";
            digits = digits.substr(0, digits.length - 1);
        }
        // The program reads a short text pair by pair (red first), a missing pair counting as 0.
        var colour = 0;
        for (pair in 0...3) {
            var part = digits.substr(pair * 2, 2);
            var value = 0;
            for (i in 0...part.length) {
                var d = hexDigit(part.charCodeAt(i));
                if (d < 0)
                    break;
                value = value * 16 + d;
            }
            colour = (colour << 8) | value;
        }
        c.tint = colour;
    }

    static function hexDigit(code:Int):Int {
        if (code >= "0".code && code <= "9".code)
            return code - "0".code;
        if (code >= "a".code && code <= "f".code)
            return code - "a".code + 10;
        if (code >= "A".code && code <= "F".code)
            return code - "A".code + 10;
        return -1;
    }

    static function parseEndAction(value:String):EndAction {
        if (value == "" || value == "No")
            return Nothing;
        var scheme = Addresses.schemeAsBrowsersRead(value);
        if (scheme == "javascript:") {
            var at = value.toLowerCase().indexOf(":");
            var name = StringTools.trim(value.substr(at + 1));
            var paren = name.indexOf("(");
            if (paren >= 0)
                name = name.substr(0, paren);
            return isScriptName(name) ? CallPageFunction(name) : Nothing;
        }
        return Addresses.opensScript(value) ? Nothing : OpenAddress(value);
    }

    // Only a plain function name reaches the page, never script text.
    static function isScriptName(name:String):Bool {
        if (name.length == 0)
            return false;
        for (i in 0...name.length) {
            var ch = name.charCodeAt(i);
            var letter = (ch >= "a".code && ch <= "z".code) || (ch >= "A".code && ch <= "Z".code)
                || ch == "_".code || ch == "$".code;
            if (!letter && !(i > 0 && ch >= "0".code && ch <= "9".code))
                return false;
        }
        return true;
    }

    static final ATTRIBUTES = ["title", "desc", "v1", "v2", "v3", "pic", "cc"];

    // Each video line is "<video" attributes "/>", the attributes always in the order of
    // ATTRIBUTES. A title or description may hold quotes and even text looking like another
    // attribute, the addresses after it cannot, so the line is taken apart from its end.
    static function videoLines(text:String):Array<VideoEntry> {
        var videos = [];
        var files = text.indexOf("<files>");
        var pos = files < 0 ? 0 : files;
        while (true) {
            var start = text.indexOf("<video", pos);
            if (start < 0)
                break;
            var end = lineEnd(text, start);
            var line = StringTools.rtrim(text.substring(start + "<video".length, end));
            if (StringTools.endsWith(line, "/>"))
                line = line.substr(0, line.length - 2);
            var values = attributes(line);
            videos.push({
                title: values.get("title"),
                desc: values.get("desc"),
                flash: StringTools.trim(values.get("v1")),
                pic: StringTools.trim(values.get("pic")),
                captions: CaptionTrack.listOf(values.get("cc"))
            });
            pos = end;
        }
        return videos;
    }

    static function attributes(line:String):Map<String, String> {
        var values = new Map<String, String>();
        for (name in ATTRIBUTES)
            values.set(name, "");
        var rest = StringTools.rtrim(line);
        var i = ATTRIBUTES.length;
        while (i-- > 0) {
            var name = ATTRIBUTES[i];
            var marker = " " + name + "=\"";
            var at = rest.lastIndexOf(marker);
            if (at < 0)
                continue;
            var value = rest.substr(at + marker.length);
            if (StringTools.endsWith(value, "\""))
                value = value.substr(0, value.length - 1);
            // `cc` is written escaped, so a quote inside it means the marker was found in an
            // unescaped title of a line that has no `cc`.
            if (name == "cc" && value.indexOf("\"") >= 0)
                continue;
            values.set(name, decodeEntities(value));
            rest = StringTools.rtrim(rest.substr(0, at));
        }
        return values;
    }

    // The named and numeric references the generator writes; an ampersand that starts none of
    // them is an ampersand of the text.
    public static function decodeEntities(text:String):String {
        if (text.indexOf("&") < 0)
            return text;
        var out = new StringBuf();
        var i = 0;
        while (i < text.length) {
            var ch = text.charAt(i);
            var semi = ch == "&" ? text.indexOf(";", i) : -1;
            if (semi > i && semi - i <= 10) {
                var name = text.substring(i + 1, semi);
                var decoded = entity(name);
                if (decoded != null) {
                    out.add(decoded);
                    i = semi + 1;
                    continue;
                }
            }
            out.add(ch);
            i++;
        }
        return out.toString();
    }

    static function entity(name:String):Null<String> {
        switch (name) {
            case "amp": return "&";
            case "lt": return "<";
            case "gt": return ">";
            case "quot": return "\"";
            case "apos": return "'";
        }
        if (name.length < 2 || name.charAt(0) != "#")
            return null;
        var code:Null<Int> = null;
        if (name.charAt(1) == "x" || name.charAt(1) == "X") {
            code = 0;
            for (i in 2...name.length) {
                var d = hexDigit(name.charCodeAt(i));
                if (d < 0)
                    return null;
                code = code * 16 + d;
            }
            if (name.length == 2)
                return null;
        } else {
            for (i in 1...name.length) {
                var ch = name.charCodeAt(i);
                if (ch < "0".code || ch > "9".code)
                    return null;
            }
            code = Std.parseInt(name.substr(1));
        }
        if (code == null || code <= 0 || code > 0x10FFFF)
            return null;
        var buf = new StringBuf();
        buf.addChar(code);
        return buf.toString();
    }
}
